#include "printing/print_format.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "platform/text.h"

namespace vorsa {

std::string FormatIntero(long long n) {
    const bool negative = n < 0;
    unsigned long long v =
        negative ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    std::string digits = std::to_string(v);
    std::string out;
    const std::size_t len = digits.size();
    for (std::size_t i = 0; i < len; ++i) {
        if (i > 0 && (len - i) % 3 == 0) out += '.';
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

std::string FormatImporto(Currency c) {
    return FormatCurrency(c, true);
}

std::string NomeGiorno(int weekday) {
    static constexpr std::array<std::string_view, 7> kGiorni = {
        "domenica",   "luned\xEC",  "marted\xEC", "mercoled\xEC",
        "gioved\xEC", "venerd\xEC", "sabato"};
    return std::string(kGiorni[static_cast<std::size_t>(((weekday % 7) + 7) % 7)]);
}

namespace {

std::string DueCifre(int n) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d", n);
    return b;
}

}  // namespace

std::string FormatData(const DateTime& t) {
    return NomeGiorno(t.weekday) + " " + DueCifre(t.day) + "/" + DueCifre(t.month) + "/" +
           std::to_string(t.year);
}

std::string FormatOra(const DateTime& t) {
    return DueCifre(t.hour) + ":" + DueCifre(t.minute);
}

std::string FormatDataOraScontrino(const DateTime& t) {
    std::string s = FormatData(t) + " - ore " + FormatOra(t);
    return ToUpper(s.substr(0, 1)) + s.substr(1);
}

std::string FormatDataOraComanda(const DateTime& t) {
    return FormatData(t) + " ore " + FormatOra(t);
}

}  // namespace vorsa
