#pragma once
// Number and date texts of the printouts, Italian style (Windows-1252).
#include <string>

#include "platform/currency.h"
#include "platform/system.h"

namespace vorsa {

/// "#,##0": 1234 -> "1.234", -5 -> "-5".
std::string FormatIntero(long long n);
/// "#,##0.00" (also written "##,##0.00" and "#,#0.00"): 1234,5 -> "1.234,50".
std::string FormatImporto(Currency c);
/// Italian weekday name: 0 -> "domenica", 5 -> "venerdì".
std::string NomeGiorno(int weekday);
/// "dddd dd/MM/yyyy": "domenica 06/12/2026".
std::string FormatData(const DateTime& t);
/// "hh:mm", 24-hour clock: "19:45".
std::string FormatOra(const DateTime& t);
/// Receipt header: "Domenica 06/12/2026 - ore 19:45" (first letter in upper case).
std::string FormatDataOraScontrino(const DateTime& t);
/// Kitchen order sheet: "domenica 06/12/2026 ore 19:45".
std::string FormatDataOraComanda(const DateTime& t);

}  // namespace vorsa
