#include "printing/tabellone_menu.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vorsa {
namespace {

constexpr int kMargine = 1134;  // 2 cm
constexpr int kPuntiTitolo = 28;
constexpr int kPuntiSezione = 20;
constexpr int kPuntiRiga = 18;
constexpr int kPuntiMinimi = 10;
constexpr int kSpazioPrezzo = 567;  // at least 1 cm between a name and its price

std::string Prezzo(const Article& a) {
    if (a.variablePrice) return std::string(kEuro) + " ?";
    return std::string(kEuro) + " " + FormatCurrency(a.price);
}

class Pagina {
  public:
    explicit Pagina(PrintBackend& b) : b_(b) {
        const DeviceCaps c = b.Caps();
        larghezza_ = PixelsToTwips(c.horzRes, c.dpiX);
        altezza_ = PixelsToTwips(c.vertRes, c.dpiY);
        y_ = kMargine;
    }
    int Destra() const { return larghezza_ - kMargine; }
    int Utile() const { return larghezza_ - 2 * kMargine; }
    /// A new page when `h` twips no longer fit below the current line.
    void Spazio(int h) {
        if (y_ + h <= altezza_ - kMargine) return;
        b_.NewPage();
        y_ = kMargine;
    }
    int& y() { return y_; }

  private:
    PrintBackend& b_;
    int larghezza_ = 0;
    int altezza_ = 0;
    int y_ = 0;
};

PrintFont Carattere(int size, bool bold) {
    PrintFont f;
    f.size = size;
    f.bold = bold;
    return f;
}

}  // namespace

int StampaTabellone(const Catalogue& cat, PrintBackend& b) {
    Pagina p(b);
    const std::string titolo = "Men\xF9 del giorno";
    b.SetFont(Carattere(kPuntiTitolo, true));
    b.DrawText(kMargine + (p.Utile() - b.TextWidth(titolo)) / 2, p.y(), titolo);
    p.y() += b.TextHeight(titolo) * 3 / 2;

    int elencati = 0;
    int n = 1;
    for (const Sezione& z : cat.sezioni) {
        std::vector<const Article*> articoli;
        for (int k = 1; k <= z.size; ++k, ++n) {
            const Article& a = cat.gArticoli[static_cast<std::size_t>(n)];
            if (!a.name.empty() && a.active) articoli.push_back(&a);
        }
        if (articoli.empty()) continue;
        b.SetFont(Carattere(kPuntiSezione, true));
        const int hSezione = b.TextHeight(z.name);
        b.SetFont(Carattere(kPuntiRiga, false));
        // A heading never stays alone at the foot of a page.
        p.Spazio(hSezione + 120 + b.TextHeight("X"));
        b.SetFont(Carattere(kPuntiSezione, true));
        b.DrawText(kMargine, p.y(), z.name);
        p.y() += hSezione;
        b.DrawLine(kMargine, p.y(), p.Destra(), p.y());
        p.y() += 120;
        for (const Article* a : articoli) {
            const std::string prezzo = Prezzo(*a);
            // Long names get a smaller type rather than running into their price.
            int punti = kPuntiRiga;
            for (; punti > kPuntiMinimi; --punti) {
                b.SetFont(Carattere(punti, false));
                if (b.TextWidth(a->name) + kSpazioPrezzo + b.TextWidth(prezzo) <= p.Utile()) break;
            }
            b.SetFont(Carattere(punti, false));
            const int h = b.TextHeight(a->name);
            p.Spazio(h);
            b.DrawText(kMargine, p.y(), a->name);
            b.DrawText(p.Destra() - b.TextWidth(prezzo), p.y(), prezzo);
            p.y() += h + 60;
            ++elencati;
        }
        p.y() += 240;
    }
    if (elencati == 0) {
        b.SetFont(Carattere(kPuntiRiga, false));
        b.DrawText(kMargine, p.y(), "*** Non ci sono articoli ***");
    }
    b.EndDoc();
    return elencati;
}

}  // namespace vorsa
