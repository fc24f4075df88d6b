#include "ui/editor_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <algorithm>

#include "printing/menu_board.h"
#include "printing/qt/qt_print_backend.h"
#include "sale/sale.h"
#include "sale/till.h"
#include "settings/keys.h"
#include "ui/article_grid.h"
#include "ui/frm_vorsa.h"
#include "ui/right_panel.h"
#include "ui/sale_presenter.h"
#include "ui/settings/frm_opzioni_avanzate.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/info_label.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {
namespace {

constexpr int kAltezza = 330;
constexpr int kPunti = 8;
const char* const kSuggerimentoSezioni =
    "Selezionare la sezione, incrementare o diminuire, poi APPLICA";

QLabel* Didascalia(QFrame& panel, const char* text, int left, int top, int width,
                   int height = kAltezza) {
    auto* l = new QLabel(QString::fromUtf8(text), &panel);
    Colloca(*l, left, top, width, height);
    return l;
}

/// Draws an article line so that price and pieces always show: the marks and the name take
/// what room is left, wrapped over more lines when they do not fit, and the tail
/// " - €:  2,30 - Pz:   50 (avv.  10)" stands at the right edge. The whole line is the item's
/// tooltip.
class ListRowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const Controls parti = Dividi(opt.text);
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);

        const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w);
        const int largaCoda = LargaCoda(opt.font);
        const QRect areaTesta(r.left(), r.top(), std::max(0, r.width() - largaCoda), r.height());
        const QFontMetrics fm(opt.font);
        const bool unaRiga = fm.horizontalAdvance(parti.testa) <= areaTesta.width();
        const int allinea = unaRiga ? Qt::AlignVCenter : Qt::AlignTop;
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(
            opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(areaTesta, Qt::AlignLeft | allinea | (unaRiga ? 0 : Qt::TextWordWrap),
                          parti.testa);
        painter->drawText(r.adjusted(areaTesta.width(), 0, 0, 0), Qt::AlignLeft | allinea,
                          parti.coda);
        painter->restore();
    }

    /// A line whose name does not fit is as tall as its wrapped name.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const Controls parti = Dividi(opt.text);
        opt.text = QStringLiteral("X");
        QSize base = QStyledItemDelegate::sizeHint(opt, index);
        const auto* vista = qobject_cast<const QAbstractItemView*>(opt.widget);
        if (!vista) return base;
        opt.rect = QRect(0, 0, vista->viewport()->width(), base.height());
        QStyle* style = vista->style();
        const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, vista);
        const int larga = std::max(1, r.width() - LargaCoda(opt.font));
        const QFontMetrics fm(opt.font);
        if (fm.horizontalAdvance(parti.testa) <= larga) return base;
        const int alta =
            fm.boundingRect(QRect(0, 0, larga, 100000), Qt::TextWordWrap, parti.testa).height();
        base.setHeight(base.height() + alta - fm.height());
        return base;
    }

  private:
    struct Controls {
        QString testa;  // marks and name
        QString coda;   // price and pieces
    };
    static Controls Dividi(const QString& riga) {
        // The tail starts at the price; it stands in a column as wide as the longest tail, so
        // the prices line up whether or not a line has its warning threshold.
        const qsizetype inizio = riga.lastIndexOf(QStringLiteral(" - \u20AC:"));
        Controls p{inizio < 0 ? riga : riga.left(inizio),
                   inizio < 0 ? QString() : riga.mid(inizio)};
        while (p.testa.endsWith(QLatin1Char(' '))) p.testa.chop(1);  // the name's padding
        return p;
    }
    static int LargaCoda(const QFont& font) {
        return QFontMetrics(font).horizontalAdvance(QString(kCoda, QLatin1Char('0')));
    }

    /// Characters of the longest tail: " - €:  2,30 - Pz:   50 (avv.  10)".
    static constexpr qsizetype kCoda = 33;
};

/// lbl_info(i), whose "INFO POINT" box explains the field it stands beside.
void Info(QFrame& panel, FrmVorsa& frm, int i, int left, int top) {
    auto* l = new InfoLabel(i, &panel);
    Colloca(*l, left, top, 210, 315);
    QObject::connect(l, &InfoLabel::Premuta, &frm, &FrmVorsa::MostraInfo);
}

