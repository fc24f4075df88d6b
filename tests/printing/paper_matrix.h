#pragma once
// The hard cases for the paper: every receipt mode with summary, pickup tickets and a kitchen
// sheet, on every paper, for a bill of long names, a three-digit quantity and a four-digit total.
#include <array>
#include <string>

#include "print_fixture.h"

namespace vorsa::test {

struct Paper {
    const char* name;
    int formato;       // receipt format code
    const char* roll;  // roll width of "POS pers.", in cm
    int comanda;       // kitchen-order format code
};

inline const std::array<Paper, 4> kPapers = {{
    {"POS 80", 2, "", 5},
    {"POS pers. 4 cm", 4, "4", 4},
    {"A6", 0, "", 2},
    {"A4", 1, "", 0},
}};

/// Fifty characters each: with blanks, without any, and with a blank only near the end.
inline const std::array<std::string, 4> kNomiLunghi = {
    "Panino con salamella, peperoni e cipolla di Tropea",
    "GRIGLIATAMISTADICARNECONPOLENTAEPATATINEFRITTEPER2",
    "Polenta concia con formaggio della valle e burro X",
    "Acquaminerale frizzante in bottiglia da un litro 1",
};

/// The till's settings for a paper and a receipt mode; `printer` gets every job.
inline std::string PaperIni(const Paper& p, int mode, const std::string& printer) {
    const std::string f = std::to_string(p.formato);
    return "[STAMPA]\r\nSTAMPANTE=" + printer + "\r\nFORMATO=" + f + "\r\nLARGHEZZA_POS=" + p.roll +
           "\r\nSCONTRINI_CALCOLACARTA=1\r\nCUMULATIVO=" + std::to_string(mode) +
           "\r\nTITOLO=Sagra della Polenta di Vorsa\r\nTITOLO2=Pro Loco Vorsa - Festa 2026"
           "\r\nPIEDE=Grazie e arrivederci a presto\r\nTKT-RITIRO=1\r\nTKT-RITIRO-GRP=1"
           "\r\nTKT-RITIRO_BARRE=1\r\nRIEPILOGO0=1\r\nRIEPILOGO1=1\r\nSCONTRINI_QTA=0"
           "\r\nTOTALE=1\r\nTOTALE_NO_SINGOLO=0\r\nPREZZI=1\r\nRIDUCI_CARATTERE_RIGA=1\r\n"
           "[STAMPA AVANZATA]\r\nGRUPPI=Cucina centrale della sagra-1;Bar-2\r\n"
           "[COMANDA]\r\nNUMERO=1\r\n[COMANDA1]\r\nNOME=Cucina centrale\r\nABILITATO=1\r\n"
           "STAMPANTE=" +
           printer + "\r\nFORMATO=" + std::to_string(p.comanda) +
           "\r\nSCONTRINI_CALCOLACARTA=1\r\nPRODOTTI=101;102;103;104\r\nOPZ1=1\r\nOPZ2=1\r\n";
}

/// 100 x 1,00 + 1.234,50 + 53,00 + 1,00 = 1.388,50 in 103 pieces, all in one section and one
/// advanced group, sold on a Wednesday (the longest day name) as receipt 1.234.
inline void PaperBill(Banco& b) {
    const std::array<Currency, 4> prezzi = {Currency::FromUnits(1), Currency::FromRaw(12345000),
                                            Currency::FromUnits(53), Currency::FromUnits(1)};
    for (int i = 0; i < 4; ++i) {
        Article& a =
            b.till().cat.gArticoli[static_cast<std::size_t>(b.till().cat.IndiceArticolo(101 + i))];
        a.name = kNomiLunghi[static_cast<std::size_t>(i)];
        a.price = prezzi[static_cast<std::size_t>(i)];
        a.separatePrint = false;
        a.printGroup = 1;
    }
    b.Bill({{101, 100}, {102, 1}, {103, 1}, {104, 1}}, 1234, "12",
           "senza cipolla, ben cotto e con tanta senape per favore");
    const DateTime mercoledi{2026, 12, 9, 16, 1, 0, 3};
    b.till().conto.ultimoConto.data = mercoledi;
    b.cassa.clock.now = mercoledi;
}

}  // namespace vorsa::test
