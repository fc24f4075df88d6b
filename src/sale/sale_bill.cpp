#include <algorithm>
#include <limits>

#include "platform/text.h"
#include "sale/sale.h"

namespace vorsa {
namespace {

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
    if (nome.size() <= larga)
        nome.resize(larga, ' ');
    else
        nome = Left(nome, corta) + "..";
    return PadLeft(std::to_string(a.quantity), wide ? 3 : 2) + "|" + nome + "|" +
           Importo(a.lineTotal);
}

Sale::Sale(SaleParts p, SaleViews views, Prompter& prompter, PrintSeam* print)
    : cat_(p.cat),
      opt_(p.opt),
      settings_(p.settings),
      azioni_(p.azioni),
      conto_(p.conto),
      clock_(p.clock),
      sleeper_(p.sleeper),
      titolo_(p.titolo),
      view_(views),
      prompter_(prompter),
      print_(print),
      attesa_(p.attesa) {}

Sale::Presa Sale::AggiornaCondiviso(int index, int delta) {
    // Keeps the group-wide count of pieces held in open bills, and this till's share of it
    // for the recovery after a crash. A piece is taken only while one is free, checked under
    // the counter's lock: two tills reaching for the last piece cannot both have it.
    Article& a = cat_.gArticoli[index];
    // What this till holds in the counter, which is not always the bill: pieces added while
    // the lock file could not be reached were never counted, so they are never given back.
    const long long qui = std::max(0LL, Val(settings_.Read(keys::PezziTenuti, index)));
    if (delta < 0 && qui == 0) return Presa::Presa;
    if (delta > 0)
        cat_.AggiornaArticolo(index, settings_.store(), opt_, settings_.paths(), nullptr);
    const KeyName k = Resolve(keys::PezziCondivisi, index);
    bool aperto = false;
    bool preso = false;
    // Read, checked and written in one locked write of the lock file.
    const bool scritto =
        settings_.store().AggiornaFileLock({{k.section, k.key}}, [&](IniDocument& doc) {
            aperto = true;
            const long long letto = ContatoreCondiviso(doc.Get(k.section, k.key));
            if (delta > 0 && a.pieces >= 0 && a.pieces - letto < delta) {
                a.sharedCount = static_cast<std::int16_t>(letto);
                return false;
            }
            a.sharedCount = static_cast<std::int16_t>(std::max(0LL, letto + delta));
            preso = true;
            return doc.Set(k.section, k.key, std::to_string(a.sharedCount));
        });
    if (aperto && !preso) return Presa::Rifiutata;
    if (!scritto) return Presa::Irraggiungibile;
    settings_.Write(keys::PezziTenuti, std::to_string(std::max(0LL, qui + delta)), index);
    return Presa::Presa;
}

void Sale::StatoDopoPasso(int index, int n, const char* segno) {
    // After a piece was added ("-": stock goes down) or taken off ("+": it goes back).
    const Article& a = cat_.gArticoli[index];
    const bool aggiunto = segno[0] == '-';
    int stato = kStatoNormale;
    if (a.pieces != -1 && (aggiunto || a.threshold > 0)) {
        const long long rimasti = static_cast<long long>(a.pieces) - n;
        if (aggiunto && rimasti <= 0) {
            stato = kStatoFinito;
        } else if (a.threshold >= 1 && cat_.SottoSoglia(index, rimasti, opt_)) {
            view_.conto.SetFeedbackCaption(kStatoSottoScorta,
                                           std::string("OK  ") + segno + std::to_string(rimasti));
            stato = kStatoSottoScorta;
        }
    }
    cat_.ColoraArticolo(stato, a.section, a.position, true, view_.catalogo);
}

void Sale::AggiungiArticolo(int section, std::string_view codeText) {
    if (azioni_[kAzioneNuovoConto].stato || azioni_[kAzioneStatistica].stato) return;
    Catalogue& cat = cat_;
    const int index = static_cast<int>(Val(codeText)) - cat.sezioni[section].codeBase +
                      cat.PrimoIndice(section) - 1;
    if (index < 1 || index > cat.gNumeroArticoli) return;
    const bool multi = opt_.gMultiVorsa;
    Article& a = cat.gArticoli[index];
    if (multi)
        cat.AggiornaArticolo(index, settings_.store(), opt_, settings_.paths(), &view_.catalogo);

    int n = 0;

    if (!a.active) {
        MostraErrore();
    } else if (azioni_[kAzioneStorno].stato) {
        if (a.quantity > 0) {
            n = ReadSharedCount(index);
            a.lineTotal -= a.price;
            --a.quantity;
            --n;
            StatoDopoPasso(index, n, "+");
            if (multi && a.pieces >= 0) AggiornaCondiviso(index, -1);
            conto_.gTotaleConto -= a.price;
            AggiornaRigaConto(index);
        }
    } else {
        if (a.price == Currency::FromUnits(-1) && a.variablePrice && !AskPrice(a)) return;
        n = ReadSharedCount(index);
        if (a.pieces != -1 && a.pieces - n < 1) {
            cat_.ColoraArticolo(kStatoFinito, a.section, a.position, true, view_.catalogo);
        } else if (a.quantity == std::numeric_limits<std::int16_t>::max()) {
            MostraErrore();  // one more piece would not fit the bill's count
        } else if (const Presa presa =
                       multi && a.pieces >= 0 ? AggiornaCondiviso(index, +1) : Presa::NonContata;
                   presa == Presa::Rifiutata) {
            // Another till took the last free piece in the meantime.
            n = a.sharedCount;
            cat_.ColoraArticolo(kStatoFinito, a.section, a.position, true, view_.catalogo);
        } else {
            // With the lock file out of reach the piece is sold on what this till last saw:
            // the sale must go on while the main till is away.
            a.lineTotal += a.price;
            ++a.quantity;
            n = presa == Presa::Presa ? a.sharedCount : n + 1;
            StatoDopoPasso(index, n, "-");
            conto_.gTotaleConto += a.price;
            AggiornaRigaConto(index);
        }
    }
    view_.conto.SetTotale(FormatCurrency(conto_.gTotaleConto, true));
    if (opt_.gMostraRimanenza && a.pieces > -1)
        view_.catalogo.SetCodeLabel(a.section, a.position, "Pz: " + std::to_string(a.pieces - n));
    if (azioni_[kAzioneStorno].stato) EseguiAzione(kAzioneStorno);
}

int Sale::ReadSharedCount(int index) {
    Article& a = cat_.gArticoli[index];
    if (!opt_.gMultiVorsa) return a.quantity;
    a.sharedCount =
        static_cast<std::int16_t>(ContatoreCondiviso(settings_.Read(keys::PezziCondivisi, index)));
    // The counter holds this bill's pieces, but not those added while it was out of reach.
    const int letto = std::max<int>(a.sharedCount, a.quantity);
    cat_.AggiornaArticolo(index, settings_.store(), opt_, settings_.paths(), &view_.catalogo);
    return letto;
}

bool Sale::AskPrice(Article& a) {
    do {
        const auto risposta = prompter_.InputBox(
            "Prezzo variabile", "Inserisci il prezzo per l'articolo: \r\n\r\n   " + a.name);
        if (!risposta || risposta->empty()) return false;
        if (auto p = ParseCurrency(*risposta)) a.price = *p;
    } while (a.price <= Currency{});
    view_.catalogo.SetPriceLabel(a.section, a.position,
                                 {std::string(kEuro) + " " + FormatCurrency(a.price), kRossoScuro});
    return true;
}

void Sale::AggiornaRigaConto(int index) {
    Article& a = cat_.gArticoli[index];
    const bool wide = view_.finestra.WindowWidthTwips() > 16400;
    if (a.listIndex == -1) a.listIndex = static_cast<std::int16_t>(view_.conto.ListCount());
    view_.conto.SetListLine(a.listIndex, RigaConto(a, wide), a.code);
}

void Sale::NuovoConto() {
    if (opt_.gStampaAbilitata) sleeper_.Sleep(500);
    if (print_ && print_->StampanteDisponibile()) print_->CancellaFormScontrini();
    conto_.gTotaleConto = Currency{};
    Catalogue& cat = cat_;
    if (opt_.gMultiVorsa) {
        // The held pieces go back together: their counters locked, written and released in
        // one write of the lock file each.
        RestituisciPezzi(settings_, PezziTenutiQui(settings_));
    }
    for (int n = 1; n <= cat.gNumeroArticoli; ++n) {
        Article& a = cat.gArticoli[n];
        a.lineTotal = Currency{};
        a.quantity = 0;
        a.listIndex = -1;
        if (a.variablePrice) {
            a.price = Currency::FromUnits(-1);
            view_.catalogo.SetPriceLabel(a.section, a.position, cat.EtichettaPrezzo(n));
        }
    }
    conto_.gCommento.clear();
    conto_.gTavolo.clear();
    view_.conto.ClearTableAndComment();
    view_.conto.ClearList();
    view_.conto.SetTotale("0,00");
}

}  // namespace vorsa