QPushButton* Bottone(QFrame& panel, const char* name, int i, const char* caption, int left, int top,
                     int width) {
    auto* b = new QPushButton(QString::fromUtf8(caption), &panel);
    b->setObjectName(Indicizzato(name, i));
    b->setFocusPolicy(Qt::TabFocus);
    Colloca(*b, left, top, width, kAltezza);
    return b;
}

}  // namespace

EditorPanel::EditorPanel(FrmVorsa& frm, Till& till, Sale& vendita, Prompter& prompter,
                         const NetworkOptions* rete)
    : QObject(&frm.Gestione(kPannelloImpostazioni)),
      frm_(frm),
      till_(till),
      vendita_(vendita),
      rete_(rete),
      panel_(frm.Gestione(kPannelloImpostazioni)) {
    regole_ = std::make_unique<CatalogueEditor>(
        EditorParts{till.cat, till.opt, till.settings, till.svc.files, till.svc.clock, prompter},
        *this);
    CreaControlli();
    Collega();
    panel_.installEventFilter(this);
    RendiAccessibile(panel_);
    // Lists and the section box are named by the label that introduces them.
    cboSezioni->setAccessibleName(QStringLiteral("Scegli il tipo"));
    lstProdottiElenco->setAccessibleName(QStringLiteral(
        "Seleziona la riga che vuoi gestire (modifica nome e prezzo oppure cancellare) e..."));
    lstProdottiSalvati->setAccessibleName(QStringLiteral("Dati storici articoli"));
}

EditorPanel::~EditorPanel() = default;

void EditorPanel::CreaControlli() {
    SavedCataloguesColumn();
    SectionsRow();
    ArticleList();
    ArticleFields();
    QLabel* titolo = CommandRows();
    QFrame& p = panel_;
    for (QWidget* w : p.findChildren<QWidget*>()) {
        if (w == lstProdottiElenco || w->parentWidget() != &p) continue;
        QFont f = w->font();
        f.setPointSize(kPunti);
        w->setFont(f);
    }
    QFont grassetto = titolo->font();
    grassetto.setBold(true);
    titolo->setFont(grassetto);
    for (QWidget* w : {static_cast<QWidget*>(cboSezioni), static_cast<QWidget*>(lstProdottiElenco),
                       static_cast<QWidget*>(lstProdottiSalvati)})
        w->installEventFilter(this);
}

void EditorPanel::SavedCataloguesColumn() {
    QFrame& p = panel_;
    // Saved catalogues, in the column right of the printer controls.
    constexpr int kColonna = 5520;
    constexpr int kLargaColonna = 1980;
    QLabel* lblSalvati = Didascalia(p, "Dati storici articoli", kColonna, 120, kLargaColonna);
    lstProdottiSalvati = new QListWidget(&p);
    lstProdottiSalvati->setObjectName(QStringLiteral("lst_Prodotti_Salvati"));
    Colloca(*lstProdottiSalvati, kColonna, 460, kLargaColonna, 880);
    lblSalvati->setBuddy(lstProdottiSalvati);
    Didascalia(p, "Doppio click per aprire", kColonna, 1360, kLargaColonna, 270);
    cmdGestione[3] =
        Bottone(p, "cmd_Gestione", 3, "Salva dati per storico", kColonna, 1660, kLargaColonna);
    cmdGestione[6] =
        Bottone(p, "cmd_Gestione", 6, "Rinomina dati salvati", kColonna, 2000, kLargaColonna);
    cmdGestione[4] =
        Bottone(p, "cmd_Gestione", 4, "Cancella storico", kColonna, 2340, kLargaColonna);
    cmdMenuPdf = new QPushButton(QString::fromUtf8("Men\xC3\xB9 in PDF (A4)"), &p);
    cmdMenuPdf->setObjectName(QStringLiteral("cmd_MenuPdf"));
    cmdMenuPdf->setFocusPolicy(Qt::TabFocus);
    Colloca(*cmdMenuPdf, kColonna, 2680, kLargaColonna, kAltezza);
    // Under the printer controls, left of the saved catalogues.
    cmdOpzioniAvanzate = new QPushButton(QStringLiteral("ALTRE OPZIONI PROGRAMMA"), &p);
    cmdOpzioniAvanzate->setObjectName(QStringLiteral("cmdOpzioniAvanzate"));
    cmdOpzioniAvanzate->setFocusPolicy(Qt::TabFocus);
    Colloca(*cmdOpzioniAvanzate, 600, 2720, 2850, kAltezza);
    // F7's own password, beside the other program options.
    txtPwd = new QLineEdit(&p);
    txtPwd->setObjectName(Indicizzato("txt_Pwd", kAzioneImpostazioni));
    txtPwd->setEchoMode(QLineEdit::Password);
    QLabel* lblPwd = Didascalia(p, "Password F7:", 3480, 2720, 1140);
    lblPwd->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPwd->setBuddy(txtPwd);
    Colloca(*txtPwd, 4660, 2720, 580, kAltezza);
    Info(p, frm_, 9, 5270, 2740);
    // The test print and the custom roll width, right of the paper format.
    Info(p, frm_, 5, 4280, 1150);
}

