#include "platform/text.h"
#include "sale/sale.h"

namespace vorsa {

ParsedCode InterpretaCodice(std::string_view text, const Catalogue& cat) {
    using T = ParsedCode::Kind;
    if (text.size() == 1) {
        if (text[0] == '+') return {T::Piu};
        if (text[0] == '-') return {T::Meno};
        return {};
    }
    if (text.size() == 2) {
        const bool cifra = text[1] >= '0' && text[1] <= '9';
        const int d = cifra ? text[1] - '0' : -1;
        if (text[0] == 'F')
            return (d >= 1 && d <= kNumeroAzioni) ? ParsedCode{T::Funzione, d}
                                                  : ParsedCode{T::Errore};
        if (text[0] == 'S') return cifra ? ParsedCode{T::Moneta, d} : ParsedCode{T::Errore};
        return {};
    }
    if (text.size() == 3) {
        // Compared as text, like the codes themselves: "1a0" lies in no section.
        for (int s = 0; s < 3; ++s) {
            const Sezione& sez = cat.sezioni[s];
            const std::string low = std::to_string(sez.codeBase + 1);
            const std::string high = std::to_string(sez.codeBase + sez.size);
            if (low.size() == 3 && high.size() == 3 && std::string_view(low) <= text &&
                text <= std::string_view(high))
                return {T::Articolo, s};
        }
        return {T::Errore};
    }
    return {};
}

char FiltroCodice(char ch, bool boxEmpty) {
    switch (ch) {
        case 8:
        case 9:
        case '+':
        case '-':
        case '1':
        case '2':
        case '3':
            return ch;
        case 'F':
            return boxEmpty ? 'F' : 0;
        case 'f':
            return boxEmpty ? 'F' : 0;
        default:
            if (ch == '0' || (ch >= '4' && ch <= '9')) return boxEmpty ? 0 : ch;
            return 0;
    }
}

void Sale::MostraErrore() {
    view_.catalogo.ShowFeedback(kRiscontroErrore);
}

void Sale::CambioCodice(const std::string& text) {
    view_.conto.HideFeedback();
    const ParsedCode c = InterpretaCodice(text, cat_);
    using T = ParsedCode::Kind;
    switch (c.tipo) {
        case T::Nessuno:
            return;
        case T::Piu:
        case T::Meno: {
            const int sel = view_.conto.ListSelected();
            if (sel < 0) {
                MostraErrore();
                view_.conto.StartInputTimer();
                return;
            }
            if (c.tipo == T::Meno) EseguiAzione(kAzioneStorno);
            view_.conto.SetCodice(std::to_string(view_.conto.ListCode(sel)));
            return;
        }
        case T::Funzione:
            EseguiAzione(c.valore);
            view_.conto.StartInputTimer();
            return;
        case T::Moneta: {
            std::string pagato = view_.pagamento.Pagato();
            if (pagato.empty()) pagato = "0";
            view_.pagamento.SetPagato(AggiungiMoneta(pagato, opt_.gMonete[c.valore]));
            view_.conto.StartInputTimer();
            return;
        }
        case T::Articolo:
            AggiungiArticolo(c.valore, text);
            view_.conto.StartInputTimer();
            return;
        case T::Errore:
            if (text.size() == 2 && text[0] == 'S' && view_.pagamento.Pagato().empty())
                view_.pagamento.SetPagato("0");
            MostraErrore();
            view_.conto.StartInputTimer();
            return;
    }
}

void Sale::TastoGiu(KeyKind tasto, int fNumber, bool modifier) {
    if (modifier) return;
    switch (tasto) {
        case KeyKind::F:
            if (fNumber >= 1 && fNumber <= kNumeroAzioni) EseguiAzione(fNumber);
            return;
        case KeyKind::Su: {
            const int sel = view_.conto.ListSelected();
            if (sel >= 1) view_.conto.SelectLine(sel - 1);
            return;
        }
        case KeyKind::Giu: {
            const int sel = view_.conto.ListSelected();
            if (sel < view_.conto.ListCount() - 1) view_.conto.SelectLine(sel + 1);
            return;
        }
        case KeyKind::Sinistra:
            view_.conto.SetCodice("-");
            return;
        case KeyKind::Destra:
            view_.conto.SetCodice("+");
            return;
        case KeyKind::Altro:
            return;
    }
}

std::string Sale::CodiceArticolo(int section, int position) const {
    return std::to_string(cat_.sezioni[section].codeBase + position);
}

}  // namespace vorsa
