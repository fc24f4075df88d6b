#include "ui/article_grid.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/qt/twips.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/fitted_labels.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {

namespace {

struct Names {
    const char* button;
    const char* code;
    const char* price;
    const char* line;
};
constexpr std::array<Names, 3> kNomi{{
    {"cmd_mangiare", "lbl_mangiare_code", "lbl_mangiare_prezzo", "lin_mangiare"},
    {"cmd_bere", "lbl_bere_code", "lbl_bere_prezzo", "lin_bere"},
    {"cmd_altro", "lbl_altro_code", "lbl_altro_prezzo", "lin_altro"},
}};

QFrame* Linea(QWidget* parent, const QString& name) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Plain);
    return f;
}

/// A line is one pixel tall wherever its top falls.
void CollocaLinea(QFrame& f, int left, int top, int width) {
    f.setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), std::max(TwipsToPixelsX(width), 0), 1);
}

}  // namespace

ArticleGrid::ArticleGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("griglia_prodotti"));
    for (int s = 0; s < 3; ++s) separatori_[s] = Linea(this, Indicizzato("lin_sezione", s));
}

ArticleGrid::Cell ArticleGrid::Crea(int section, int position) {
    const Names& n = kNomi[static_cast<std::size_t>(section)];
    Cell c;
    c.code = new QLabel(this);
    c.code->setObjectName(Indicizzato(n.code, position));
    c.code->setTextFormat(Qt::PlainText);
    c.price = new QLabel(this);
    c.price->setObjectName(Indicizzato(n.price, position));
    c.price->setTextFormat(Qt::PlainText);
    c.line = Linea(this, Indicizzato(n.line, position));
    c.button = new QPushButton(this);
    c.button->setObjectName(Indicizzato(n.button, position));
    c.button->setFocusPolicy(Qt::NoFocus);
    connect(c.button, &QPushButton::clicked, this,
            [this, section, position] { emit ArticoloPremuto(section, position); });
    // Cells added to a grid on screen appear at once.
    for (QWidget* w : {static_cast<QWidget*>(c.code), static_cast<QWidget*>(c.price),
                       static_cast<QWidget*>(c.line), static_cast<QWidget*>(c.button)})
        w->setVisible(true);
    return c;
}

void ArticleGrid::Distruggi(Cell& c) {
    delete c.button;
    delete c.code;
    delete c.price;
    delete c.line;
    c = Cell{};
}

void ArticleGrid::Dimensiona(const std::array<int, 3>& sizes) {
    for (int s = 0; s < 3; ++s) {
        auto& cells = celle_[static_cast<std::size_t>(s)];
        const auto size = static_cast<std::size_t>(std::max(sizes[static_cast<std::size_t>(s)], 0));
        while (cells.size() > size) {
            Distruggi(cells.back());
            cells.pop_back();
        }
        while (cells.size() < size) cells.push_back(Crea(s, static_cast<int>(cells.size()) + 1));
    }
    RendiAccessibile(*this);
}

void ArticleGrid::Carica(const Catalogue& cat, const Options& o) {
    std::array<int, 3> sizes{};
    for (std::size_t s = 0; s < 3; ++s) sizes[s] = cat.sezioni[s].size;
    Dimensiona(sizes);
    for (int s = 0; s < 3; ++s) {
        const int first = cat.PrimoIndice(s);
        for (int pos = 1; pos <= Dimensione(s); ++pos) {
            const int index = first + pos - 1;
            if (index < 0 || index >= static_cast<int>(cat.gArticoli.size())) continue;
            const Article& art = cat.gArticoli[static_cast<std::size_t>(index)];
            Cell& c = *Trova(s, pos);
            c.code->setText(Testo(cat.EtichettaCodice(index, cat.Usati(index, o), o)));
            const PriceLabel prezzo = cat.EtichettaPrezzo(index);
            c.price->setText(Testo(prezzo.text));
            ImpostaColoreTesto(*c.price, prezzo.colour);
            c.nome = SenzaMnemonico(Testo(art.name));
            AdattaDidascalia(c);
            c.button->setEnabled(art.active);
            c.code->setVisible(art.active);
            c.price->setVisible(art.active);
        }
    }
}

void ArticleGrid::Applica(const Grid& g, int larghezza, int altezza) {
    Colloca(*this, 0, 0, larghezza, altezza);
    for (std::size_t s = 0; s < 3; ++s) {
        const GridSection& sez = g.sezioni[s];
        auto& cells = celle_[s];
        const std::size_t n = std::min(cells.size(), sez.celle.size());
        for (std::size_t i = 0; i < n; ++i) {
            const GridCell& cg = sez.celle[i];
            Cell& c = cells[i];
            Colloca(*c.code, cg.codice);
            Colloca(*c.price, cg.prezzo);
            CollocaLinea(*c.line, cg.linea.left, cg.linea.top, cg.linea.width);
            Colloca(*c.button, cg.bottone);
            AdattaDidascalia(c);
        }
        CollocaLinea(*separatori_[s], 0, sez.separatore, larghezza);
    }
}

void ArticleGrid::AdattaDidascalia(Cell& c) {
    // Fitted from the buttons' own size each time, not from the last fitted one.
    const QFont base = QApplication::font(c.button);
    const FittedCaption d = DidascaliaBottone(c.nome, base, AreaTesto(*c.button));
    QFont f = base;
    f.setPointSize(d.punti);
    c.button->setFont(f);
    c.button->setText(d.testo);
    // The whole name stays available to a screen reader and as a tooltip.
    c.button->setToolTip(c.nome);
    c.button->setAccessibleName(c.nome);
}

ArticleGrid::Cell* ArticleGrid::Trova(int section, int position) {
    if (section < 0 || section > 2) return nullptr;
    auto& cells = celle_[static_cast<std::size_t>(section)];
    if (position < 1 || position > static_cast<int>(cells.size())) return nullptr;
    return &cells[static_cast<std::size_t>(position - 1)];
}

int ArticleGrid::Dimensione(int section) const {
    if (section < 0 || section > 2) return 0;
    return static_cast<int>(celle_[static_cast<std::size_t>(section)].size());
}

}  // namespace vorsa