void EditorPanel::SectionsRow() {
    QFrame& p = panel_;
    // Top row: choose the section and change the sizes of the three grids.
    constexpr int kRiga1 = 3080;
    Didascalia(p, "1", 120, kRiga1, 150);
    QLabel* lblTipo = Didascalia(p, "Scegli il tipo", 300, kRiga1, 1100);
    cboSezioni = new QComboBox(&p);
    cboSezioni->setObjectName(QStringLiteral("cbo_Sezioni"));
    cboSezioni->setToolTip(QString::fromUtf8(kSuggerimentoSezioni));
    Colloca(*cboSezioni, 1420, kRiga1, 1500, kAltezza);
    lblTipo->setBuddy(cboSezioni);
    for (int s = 0; s < 3; ++s) {
        auto* l = new QLabel(&p);
        l->setObjectName(Indicizzato("lbl_NewDim", s));
        l->setToolTip(QString::fromUtf8(kSuggerimentoSezioni));
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Box);
        l->setAutoFillBackground(true);
        Colloca(*l, 3000 + s * 480, kRiga1, 450, kAltezza);
        l->installEventFilter(this);
        lblNewDim[static_cast<std::size_t>(s)] = l;
    }
    cmdGestioneB[3] = Bottone(p, "cmd_Gestione_B", 3, "+", 4480, kRiga1, 360);
    cmdGestioneB[3]->setToolTip(QStringLiteral("Incrementa la sezione, poi APPLICA"));
    cmdGestioneB[4] = Bottone(p, "cmd_Gestione_B", 4, "-", 4880, kRiga1, 360);
    cmdGestioneB[4]->setToolTip(QStringLiteral("Diminuisci la sezione, poi APPLICA"));
    cmdGestioneB[5] = Bottone(p, "cmd_Gestione_B", 5,
                              "Prima modifica tutte le dimensioni, poi APPLICA", 3000, 3440, 4500);
    cmdGestioneB[5]->setToolTip(QStringLiteral("Applica le modifiche apportate"));
}

void EditorPanel::ArticleList() {
    QFrame& p = panel_;
    // The positions of the chosen section and the fields of the picked one.
    Didascalia(p, "2", 120, 3800, 150);
    QLabel* lblRiga = Didascalia(
        p, "Seleziona la riga che vuoi gestire (modifica nome e prezzo oppure cancellare) e...",
        300, 3800, 7200);
    lstProdottiElenco = new QListWidget(&p);
    lstProdottiElenco->setObjectName(QStringLiteral("lst_Prodotti_Elenco"));
    QFont fisso(QStringLiteral("Courier New"));
    fisso.setStyleHint(QFont::TypeWriter);
    fisso.setPointSize(kPunti);
    lstProdottiElenco->setFont(fisso);
    lstProdottiElenco->setItemDelegate(new ListRowDelegate(lstProdottiElenco));
    lstProdottiElenco->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstProdottiElenco->setResizeMode(QListView::Adjust);  // wrapped lines follow the width
    Colloca(*lstProdottiElenco, 120, 4130, 7380, 1850);
    lblRiga->setBuddy(lstProdottiElenco);
}

