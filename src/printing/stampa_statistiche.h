#pragma once
// The statistics printout on the receipt printer: heading, title, last sale, totals, one block
// per sold article and the closing line.
#include <string>

#include "printing/receipt_layout.h"

namespace vorsa {

/// The panel's captions the printout copies as they are shown.
struct StatisticsTexts {
    std::string ultimaData;  // lbl_stat_ult_ins(0)
    std::string ultimaOra;   // lbl_stat_ult_ins(1)
    std::string totale;      // lbl_totale_incasso
    std::string scontrini;   // lblTotaleScontrini
    std::string stornati;    // lblTotaleScontriniStornati
};

/// Padded with blanks on the left to 7 characters; a longer text stays whole.
std::string Destra7(const std::string& text);

class StampaStatistiche {
  public:
    explicit StampaStatistiche(ReceiptLayout& layout) : layout_(layout) {}
    /// One document on the chosen receipt printer; nothing without a printer.
    void Stampa(const StatisticsTexts& testi);

  private:
    void StampaArticoloStatistica(int index);
    /// Height of the whole report, for the paper length of a roll.
    int Altezza(const StatisticsTexts& testi);
    ReceiptLayout& layout_;
};

}  // namespace vorsa
