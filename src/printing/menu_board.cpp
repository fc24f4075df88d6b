#include "printing/menu_board.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vorsa {
namespace {

constexpr int kMargine = 1134;  // 2 cm
constexpr int kPuntiTitolo = 28;
constexpr int kPuntiSezione = 20;
constexpr int kPuntiRiga = 18;
constexpr int kSpazioPrezzo = 567;  // at least 1 cm between a name and its price

std::string Prezzo(const Article& a) {
    // Customers read the board: a price asked at every sale is said in words.
    if (a.variablePrice) return "prezzo alla cassa";
    return std::string(kEuro) + " " + FormatCurrency(a.price);
}

class Page {
  public:
    explicit Page(PrintBackend& b) : b_(b) {
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

/// `testo` in lines no wider than `larga`, broken between words (inside a word only when the
/// word alone is wider).
std::vector<std::string> ACapo(PrintBackend& b, const std::string& testo, int larga) {
    std::vector<std::string> righe;
    std::string riga;
    std::size_t i = 0;
    while (i < testo.size()) {
        const std::size_t fine = std::min(testo.find(' ', i), testo.size());
        const std::string parola = testo.substr(i, fine - i);
        const std::string prova = riga.empty() ? parola : riga + " " + parola;
        if (b.TextWidth(prova) <= larga) {
            riga = prova;
        } else if (!riga.empty()) {
            righe.push_back(riga);
            riga.clear();
            continue;  // the word starts the next line
        } else {
            std::size_t n = 1;  // a word wider than the line: as much of it as fits
            while (n < parola.size() && b.TextWidth(parola.substr(0, n + 1)) <= larga) ++n;
            righe.push_back(parola.substr(0, n));
            i += n;
            continue;
        }
        i = fine + 1;
    }
    if (!riga.empty() || righe.empty()) righe.push_back(riga);
    return righe;
}

PrintFont Carattere(int size, bool bold) {
    PrintFont f;
    f.size = size;
    f.bold = bold;
    return f;
}

}  // namespace

int StampaTabellone(const Catalogue& cat, PrintBackend& b) {
    Page p(b);
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
            // One type size for the whole board: a long name goes on more lines, clear of its
            // price, which stands on the first.
            b.SetFont(Carattere(kPuntiRiga, false));
            const std::vector<std::string> righe =
                ACapo(b, a->name, p.Utile() - kSpazioPrezzo - b.TextWidth(prezzo));
            const int h = b.TextHeight(a->name);
            p.Spazio(h * static_cast<int>(righe.size()));
            b.DrawText(p.Destra() - b.TextWidth(prezzo), p.y(), prezzo);
            for (const std::string& riga : righe) {
                b.DrawText(kMargine, p.y(), riga);
                p.y() += h;
            }
            p.y() += 60;
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