void EditorPanel::ArticleFields() {
    QFrame& p = panel_;
    constexpr int kRigaCampi = 6060;
    const struct {
        const char* label;
        int labelLeft, labelWidth, left, width, maxLength;
        int info, infoLeft;  // the lbl_info beside the field, if any
    } campi[] = {
        {"Nome:", 120, 600, 720, 2000, 50, -1, 0},
        {"\xE2\x82\xAC:", 2760, 260, 3020, 640, 12, 1, 3680},
        {"Pz:", 3900, 300, 4200, 560, 6, 0, 4780},
        {"Soglia:", 5000, 600, 5600, 440, 5, 6, 6300},  // after its unit
    };
    for (int i = 0; i < 4; ++i) {
        const auto& c = campi[i];
        QLabel* l = Didascalia(p, c.label, c.labelLeft, kRigaCampi, c.labelWidth);
        auto* t = new QLineEdit(&p);
        t->setObjectName(Indicizzato("txt_Prodotto_New", i));
        t->setMaxLength(c.maxLength);  // names are cut to 50 characters in the field itself
        Colloca(*t, c.left, kRigaCampi, c.width, kAltezza);
        t->installEventFilter(this);
        l->setBuddy(t);
        txtProdottoNew[static_cast<std::size_t>(i)] = t;
        if (c.info >= 0) Info(p, frm_, c.info, c.infoLeft, kRigaCampi + 20);
    }
    const char* soglie[] = {"pz", "%"};
    for (int i = 0; i < 2; ++i) {
        QLabel* l = Didascalia(p, soglie[i], 6050, kRigaCampi, 250);
        l->setObjectName(Indicizzato("lblSoglia", i));
        lblSoglia[static_cast<std::size_t>(i)] = l;
    }
    chkProdottoStato = new QCheckBox(QStringLiteral("Attivo"), &p);
    chkProdottoStato->setObjectName(QStringLiteral("chk_Prodotto_Stato"));
    Colloca(*chkProdottoStato, 6540, kRigaCampi, 1000, kAltezza);
    chkProdottoStato->installEventFilter(this);
}

QLabel* EditorPanel::CommandRows() {
    QFrame& p = panel_;
    // The commands on the picked article, and those allowed only before any sale.
    constexpr int kRiga3 = 6480;
    Didascalia(p, "3", 120, kRiga3, 150);
    Didascalia(p, "...azione", 300, kRiga3, 760);
    cmdGestione[1] = Bottone(p, "cmd_Gestione", 1, "Salva prodotto ", 1100, kRiga3, 1450);
    cmdGestione[5] = Bottone(p, "cmd_Gestione", 5, "Scontrino separato", 2600, kRiga3, 1900);
    cmdGestione[2] = Bottone(p, "cmd_Gestione", 2, "Men\xC3\xB9 del giorno", 4550, kRiga3, 1700);
    cmdGestione[0] = Bottone(p, "cmd_Gestione", 0, "Esci (F7)", 6300, kRiga3, 1200);

    constexpr int kRiga4 = 6900;
    QLabel* assenza = Didascalia(p, "In assenza di transazioni", 120, kRiga4, 1880, 750);
    assenza->setWordWrap(true);
    cmdGestioneB[0] =
        Bottone(p, "cmd_Gestione_B", 0, "Cancella la riga selezionata", 2050, kRiga4, 2600);
    cmdGestioneB[2] =
        Bottone(p, "cmd_Gestione_B", 2, "Carica dati selezionati", 4700, kRiga4, 2800);
    cmdGestioneB[1] =
        Bottone(p, "cmd_Gestione_B", 1, "Cancella tutte le righe di...", 2050, 7320, 3700);
    cmdGestioneB[6] = Bottone(p, "cmd_Gestione_B", 6, "Dati di test", 5800, 7320, 1700);

    auto* titolo = Didascalia(p, "G E S T I O N E    P A R A M E T R I", 120, 7690, 7380, 300);
    titolo->setObjectName(QStringLiteral("lbl_TitoloGestione"));
    titolo->setAlignment(Qt::AlignCenter);
    return titolo;
}

