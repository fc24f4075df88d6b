#include "data/records.h"

#include <climits>

#include "platform/text.h"

namespace vorsa {

std::optional<Statistica> LeggiStatistica(std::string_view record, char separatore) {
    const auto campi = Split(record, separatore);
    if (campi.size() != 2 || !IsInteger(campi[0])) return std::nullopt;
    const auto importo = ParseCurrency(campi[1]);
    if (!importo) return std::nullopt;
    const long long q = Val(campi[0]);
    if (q < INT32_MIN || q > INT32_MAX) return std::nullopt;
    return Statistica{static_cast<std::int32_t>(q), *importo};
}

std::string TestoStatistica(const Statistica& s, char separatore) {
    return std::to_string(s.quantity) + separatore + FormatCurrencyShort(s.amount);
}

std::string TestoScontrino(const std::vector<ArchivedReceipt::Item>& voci, const DateTime& data,
                           Currency totale, std::string_view tavolo, std::string_view identita,
                           char separatore) {
    std::string t;
    for (const auto& v : voci)
        t += std::to_string(v.code) + "-" + std::to_string(v.quantity) + "-" +
             FormatCurrencyShort(v.amount) + separatore;
    std::string tav(tavolo);
    for (char& c : tav)
        if (c == separatore) c = ' ';
    t += FormatDateTime(data) + "-" + FormatCurrencyShort(totale) + "-" + tav + "-" +
         std::string(identita) + "-0-0-0";
    return t;
}

ArchivedReceipt LeggiScontrino(std::string_view record, char separatore) {
    ArchivedReceipt s;
    const auto parti = Split(record, separatore);
    for (std::size_t i = 0; i + 1 < parti.size(); ++i) {
        const auto campi = Split(parti[i], '-');
        if (campi.size() != 3 || !IsInteger(campi[0]) || !IsInteger(campi[1])) continue;
        s.voci.push_back({static_cast<int>(Val(campi[0])), static_cast<int>(Val(campi[1])),
                          ParseCurrency(campi[2]).value_or(Currency{})});
    }
    // date-total-table-identity-0-0-0, where only the table may hold further dashes.
    const auto campi = Split(parti.back(), '-');
    if (campi.size() < 7) return s;
    const std::size_t n = campi.size();
    s.data = campi[0];
    s.totale = ParseCurrency(campi[1]).value_or(Currency{});
    s.identita = campi[n - 4];
    for (std::size_t i = 2; i < n - 4; ++i) s.tavolo += (i > 2 ? "-" : "") + campi[i];
    s.valido = campi[n - 3] == "0" && campi[n - 2] == "0" && campi[n - 1] == "0";
    return s;
}

std::vector<Storno> LeggiStorni(std::string_view list, char separatore) {
    std::vector<Storno> out;
    if (Trim(list).empty()) return out;
    for (const std::string& voce : Split(list, separatore)) {
        std::string_view v = voce;
        const bool star = !v.empty() && v.front() == '*';
        if (star) v.remove_prefix(1);
        if (!IsInteger(v)) continue;  // a damaged entry voids nothing
        out.push_back({static_cast<std::int32_t>(Val(v)), star});
    }
    return out;
}

std::string TestoStorni(const std::vector<Storno>& storni, char separatore) {
    std::string t;
    for (const Storno& s : storni) {
        if (!t.empty()) t += separatore;
        if (s.revocabile) t += '*';
        t += std::to_string(s.numero);
    }
    return t;
}

std::string StorniDefinitivi(std::string_view list) {
    return ReplaceAll(list, "*", "");
}

}  // namespace vorsa
