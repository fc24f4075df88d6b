#include <limits>

#include "platform/text.h"
#include "sale/vendita.h"

namespace vorsa {
namespace {

constexpr std::string_view kMt = "MULTIVORSA";
constexpr std::string_view kMtTmp = "MULTIVORSA-TMP";

std::string Importo(Currency amount) {
    // "##0.00" preceded by blanks so that amounts up to 999,99 line up.
    std::string a = FormatCurrency(amount);
    if (amount >= Currency{} && amount <= Currency::FromRaw(99900)) return "  " + a;
    if (amount >= Currency::FromUnits(10) && amount <= Currency::FromRaw(999900)) return " " + a;
    return a;
}

std::string PadLeft(std::string s, std::size_t width) {
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

}  // namespace

std::string RigaConto(const Article& a, bool wide) {
    const std::size_t larga = wide ? 37 : 32;
    const std::size_t corta = wide ? 34 : 30;
    std::string nome = a.name;
    if (nome.size() <= larga) nome.resize(larga, ' ');
    else nome = Left(nome, corta) + "..";
    return PadLeft(std::to_string(a.quantity), wide ? 3 : 2) + "|" + nome + "|" +
           Importo(a.lineTotal);
}

Vendita::Vendita(Till& till, SaleView& view, Prompter& prompter, PrintSeam* print)
    : till_(till), view_(view), prompter_(prompter), print_(print) {}

void Vendita::AggiornaCondiviso(int index, int delta) {
    // Keeps the group-wide count of pieces held in open bills, and this till's share of it
    // for the recovery after a crash.
    Article& a = till_.cat.gArticoli[index];
    auto& st = till_.store;
    const std::string k = std::to_string(index);
    st.BloccaChiave(kMt, k);
    const std::string v = st.LeggiIni(kMt, k, till_.paths.gFileLock, true);
    if (!v.empty()) a.sharedCount = static_cast<std::int16_t>(Val(v));
    a.sharedCount = static_cast<std::int16_t>(a.sharedCount + delta);
    st.ScriviIni(kMt, k, std::to_string(a.sharedCount), till_.paths.gFileLock);
    st.ScriviIni(kMtTmp, k, std::to_string(a.quantity), till_.paths.gFileIni);
    st.SbloccaChiave(kMt, k);
}

void Vendita::StatoDopoPasso(int index, int n, const char* segno) {
    // After a piece was added ("-": stock goes down) or taken off ("+": it goes back).
    const Article& a = till_.cat.gArticoli[index];
    const bool aggiunto = segno[0] == '-';
    int stato = kStatoNormale;
    if (a.pieces != -1 && (aggiunto || a.threshold > 0)) {
        const long long rimasti = static_cast<long long>(a.pieces) - n;
        if (aggiunto && rimasti <= 0) {
            stato = kStatoFinito;
        } else if (a.threshold >= 1 && till_.cat.SottoSoglia(index, rimasti, till_.opt)) {
            view_.SetFeedbackCaption(kStatoSottoScorta,
                                     std::string("OK  ") + segno + std::to_string(rimasti));
            stato = kStatoSottoScorta;
        }
    }
    till_.cat.ColoraArticolo(stato, a.section, a.position, true, view_);
}

void Vendita::AggiungiArticolo(int section, std::string_view codeText) {
    if (till_.gAzioni[4].stato || till_.gAzioni[6].stato) return;
    Catalogue& cat = till_.cat;
    const int index = static_cast<int>(Val(codeText)) - cat.sezioni[section].codeBase +
                      cat.PrimoIndice(section) - 1;
    if (index < 1 || index > cat.gNumeroArticoli) return;
    const bool multi = till_.opt.gMultiVorsa;
    Article& a = cat.gArticoli[index];
    if (multi) cat.AggiornaArticolo(index, till_.store, till_.opt, till_.paths, &view_);

    int n = 0;
    auto leggiCondiviso = [&] {
        if (!multi) return static_cast<int>(a.quantity);
        a.sharedCount = static_cast<std::int16_t>(
            Val(till_.store.LeggiIni(kMt, std::to_string(index), till_.paths.gFileLock)));
        const int letto = a.sharedCount;
        cat.AggiornaArticolo(index, till_.store, till_.opt, till_.paths, &view_);
        return letto;
    };

    if (!a.active) {
        MostraErrore();
    } else if (till_.gAzioni[3].stato) {
        if (a.quantity > 0) {
            n = leggiCondiviso();
            a.lineTotal -= a.price;
            --a.quantity;
            --n;
            StatoDopoPasso(index, n, "+");
            if (multi && a.pieces >= 0) AggiornaCondiviso(index, -1);
            till_.gTotaleConto -= a.price;
            AggiornaRigaConto(index);
        }
    } else {
        if (a.price == Currency::FromUnits(-1) && a.variablePrice) {
            do {
                const auto risposta = prompter_.InputBox(
                    "Prezzo variabile",
                    "Inserisci il prezzo per l'articolo: \r\n\r\n   " + a.name);
                if (!risposta || risposta->empty()) return;
                if (auto p = ParseCurrency(*risposta)) a.price = *p;
            } while (a.price <= Currency{});
            view_.SetPriceLabel(a.section, a.position,
                                {std::string(kEuro) + " " + FormatCurrency(a.price), kRossoScuro});
        }
        n = leggiCondiviso();
        if (a.pieces != -1 && a.pieces - n < 1) {
            till_.cat.ColoraArticolo(kStatoFinito, a.section, a.position, true, view_);
        } else if (a.quantity == std::numeric_limits<std::int16_t>::max()) {
            MostraErrore();  // one more piece would not fit the bill's count
        } else {
            a.lineTotal += a.price;
            ++a.quantity;
            ++n;
            StatoDopoPasso(index, n, "-");
            if (multi && a.pieces >= 0) AggiornaCondiviso(index, +1);
            till_.gTotaleConto += a.price;
            AggiornaRigaConto(index);
        }
    }
    view_.SetTotale(FormatCurrency(till_.gTotaleConto, true));
    if (till_.opt.gMostraRimanenza && a.pieces > -1)
        view_.SetCodeLabel(a.section, a.position, "Pz: " + std::to_string(a.pieces - n));
    if (till_.gAzioni[3].stato) EseguiAzione(3);
}

void Vendita::AggiornaRigaConto(int index) {
    Article& a = till_.cat.gArticoli[index];
    const bool wide = view_.WindowWidthTwips() > 16400;
    if (a.listIndex == -1) a.listIndex = static_cast<std::int16_t>(view_.ListCount());
    view_.SetListLine(a.listIndex, RigaConto(a, wide), a.code);
}

void Vendita::NuovoConto() {
    if (till_.opt.gStampaAbilitata) till_.svc.sleeper.Sleep(500);
    if (print_ && print_->StampanteDisponibile()) print_->CancellaFormScontrini();
    till_.gTotaleConto = Currency{};
    Catalogue& cat = till_.cat;
    for (int n = 1; n <= cat.gNumeroArticoli; ++n) {
        Article& a = cat.gArticoli[n];
        if (till_.opt.gMultiVorsa && a.pieces >= 0 && a.quantity >= 1)
            till_.RestituisciPezzi(n, a.quantity);
        a.lineTotal = Currency{};
        a.quantity = 0;
        a.listIndex = -1;
        if (a.variablePrice) {
            a.price = Currency::FromUnits(-1);
            view_.SetPriceLabel(a.section, a.position, cat.EtichettaPrezzo(n));
        }
    }
    till_.gCommento.clear();
    till_.gTavolo.clear();
    view_.ClearTableAndComment();
    view_.ClearList();
    view_.SetTotale("0,00");
}

}  // namespace vorsa
