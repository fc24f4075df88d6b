#pragma once
// The record formats that several features share, one home each: the sales statistics of an
// article, the archived receipt with its trailer, and the list of voided receipts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "platform/system.h"

namespace vorsa {

/// STATISTICHE/<code>: "qty;amount", e.g. "12;34,5".
struct Statistica {
    std::int32_t quantity = 0;
    Currency amount;
};
/// Nullopt for anything but a whole count (in 32 bits) and an amount.
std::optional<Statistica> LeggiStatistica(std::string_view record, char separatore);
std::string TestoStatistica(const Statistica& s, char separatore);

/// SCONTRINI/<n>: "code-qty-amount;" per line, then the trailer
/// "dd/mm/yyyy hh:mm:ss-total-table-identity-0-0-0".
struct ArchivedReceipt {
    struct Item {
        int code = 0;
        int quantity = 0;
        Currency amount;
    };
    std::vector<Item> voci;
    std::string data;
    Currency totale;
    std::string tavolo;
    std::string identita;
    bool valido = false;
};
/// The record of a receipt. A separator in the table text becomes a blank, so it cannot split
/// the record.
std::string TestoScontrino(const std::vector<ArchivedReceipt::Item>& voci, const DateTime& data,
                           Currency totale, std::string_view tavolo, std::string_view identita,
                           char separatore);
/// Fields of an archived receipt, read from the trailer's ends so that a "-" in the table text
/// does not shift them.
ArchivedReceipt LeggiScontrino(std::string_view record, char separatore);

/// SCONTRINI/STORNI: voided receipt numbers joined by the separator, "*" before those that may
/// still be taken back: "12;15;*31".
struct Storno {
    std::int32_t numero = 0;
    bool revocabile = false;
};
std::vector<Storno> LeggiStorni(std::string_view list, char separatore);
std::string TestoStorni(const std::vector<Storno>& storni, char separatore);
/// What a commit leaves of the list: every void made for good (all stars removed).
std::string StorniDefinitivi(std::string_view list);

}  // namespace vorsa
