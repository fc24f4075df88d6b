#pragma once
// Fixed-point money: value x 10 000 in a signed 64-bit integer, exact in all sums.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorsa {

struct Currency {
    std::int64_t raw = 0;  // units of 1/10 000

    static constexpr std::int64_t kScale = 10000;
    static constexpr Currency FromRaw(std::int64_t r) { return Currency{r}; }
    static constexpr Currency FromUnits(std::int64_t u) { return Currency{u * kScale}; }
    friend constexpr bool operator==(Currency, Currency) = default;
    friend constexpr auto operator<=>(Currency, Currency) = default;
    constexpr Currency operator+(Currency o) const { return {raw + o.raw}; }
    constexpr Currency operator-(Currency o) const { return {raw - o.raw}; }
    constexpr Currency operator*(std::int64_t n) const { return {raw * n}; }
    Currency& operator+=(Currency o) {
        raw += o.raw;
        return *this;
    }
    Currency& operator-=(Currency o) {
        raw -= o.raw;
        return *this;
    }
};

/// Parses money text with a comma or a dot as decimal separator: "2,3" / "2.30" -> 2,3000;
/// "-1" -> -1. Blanks around are ignored; decimals beyond four are rounded half to even.
/// Returns nullopt for anything that is not a number ("", "abc", "1,2,3").
std::optional<Currency> ParseCurrency(std::string_view text);
/// Shortest settings-file form: 2,30 -> "2,3", 10,00 -> "10", -1 -> "-1", 0,05 -> "0,05".
std::string FormatCurrencyShort(Currency c);
/// Display form with two decimals, half away from zero: 2,3 -> "2,30"; with thousands
/// separators 1234,5 -> "1.234,50" ("#,##0.00"), without -> "1234,50" ("#0.00").
std::string FormatCurrency(Currency c, bool thousands = false);

}  // namespace vorsa
