#pragma once
// Orders marked ready for pickup: PRONTI/<receipt number> = when, in the shared data file, so
// that a restart or another till loses none; tills that do not know the section ignore it.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/system.h"
#include "settings/settings_gateway.h"

namespace vorsa {

enum class ReadyResult { Segnato, GiaPronto, Sconosciuto, Stornato, NonSalvato };

/// Marks receipt `numero` ready in one transaction of the data file: a receipt that is not in
/// the archive, or is voided, is refused; one already marked keeps its first time.
ReadyResult SegnaPronto(SettingsGateway& settings, std::int32_t numero, const DateTime& quando);

/// The receipt number a barcode scanner read off a kitchen slip: digits, perhaps between Code
/// 39's "*" and blanks. Nullopt for anything else (a provisional "P12" has no number yet).
std::optional<std::int32_t> NumeroScansionato(std::string_view codice);

}  // namespace vorsa
