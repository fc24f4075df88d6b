#pragma once
// What the web pages show of the evening, read from the shared data file: the numbers called
// for pickup, the open kitchen orders and the takings. A refresh reads only the receipts that
// came since the last one, the void list and the marks, so it stays cheap on a long evening.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/catalogue.h"
#include "data/records.h"
#include "platform/text.h"
#include "settings/settings_gateway.h"

namespace vorsa {

/// UTF-8 text as a JSON string literal. `<`, `>` and `&` are escaped too, so that a name can
/// never close a script block or a tag; bytes that are not UTF-8 become U+FFFD.
std::string JsonUtf8(std::string_view utf8);
/// The same for text from the files, which is CP1252.
inline std::string JsonTesto(std::string_view cp1252) {
    return JsonUtf8(Cp1252ToUtf8(cp1252));
}

class WebEvening {
  public:
    WebEvening(SettingsGateway& settings, const Catalogue& cat) : settings_(settings), cat_(cat) {}

    /// Reads what changed since the last call. True when a page would show something new.
    bool Aggiorna();

    /// {"numeri":[{"numero":57,"ora":"21:04"},...]}: the last ten marked ready, newest first.
    std::string JsonNumeri() const;
    /// {"ordini":[{"numero","ora","tavolo","nota","righe":[{"nome","pezzi"}]}]}: the open
    /// kitchen orders, oldest first, with only their kitchen articles.
    std::string JsonCucina() const;
    /// Takings: total, receipts, voids, per till, per hour, the ten best-selling articles.
    std::string JsonIncassi() const;

  private:
    struct ReadReceipt {
        ArchivedReceipt dati;
        std::string record;
        std::string commento;
    };
    void Ricomincia();
    bool LeggiNuovi(std::int32_t ultimo);
    /// The article of `code` when an enabled kitchen-order configuration covers it.
    const Article* ArticoloCucina(int code) const;
    bool Stornato(std::int32_t n) const { return stornati_.count(n) != 0; }

    SettingsGateway& settings_;
    const Catalogue& cat_;
    std::vector<ReadReceipt> scontrini_;  // receipt n at index n - 1
    std::set<std::int32_t> stornati_;
    std::map<std::int32_t, std::string> pronti_;  // number -> when marked
    std::string storni_, prontiTesto_;
};

}  // namespace vorsa
