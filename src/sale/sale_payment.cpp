#include "platform/text.h"
#include "sale/sale.h"

namespace vorsa {
namespace {

FilterResult Passa(char key) {
    return {key, std::nullopt};
}
const FilterResult kRifiuta{0, std::nullopt};

}  // namespace

FilterResult FiltroImporto(char key, std::string_view text, int caret) {
    if (key == 8 || key == 9) return Passa(key);
    const auto virgola = text.find(',');
    if (key == ',' || key == '.') {
        if (virgola != std::string_view::npos) return kRifiuta;
        if (text.empty()) return {0, std::string("0,")};
        return Passa(',');
    }
    if (key < '0' || key > '9') return kRifiuta;
    // At most 3 integer digits and 2 decimals: 999,99.
    if (virgola == std::string_view::npos) return text.size() >= 3 ? kRifiuta : Passa(key);
    const bool dopo = caret > static_cast<int>(virgola);
    const std::size_t parte = dopo ? text.size() - virgola - 1 : virgola;
    return parte >= (dopo ? 2u : 3u) ? kRifiuta : Passa(key);
}

bool ImportoDigitabile(std::string_view text) {
    if (text == "?") return true;
    std::string box;
    for (char ch : text) {
        const FilterResult r = FiltroImporto(ch, box, static_cast<int>(box.size()));
        if (r.nuovoTesto)
            box = *r.nuovoTesto;
        else if (r.key == 0)
            return false;
        else
            box += r.key;
    }
    return box == text;
}

std::optional<std::string> CalcolaResto(std::string_view pagato, Currency totale) {
    if (pagato.empty()) return std::nullopt;
    if (pagato == ",") return std::string("0,00");
    const Currency p = ParseCurrency(pagato).value_or(Currency{});
    const Currency resto = (totale != Currency{} && p > totale) ? p - totale : Currency{};
    return FormatCurrency(resto);
}

std::string AggiungiMoneta(std::string_view pagato, Currency moneta) {
    return FormatCurrencyShort(ParseCurrency(pagato).value_or(Currency{}) + moneta);
}

std::string TastoCalcolatrice(std::string_view pagato, int tasto) {
    std::string t(pagato);
    if (tasto >= 1 && tasto <= 9) return t + static_cast<char>('0' + tasto);
    if (tasto == 0) return t.empty() ? std::string("0,") : t + '0';
    if (tasto == 10) {
        if (t.empty()) return "0,";
        return t.find(',') == std::string::npos ? t + ',' : t;
    }
    if (tasto == 11) return {};
    return t;
}

FilterResult Sale::TastoPagato(char key, std::string_view text, int caret) {
    // "F" and "S" start a function or coin code in the code box; the next key completes it.
    if (inAttesaF_) {
        inAttesaF_ = false;
        view_.conto.SetCodice(key == '1' || key == '4' ? std::string("F") + key : std::string());
        return kRifiuta;
    }
    if (inAttesaS_) {
        inAttesaS_ = false;
        view_.conto.SetCodice(key >= '0' && key <= '9' ? std::string("S") + key : std::string());
        return kRifiuta;
    }
    if (key == 'F' || key == 'f') {
        view_.conto.SetCodice("F");
        inAttesaF_ = true;
        return kRifiuta;
    }
    if (key == 'S' || key == 's') {
        view_.conto.SetCodice("S");
        inAttesaS_ = true;
        return kRifiuta;
    }
    return FiltroImporto(key, text, caret);
}

void Sale::CambioPagato(const std::string& text) {
    if (auto resto = CalcolaResto(text, conto_.gTotaleConto)) view_.pagamento.SetResto(*resto);
}

void Sale::ClickMoneta(int n) {
    view_.conto.SetCodice("S" + std::to_string(n));
}

void Sale::ClickCalcolatrice(int tasto) {
    view_.pagamento.SetPagato(TastoCalcolatrice(view_.pagamento.Pagato(), tasto));
}

}  // namespace vorsa
