#pragma once
// The print list: the lines of a committed bill as the printouts read them, with the bill's
// number, date, table and comment, so that a reprint shows the printed bill.
#include <cstdint>
#include <string>
#include <vector>

#include "data/catalogue.h"
#include "platform/currency.h"
#include "platform/system.h"
#include "printing/print_seam.h"

namespace vorsa {

struct PrintEntry {
    std::int16_t articleIndex = -1;
    std::int16_t section = -1;
    std::int16_t quantity = 0;
    Currency lineAmount;
    bool separate = false;
    std::int16_t group = 0;  // advanced-group number, 0 for none
    std::string name;
    Currency unitPrice;
};

struct PrintList {
    std::vector<PrintEntry> entries;  // catalogue order, quantities above 0
    std::int32_t numero = 0;
    std::string provvisorio;
    DateTime data;
    std::string tavolo;
    std::string commento;
    /// The number as printed, without the prefix: "1.234", or "P12" for a waiting sale.
    std::string NumeroTesto() const;
    /// What the barcode carries: "1234" or "P12".
    std::string NumeroCodice() const;
    bool Empty() const { return entries.empty(); }
};

/// Builds the list from the snapshot of the committed bill. The unit price of an article with
/// a variable price is the amount charged per piece (its catalogue price is reset after the
/// commit).
PrintList BuildPrintList(const LastBill& conto, const Catalogue& cat);

/// The receipt number of a printout as printed and as its barcode carries it.
std::string NumeroTesto(std::int32_t numero, const std::string& provvisorio);
std::string NumeroCodice(std::int32_t numero, const std::string& provvisorio);

/// Name of the advanced group with this number; empty when there is none.
std::string NomeGruppo(const Catalogue& cat, int group);
/// True when some group of the catalogue carries this number.
bool EsisteGruppo(const Catalogue& cat, int group);

}  // namespace vorsa
