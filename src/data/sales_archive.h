#pragma once
// What the archive tells beyond the running figures: takings per till (from the identity in
// each receipt's trailer), receipts and takings per hour, and the sold articles as CSV for a
// spreadsheet.
#include <cstdint>
#include <string>
#include <vector>

#include "data/catalogue.h"
#include "platform/currency.h"
#include "platform/system.h"

namespace vorsa {

class SettingsGateway;
struct Options;

/// One till's receipts in the archive. Voided receipts count apart and bring no takings.
struct TillTotal {
    std::string identita;
    std::string nome;  // the station name registered in the lock file; the identity without one
    std::int32_t primo = 0;
    std::int32_t ultimo = 0;
    std::int32_t scontrini = 0;
    std::int32_t stornati = 0;
    Currency incasso;
};

/// Receipts and takings (voided receipts left out) of one hour of one day.
struct SalesHour {
    DateTime ora;  // minutes and seconds 0
    std::int32_t scontrini = 0;
    Currency incasso;
};

struct SalesArchive {
    std::vector<TillTotal> casse;  // in order of their first receipt
    std::vector<SalesHour> ore;    // in time order, hours without sales included
};

/// Reads receipts 1..`ultimo` of the archive and the void list once. A till is named by the
/// name it registered in the lock file (`nomiDaLock`), this till (`identitaPropria`) by
/// `nomeProprio`, any other by its identity.
SalesArchive LeggiArchivio(SettingsGateway& settings, char separatore, std::int32_t ultimo,
                           bool nomiDaLock, const std::string& identitaPropria = {},
                           const std::string& nomeProprio = {});

/// This till's name in the list of tills: its station name in multi-till mode; a single till
/// goes by its receipt prefix when it has one.
std::string NomeCassa(const Options& o);

/// "Cassa1: scontrini 1-57 (57, stornati 2), incasso 1.234,50"; one line per till.
std::vector<std::string> RigheCasse(const std::vector<TillTotal>& casse);

/// The sold articles as CSV: "Codice;Articolo;Pezzi;Importo", decimal comma, UTF-8 with a
/// byte-order mark, CR LF.
std::string CsvVenduto(const Catalogue& cat);

}  // namespace vorsa