void EditorPanel::Collega() {
    connect(cboSezioni, qOverload<int>(&QComboBox::activated), this,
            [this](int) { regole_->SceltaSezione(); });
    connect(lstProdottiElenco, &QListWidget::currentRowChanged, this, [this](int) {
        if (!impostando_) regole_->ClickElenco();
    });
    // A click on the row already chosen (after a save emptied the fields) loads it again.
    connect(lstProdottiElenco, &QListWidget::itemClicked, this, [this] { regole_->ClickElenco(); });
    connect(cmdMenuPdf, &QPushButton::clicked, this, [this] {
        TabellonePdf();
        Ritorna();
    });
    connect(cmdOpzioniAvanzate, &QPushButton::clicked, this, [this] { OpzioniAvanzate(); });
    // A paste from the context menu, a drop or an input method passes by the key filter: a
    // price the keys could not have typed is taken back.
    connect(txtProdottoNew[1], &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!ImportoDigitabile(Cp1252(t)) && txtProdottoNew[1]->isUndoAvailable())
            txtProdottoNew[1]->undo();
    });
    connect(txtPwd, &QLineEdit::editingFinished, this,
            [this] { vendita_.PasswordSaver(kAzioneImpostazioni, Cp1252(txtPwd->text())); });
    connect(lstProdottiSalvati, &QListWidget::itemDoubleClicked, this,
            [this] { regole_->ApriSalvato(); });
    for (int i = 0; i < 7; ++i) {
        connect(cmdGestione[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { ComandoGestione(i); });
        connect(cmdGestioneB[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] {
            const int s = cboSezioni->currentIndex();
            regole_->ComandoB(i);
            if (s >= 0 && s <= 2) Ritorna();
        });
    }
}

void EditorPanel::ComandoGestione(int i) {
    switch (i) {
        case 0:
            vendita_.EseguiAzione(kAzioneImpostazioni);
            break;
        case 1:
            regole_->SaveArticle();
            break;
        case 2:
            regole_->WriteMenuReport();
            break;
        case 3:
            regole_->SaveCatalogueCopy();
            break;
        case 4:
            regole_->DeleteSavedCatalogue();
            break;
        case 5:
            regole_->ToggleSeparatePrint();
            break;
        case 6:
            regole_->RenameSavedCatalogue();
            break;
        default:
            break;
    }
    Ritorna();
}

void EditorPanel::TabellonePdf() {
    std::string cartella = till_.store.CartellaTemp();
    if (!cartella.empty() && cartella.back() == '/') cartella.pop_back();
    QtPrintOptions o;
    o.pdfPrinter = "Tabellone";
    o.pdfFolder = cartella;
    QtPrintBackend pdf(o);
    pdf.SetCurrentPrinter(o.pdfPrinter);
    StampaTabellone(till_.cat, pdf);
    if (!pdf.Documents().empty() && !pdf.Documents().back().pdfPath.empty())
        till_.store.ApriConShell(pdf.Documents().back().pdfPath);
}

void EditorPanel::OpzioniAvanzate() {
    auto* dlg = new FrmOpzioniAvanzate(
        till_.settings, &frm_, [this](const KeyDef& key) { Applicato(key); }, rete_);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setWindowModality(Qt::ApplicationModal);
    connect(dlg, &QDialog::finished, this, [this] {
        MostraSoglia();
        Ritorna();
    });
    dlg->show();
}

void EditorPanel::Applicato(const KeyDef& key) {
    if (&key == &keys::SogliaTipo) MostraSoglia();
    const KeyDef* griglia[] = {&keys::BottoniColonne, &keys::BottoniAltezza, &keys::BottoniBordo,
                               &keys::BottoniInterlinea, &keys::Rimanenza};
    if (std::find(std::begin(griglia), std::end(griglia), &key) != std::end(griglia))
        RidisponiGriglia();
}

void EditorPanel::MostraSoglia() {
    lblSoglia[0]->setVisible(till_.opt.gSogliaTipo == 0);
    lblSoglia[1]->setVisible(till_.opt.gSogliaTipo == 1);
}

void EditorPanel::Ritorna() {
    frm_.FocusCodeBox();
    emit Fatto();
}

void EditorPanel::Apri() {
    txtPwd->setText(Testo(till_.gAzioni[kAzioneImpostazioni].password));
    regole_->OpenCatalogueEditor();
    MostraSoglia();
    cboSezioni->setFocus();
}

bool EditorPanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if (watched == &panel_) {
        if (t == QEvent::Show) Apri();
        return false;
    }
    if (t == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Function keys work inside the panel as in the code box.
        if (const int f = NumeroF(key->key())) {
            const bool mod = (key->modifiers() &
                              (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
            vendita_.TastoGiu(Sale::KeyKind::F, f, mod);
            return true;
        }
        if (watched == txtProdottoNew[1]) {
            const std::string ch = Cp1252(key->text());
            if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab || ch.size() != 1)
                return false;
            if (ch == "?") return false;
            return ApplicaFiltro(*txtProdottoNew[1],
                                 FiltroImporto(ch[0], Cp1252(txtProdottoNew[1]->text()),
                                               txtProdottoNew[1]->cursorPosition()));
        }
        return false;
    }
    if (t == QEvent::MouseButtonPress) {
        for (int s = 0; s < 3; ++s) {
            if (watched == lblNewDim[static_cast<std::size_t>(s)]) {
                regole_->ClickDimensione(s);
                return true;
            }
        }
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (watched != txtProdottoNew[static_cast<std::size_t>(i)]) continue;
        if (t == QEvent::FocusIn) regole_->EntraCampo(i);
        if (t == QEvent::FocusOut) regole_->EsceCampo(i);
    }
    return false;
}

