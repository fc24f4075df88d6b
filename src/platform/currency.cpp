#include "platform/currency.h"

#include <cstdint>
#include <limits>

#include "platform/text.h"

namespace vorsa {
namespace {

constexpr std::uint64_t kMaxMagnitude =
    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::uint64_t Magnitude(std::int64_t raw) {
    // Unsigned negation keeps INT64_MIN well defined.
    return raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
}

std::string GroupThousands(std::string digits) {
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    const std::size_t lead = digits.size() % 3;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (i + 3 - lead) % 3 == 0) out += '.';
        out += digits[i];
    }
    return out;
}

}  // namespace

std::optional<Currency> ParseCurrency(std::string_view text) {
    const std::string t = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    std::uint64_t units = 0;
    bool anyDigit = false;
    for (; i < t.size() && IsDigit(t[i]); ++i) {
        anyDigit = true;
        units = units * 10 + static_cast<std::uint64_t>(t[i] - '0');
        if (units > kMaxMagnitude / Currency::kScale) return std::nullopt;
    }
    std::uint64_t frac = 0;
    int fracDigits = 0;
    int roundDigit = -1;       // the fifth decimal, which decides the rounding
    bool tailNonZero = false;  // any non-zero decimal after the fifth
    if (i < t.size() && (t[i] == ',' || t[i] == '.')) {
        ++i;
        for (; i < t.size() && IsDigit(t[i]); ++i) {
            anyDigit = true;
            const int d = t[i] - '0';
            if (fracDigits < 4) {
                frac = frac * 10 + static_cast<std::uint64_t>(d);
                ++fracDigits;
            } else if (roundDigit < 0) {
                roundDigit = d;
            } else if (d != 0) {
                tailNonZero = true;
            }
        }
    }
    if (i != t.size() || !anyDigit) return std::nullopt;
    for (; fracDigits < 4; ++fracDigits) frac *= 10;

    std::uint64_t magnitude = units * Currency::kScale + frac;
    const bool roundUp =
        roundDigit > 5 || (roundDigit == 5 && (tailNonZero || (magnitude % 2) == 1));
    if (roundUp) ++magnitude;
    if (magnitude > kMaxMagnitude) return std::nullopt;
    const auto signedMagnitude = static_cast<std::int64_t>(magnitude);
    return Currency::FromRaw(negative ? -signedMagnitude : signedMagnitude);
}

std::string FormatCurrencyShort(Currency c) {
    const std::uint64_t m = Magnitude(c.raw);
    std::string out = c.raw < 0 ? "-" : "";
    out += std::to_string(m / Currency::kScale);
    std::uint64_t frac = m % Currency::kScale;
    if (frac != 0) {
        std::string decimals = std::to_string(frac + Currency::kScale).substr(1);
        while (decimals.back() == '0') decimals.pop_back();
        out += ',';
        out += decimals;
    }
    return out;
}

std::string FormatCurrency(Currency c, bool thousands) {
    // Half away from zero: round the magnitude, then put the sign back.
    const std::uint64_t cents = (Magnitude(c.raw) + 50) / 100;
    std::string units = std::to_string(cents / 100);
    if (thousands) units = GroupThousands(std::move(units));
    std::string out = (c.raw < 0 && cents != 0) ? "-" : "";
    out += units;
    out += ',';
    out += std::to_string(cents % 100 + 100).substr(1);
    return out;
}

}  // namespace vorsa
