#include "ui/pannello_destro.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "platform/qt/twips.h"
#include "ui/etichetta_info.h"
#include "ui/widget_helpers.h"

namespace vorsa {

namespace {

QLabel* Etichetta(QWidget& parent, const QString& name, const QString& text = QString()) {
    auto* l = new QLabel(&parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    return l;
}

QLabel* Didascalia(QWidget& parent, const char* name, const char* text, QWidget* buddy) {
    QLabel* l = Etichetta(parent, QLatin1String(name), QLatin1String(text));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setBuddy(buddy);
    return l;
}

QLineEdit* Casella(QWidget& parent, const char* name) {
    auto* e = new QLineEdit(&parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

void Carattere(QWidget& w, int pointSize) {
    QFont f = w.font();
    f.setPointSize(pointSize);
    f.setBold(true);
    w.setFont(f);
}

}  // namespace

PannelloDestro::PannelloDestro(QWidget& window) {
    lstSpesa = new QListWidget(&window);
    lstSpesa->setObjectName(QStringLiteral("lst_spesa"));
    // One font, one line per item: rewriting a line must not re-measure the whole bill.
    lstSpesa->setUniformItemSizes(true);
    txtTavolo = Casella(window, "txtTavolo");
    txtCommento = Casella(window, "txtCommento");
    lblTavolo = Didascalia(window, "lblTavolo", "Tavolo:", txtTavolo);
    lblNota = Didascalia(window, "lblNota", "Nota:", txtCommento);

    for (int n = 1; n <= kNumeroAzioni; ++n) {
        const auto i = static_cast<std::size_t>(n);
        lblAzioniCode[i] = Etichetta(window, Indicizzato("lbl_azioni_code", n));
        lblAzioniCode[i]->setAlignment(Qt::AlignCenter);
        cmdAzioni[i] = new QPushButton(&window);
        cmdAzioni[i]->setObjectName(Indicizzato("cmd_azioni", n));
        cmdAzioni[i]->setFocusPolicy(Qt::NoFocus);
    }

    lblUltimoScontrino = Etichetta(window, Indicizzato("lblUltimoScontrino", 0));
    lblUltimoScontrino->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblScontrinoPrecedente = Etichetta(window, QStringLiteral("lblScontrinoPrecedente"),
                                       QStringLiteral("Scontrino precedente:"));
    lblScontrinoPrecedente->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblScontrinoPrecedente->setBuddy(lblUltimoScontrino);
    lblTotale = Etichetta(window, QStringLiteral("lbl_totale"));
    lblTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    boxPagato = Casella(window, "box_Pagato");
    boxPagato->setAlignment(Qt::AlignRight);
    lblPagato = Didascalia(window, "lblPagato", "Pagato:", boxPagato);
    lblResto = Etichetta(window, QStringLiteral("lbl_resto"));
    lblResto->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblRestoTitolo = Didascalia(window, "lblRestoTitolo", "Resto:", lblResto);
    boxCodice = Casella(window, "box_Codice");

    for (int i = 0; i < 5; ++i)
        lblConfCode[static_cast<std::size_t>(i)] =
            Etichetta(window, Indicizzato("lbl_conf_code", i));

    chkStampa = new QCheckBox(QStringLiteral("Stampa"), &window);
    chkStampa->setObjectName(QStringLiteral("chk_Stampa"));
    chkStampa->setFocusPolicy(Qt::NoFocus);

    for (int i = 2; i <= 4; ++i)
        info[static_cast<std::size_t>(i - 2)] = new EtichettaInfo(i, &window);
}

void PannelloDestro::Applica(const LayoutFinestra& l) {
    Colloca(*lstSpesa, l.lstSpesa);
    Colloca(*lblTavolo, l.lblTavolo);
    Colloca(*txtTavolo, l.txtTavolo);
    Colloca(*lblNota, l.lblCommento);
    Colloca(*txtCommento, l.txtCommento);
    for (int n = 1; n <= kNumeroAzioni; ++n) {
        const auto i = static_cast<std::size_t>(n);
        Colloca(*lblAzioniCode[i], l.lblAzioniCode[i]);
        // Payment mode changes the keys' height; a new layout only moves them.
        RettangoloTwips r = l.cmdAzioni[i];
        if (altezzaAzioni_[i] > 0) r.height = altezzaAzioni_[i];
        Colloca(*cmdAzioni[i], r);
    }
    Colloca(*lblScontrinoPrecedente, l.lblUltimoCaption);
    Colloca(*lblUltimoScontrino, l.lblUltimoScontrino);
    Colloca(*lblTotale, l.lblTotale);
    Colloca(*lblPagato, l.lblPagatoCaption);
    Colloca(*boxPagato, l.boxPagato);
    Colloca(*lblRestoTitolo, l.lblRestoCaption);
    Colloca(*lblResto, l.lblResto);
    Colloca(*boxCodice, l.boxCodice);
    for (QLabel* c : lblConfCode) Colloca(*c, l.confCode);
    Colloca(*chkStampa, l.chkStampa);
    for (EtichettaInfo* i : info) Colloca(*i, l.info[static_cast<std::size_t>(i->Indice())]);

    for (QWidget* w : {static_cast<QWidget*>(lblTotale), static_cast<QWidget*>(lblResto),
                       static_cast<QWidget*>(boxPagato), static_cast<QWidget*>(boxCodice)})
        Carattere(*w, l.fontPt);
}

void PannelloDestro::ImpostaAltezzaAzione(int n, int twips) {
    if (n < 1 || n > kNumeroAzioni) return;
    const auto i = static_cast<std::size_t>(n);
    altezzaAzioni_[i] = twips;
    QPushButton& b = *cmdAzioni[i];
    b.resize(b.width(), TwipsToPixelsY(twips));
}

}  // namespace vorsa