void EditorPanel::SetVociSezioni(const std::vector<std::string>& items) {
    const QSignalBlocker b(cboSezioni);
    cboSezioni->clear();
    for (const auto& s : items) cboSezioni->addItem(Testo(s));
}

int EditorPanel::SezioneScelta() {
    return cboSezioni->currentIndex();
}

void EditorPanel::ScegliSezione(int index) {
    const QSignalBlocker b(cboSezioni);
    cboSezioni->setCurrentIndex(index);
}

void EditorPanel::SetElenco(const std::vector<std::string>& lines) {
    impostando_ = true;
    lstProdottiElenco->clear();
    for (const auto& l : lines) {
        auto* item = new QListWidgetItem(Testo(l), lstProdottiElenco);
        item->setToolTip(item->text());
    }
    lstProdottiElenco->setCurrentRow(-1);
    impostando_ = false;
}

int EditorPanel::RigaScelta() {
    return lstProdottiElenco->currentRow();
}

void EditorPanel::ScegliRiga(int row) {
    impostando_ = true;
    lstProdottiElenco->setCurrentRow(row);
    if (row < 0) lstProdottiElenco->clearSelection();
    impostando_ = false;
}

std::string EditorPanel::Campo(int i) {
    return Cp1252(txtProdottoNew[static_cast<std::size_t>(i)]->text());
}

void EditorPanel::SetCampo(int i, const std::string& text) {
    txtProdottoNew[static_cast<std::size_t>(i)]->setText(Testo(text));
}

bool EditorPanel::Attivo() {
    return chkProdottoStato->isChecked();
}

void EditorPanel::SetAttivo(bool on) {
    chkProdottoStato->setChecked(on);
}

void EditorPanel::AbilitaCampi(bool on) {
    for (QLineEdit* t : txtProdottoNew) t->setEnabled(on);
    chkProdottoStato->setEnabled(on);
}

void EditorPanel::SetDimensione(int section, const std::string& caption, int fore, int back) {
    QLabel& l = *lblNewDim[static_cast<std::size_t>(section)];
    l.setText(Testo(caption));
    QPalette pal = l.palette();
    pal.setColor(QPalette::WindowText, fore == kColoreTestoFinestra
                                           ? QApplication::palette().color(QPalette::WindowText)
                                           : Colore(fore));
    pal.setColor(QPalette::Window, Colore(back));
    l.setPalette(pal);
}

void EditorPanel::AbilitaComandoB(int i, bool on) {
    cmdGestioneB[static_cast<std::size_t>(i)]->setEnabled(on);
}

void EditorPanel::SetCaptionB(int i, const std::string& caption) {
    cmdGestioneB[static_cast<std::size_t>(i)]->setText(SenzaMnemonico(Testo(caption)));
}

void EditorPanel::SetSalvati(const std::vector<std::string>& names) {
    lstProdottiSalvati->clear();
    for (const auto& n : names) lstProdottiSalvati->addItem(Testo(n));
    lstProdottiSalvati->setCurrentRow(-1);
}

int EditorPanel::SalvatoScelto() {
    return lstProdottiSalvati->selectedItems().isEmpty() ? -1 : lstProdottiSalvati->currentRow();
}

void EditorPanel::DeselezionaSalvati() {
    lstProdottiSalvati->clearSelection();
    lstProdottiSalvati->setCurrentRow(-1);
}

void EditorPanel::RidisponiGriglia() {
    AggiornaBottoni();
    frm_.ReLayout();
}

void EditorPanel::AggiornaBottoni() {
    frm_.DisponiBottoni();
    frm_.Griglia().Carica(till_.cat, till_.opt);
    till_.cat.ColoraTutti(till_.opt, frm_);
    // The panel is open: the product buttons stay locked until F7 closes it.
    till_.cat.AbilitaArticoli(true, frm_);
}

}  // namespace vorsa
