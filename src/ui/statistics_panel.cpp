#include "ui/statistics_panel.h"

#include <QBuffer>
#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/twips.h"
#include "platform/text.h"
#include "sale/till.h"
#include "settings/settings_gateway.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/fitted_labels.h"
#include "ui/widgets/hour_chart.h"
#include "ui/widgets/info_label.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {
namespace {

constexpr int kRossoChiaro = 0xFF8080;  // lst_Scontrini of a voided receipt
// The font fits the longest line shown, or this many characters in an empty list.
constexpr int kCaratteriRiga = 60;
constexpr int kPuntiMassimi = 10;
constexpr int kPuntiLeggibili = 9;  // long names are cut rather than the type made smaller
constexpr int kRigaIntera = Qt::UserRole + 1;  // the line as files keep it

const char* const kDidascalieScontrino[7] = {
    nullptr, "Nr. articoli:", "Data:", "Ora:", "Totale:", "Tavolo:", "Nota:"};

QLabel* Valore(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + 8);
    return l;
}

QLabel* Didascalia(QWidget* parent, const char* text, QWidget* buddy) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (buddy) l->setBuddy(buddy);
    return l;
}

QListWidget* Lista(QWidget* parent, const char* name) {
    auto* l = new QListWidget(parent);
    l->setObjectName(QLatin1String(name));
    l->setUniformItemSizes(true);
    l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return l;
}

/// A list paints its items on the Base colour; a negative colour gives back the default.
void SfondoLista(QListWidget& l, int rgb) {
    if (rgb < 0) {
        l.setPalette(QPalette());
        return;
    }
    QPalette pal = l.palette();
    pal.setColor(QPalette::Base, Colore(rgb));
    l.setPalette(pal);
}

/// The largest fixed-pitch size at which a whole line fits the list without scrolling.
void AdattaLista(QListWidget& l) {
    // The viewport is resized after the list: measure the list, less frame and scroll bar.
    const int spazio =
        l.width() - 2 * l.frameWidth() - l.style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 6;
    QFont f = l.font();
    // Lines that keep their full text are shortened to what fits at a readable size.
    std::vector<std::string> intere;
    for (int i = 0; i < l.count(); ++i)
        if (const QVariant v = l.item(i)->data(kRigaIntera); v.isValid())
            intere.push_back(Cp1252(v.toString()));
    if (!intere.empty() && intere.size() == static_cast<std::size_t>(l.count())) {
        f.setPointSize(kPuntiLeggibili);
        // Measured over many characters: a single advance is rounded.
        const int cento = std::max(1, QFontMetrics(f).horizontalAdvance(QString(100, 'X')));
        const std::vector<std::string> strette =
            RigheStrette(intere, static_cast<std::size_t>(std::max(spazio, 0) * 100 / cento));
        for (int i = 0; i < l.count(); ++i) {
            const QString t = Testo(strette[static_cast<std::size_t>(i)]);
            if (l.item(i)->text() != t) l.item(i)->setText(t);
        }
    }
    qsizetype caratteri = kCaratteriRiga;
    for (int i = 0; i < l.count(); ++i) caratteri = std::max(caratteri, l.item(i)->text().size());
    int pt = kPuntiMassimi;
    for (; pt > kPuntiMinimi; --pt) {
        f.setPointSize(pt);
        if (QFontMetrics(f).horizontalAdvance(QString(caratteri, QLatin1Char('X'))) <= spazio)
            break;
    }
    f.setPointSize(pt);
    if (f != l.font()) l.setFont(f);
}

/// Fills `l` with `righe`, narrowed for the screen (the full line stays in kRigaIntera).
void Riempi(QListWidget& l, const std::vector<ListRow>& righe) {
    for (const ListRow& r : righe) {
        auto* item = new QListWidgetItem(Testo(r.testo), &l);
        item->setData(Qt::UserRole, r.dato);
        item->setData(kRigaIntera, Testo(r.testo));
    }
    AdattaLista(l);
}

}  // namespace

StatisticsPanel::StatisticsPanel(QFrame& panel, Till& till, Actions azioni, Prompter& domande)
    : QObject(&panel),
      panel_(panel),
      till_(till),
      azioni_(std::move(azioni)),
      domande_(domande),
      regole_({till.cat, till.opt, till.settings, till.conto.gNumeroScontrino}),
      file_(till.svc.files, till.svc.shell, till.svc.clock, till.paths.gCartellaStatistiche) {
    schede_ = new QTabWidget(&panel);
    schede_->setObjectName(QStringLiteral("frm_statistica"));
    schede_->setDocumentMode(true);
    schede_->setFocusPolicy(Qt::NoFocus);
    contenuto_ = new QWidget(schede_);
    contenuto_->setObjectName(QStringLiteral("frm_riepilogo"));
    auto* v = new QVBoxLayout(contenuto_);
    v->setContentsMargins(6, 4, 6, 4);
    v->setSpacing(3);

    TitleRow(v);
    TotalsRows(v);
    CommandRow(v);
    ReceiptViewer(v);
    ReportFiles(v);
    schede_->addTab(contenuto_, QStringLiteral("Riepilogo"));
    schede_->addTab(TillsPage(), QStringLiteral("Casse e orari"));
    ConnectSignals();
    panel.installEventFilter(this);
    lstStatistica->installEventFilter(this);
    lstScontrini->installEventFilter(this);
    lstCasse->installEventFilter(this);
    cmdStatistica[8]->setEnabled(false);
    cmdStatistica[7]->hide();
    RendiAccessibile(panel);
}

void StatisticsPanel::TitleRow(QVBoxLayout* v) {
    lblTitolo = new QLabel(QStringLiteral("R I E P I L O G O    V E N D I T E"), contenuto_);
    lblTitolo->setObjectName(QStringLiteral("lbl_stat_titolo"));
    lblTitolo->setAlignment(Qt::AlignCenter);
    QFont grassetto = lblTitolo->font();
    grassetto.setBold(true);
    lblTitolo->setFont(grassetto);
    v->addWidget(lblTitolo);

    // Title, then the totals and the last sale in a grid of two rows.
    auto* riga1 = new QHBoxLayout;
    txtStatCommento = new QLineEdit(contenuto_);
    txtStatCommento->setObjectName(QStringLiteral("txt_Stat_Commento"));
    riga1->addWidget(Didascalia(contenuto_, "Titolo statistica:", txtStatCommento));
    riga1->addWidget(txtStatCommento, 1);
    // F6's own password, behind the cover it puts up: only who knows it can change it.
    txtPwd = new QLineEdit(contenuto_);
    txtPwd->setObjectName(Indicizzato("txt_Pwd", kAzioneStatistica));
    txtPwd->setEchoMode(QLineEdit::Password);
    txtPwd->setMaximumWidth(110);
    riga1->addWidget(Didascalia(contenuto_, "Password F6:", txtPwd));
    riga1->addWidget(txtPwd);
    auto* info = new InfoLabel(8, contenuto_);
    info->setFixedSize(TwipsToPixelsX(210), TwipsToPixelsY(315));
    connect(info, &InfoLabel::Premuta, this, &StatisticsPanel::InfoPremuta);
    riga1->addWidget(info);
    v->addLayout(riga1);
}

void StatisticsPanel::TotalsRows(QVBoxLayout* v) {
    lstStatistica = Lista(contenuto_, "lst_statistica");
    lstStatistica->setFocusPolicy(Qt::NoFocus);  // the till stays ready for codes
    v->addWidget(lstStatistica, 3);

    for (int i = 0; i < 2; ++i)
        lblStatUltIns[i] = Valore(contenuto_, Indicizzato("lbl_stat_ult_ins", i));
    lblTotaleIncasso = Valore(contenuto_, QStringLiteral("lbl_totale_incasso"));
    lblTotaleScontrini = Valore(contenuto_, QStringLiteral("lblTotaleScontrini"));
    lblTotaleScontriniStornati = Valore(contenuto_, QStringLiteral("lblTotaleScontriniStornati"));
    auto* totali = new QGridLayout;
    totali->setHorizontalSpacing(4);
    totali->setVerticalSpacing(2);
    totali->addWidget(Didascalia(contenuto_, "Totale incasso:", lblTotaleIncasso), 0, 0);
    totali->addWidget(lblTotaleIncasso, 0, 1);
    totali->addWidget(Didascalia(contenuto_, "Numero scontrini:", lblTotaleScontrini), 0, 2);
    totali->addWidget(lblTotaleScontrini, 0, 3);
    totali->addWidget(Didascalia(contenuto_, "Ultimo inserimento:", lblStatUltIns[0]), 1, 0);
    auto* ultimo = new QHBoxLayout;
    ultimo->addWidget(lblStatUltIns[0], 3);
    ultimo->addWidget(lblStatUltIns[1], 2);
    totali->addLayout(ultimo, 1, 1);
    totali->addWidget(Didascalia(contenuto_, "di cui stornati:", lblTotaleScontriniStornati), 1, 2);
    totali->addWidget(lblTotaleScontriniStornati, 1, 3);
    totali->setColumnStretch(1, 3);
    totali->setColumnStretch(3, 2);
    v->addLayout(totali);
}

void StatisticsPanel::CommandRow(QVBoxLayout* v) {
    static const char* const kCaption[9] = {"Svuota riepilogo vendite",
                                            "Salva riepilogo su file",
                                            "Esci (F6)",
                                            "Cancella",
                                            "Rinomina",
                                            "<",
                                            ">",
                                            "PREMI PER VISUALIZZARE RIEPILOGO STATISTICHE",
                                            "Stampa statistica"};
    for (int i = 0; i < 9; ++i) {
        auto* b = new QPushButton(SenzaMnemonico(QString::fromUtf8(kCaption[i])),
                                  i == 7 ? static_cast<QWidget*>(&panel_) : contenuto_);
        b->setObjectName(Indicizzato("cmd_Statistica", i));
        b->setFocusPolicy(Qt::NoFocus);
        cmdStatistica[static_cast<std::size_t>(i)] = b;
        connect(b, &QPushButton::clicked, this, [this, i] { Comando(i); });
    }
    cmdStatistica[5]->setAccessibleName(QStringLiteral("Scontrino precedente"));
    cmdStatistica[6]->setAccessibleName(QStringLiteral("Scontrino successivo"));
    auto* riga3 = new QHBoxLayout;
    for (int i : {0, 1, 8, 2}) riga3->addWidget(cmdStatistica[static_cast<std::size_t>(i)]);
    v->addLayout(riga3);
}

void StatisticsPanel::ReceiptViewer(QVBoxLayout* v) {
    // Receipt viewer.
    auto* riga4 = new QHBoxLayout;
    txtNumeroScontrino = new QLineEdit(contenuto_);
    txtNumeroScontrino->setObjectName(QStringLiteral("txt_Numero_Scontrino"));
    txtNumeroScontrino->setMaxLength(9);
    txtNumeroScontrino->setMaximumWidth(
        txtNumeroScontrino->fontMetrics().horizontalAdvance(QStringLiteral("000000000")) + 12);
    txtNumeroScontrino->installEventFilter(this);
    txtStatCommento->installEventFilter(this);
    riga4->addWidget(Didascalia(contenuto_, "Scontrino nr.:", txtNumeroScontrino));
    riga4->addWidget(txtNumeroScontrino);
    riga4->addWidget(cmdStatistica[5]);
    riga4->addWidget(cmdStatistica[6]);
    chkScontrinoStorno = new QCheckBox(QStringLiteral("Storno"), contenuto_);
    chkScontrinoStorno->setObjectName(QStringLiteral("chkScontrinoStorno"));
    riga4->addWidget(chkScontrinoStorno);
    lblScontrini[0] = Valore(contenuto_, Indicizzato("lblScontrini", 0));
    lblScontrini[0]->setAccessibleName(QStringLiteral("Cassa"));
    riga4->addWidget(lblScontrini[0], 1);
    v->addLayout(riga4);

    auto* riga5 = new QGridLayout;
    riga5->setHorizontalSpacing(4);
    for (int i = 1; i <= 6; ++i) {
        lblScontrini[static_cast<std::size_t>(i)] =
            Valore(contenuto_, Indicizzato("lblScontrini", i));
        const int r = (i - 1) / 3;
        const int c = ((i - 1) % 3) * 2;
        riga5->addWidget(Didascalia(contenuto_, kDidascalieScontrino[i],
                                    lblScontrini[static_cast<std::size_t>(i)]),
                         r, c);
        riga5->addWidget(lblScontrini[static_cast<std::size_t>(i)], r, c + 1);
        riga5->setColumnStretch(c + 1, 1);
    }
    v->addLayout(riga5);
    lstScontrini = Lista(contenuto_, "lst_Scontrini");
    lstScontrini->setFocusPolicy(Qt::NoFocus);
    v->addWidget(lstScontrini, 2);
}

void StatisticsPanel::ReportFiles(QVBoxLayout* v) {
    // Report files.
    auto* riga6 = new QHBoxLayout;
    lstFileRiepilogo = new QListWidget(contenuto_);
    lstFileRiepilogo->setObjectName(QStringLiteral("lst_FileRiepilogo"));
    lstFileRiepilogo->setFocusPolicy(Qt::NoFocus);
    auto* colonnaFile = new QVBoxLayout;
    auto* doppio = new QLabel(QStringLiteral("Doppio click per aprire"), contenuto_);
    doppio->setBuddy(lstFileRiepilogo);
    lstFileRiepilogo->setAccessibleName(doppio->text());  // a list takes no name from a buddy
    colonnaFile->addWidget(doppio);
    colonnaFile->addWidget(lstFileRiepilogo);
    riga6->addLayout(colonnaFile, 1);
    auto* colonnaComandi = new QVBoxLayout;
    colonnaComandi->addStretch(1);
    colonnaComandi->addWidget(cmdStatistica[3]);
    colonnaComandi->addWidget(cmdStatistica[4]);
    riga6->addLayout(colonnaComandi);
    v->addLayout(riga6, 1);
}

QWidget* StatisticsPanel::TillsPage() {
    // Tills, hours and the export.
    auto* pagina = new QWidget(schede_);
    pagina->setObjectName(QStringLiteral("frm_casse"));
    auto* w = new QVBoxLayout(pagina);
    w->setContentsMargins(6, 4, 6, 4);
    w->setSpacing(3);
    lstCasse = Lista(pagina, "lst_Casse");
    lstCasse->setFocusPolicy(Qt::NoFocus);
    auto* didCasse = new QLabel(QStringLiteral("Totali per cassa:"), pagina);
    didCasse->setBuddy(lstCasse);
    lstCasse->setAccessibleName(didCasse->text());
    w->addWidget(didCasse);
    w->addWidget(lstCasse, 1);
    grafico = new HourChart(pagina);
    w->addWidget(grafico, 3);
    auto* comandi = new QHBoxLayout;
    cmdSalvaGrafico = new QPushButton(QStringLiteral("Salva grafico PNG"), pagina);
    cmdSalvaGrafico->setObjectName(QStringLiteral("cmd_SalvaGrafico"));
    cmdEsportaCsv = new QPushButton(QStringLiteral("Esporta CSV"), pagina);
    cmdEsportaCsv->setObjectName(QStringLiteral("cmd_EsportaCsv"));
    for (QPushButton* b : {cmdSalvaGrafico, cmdEsportaCsv}) {
        b->setFocusPolicy(Qt::NoFocus);
        comandi->addWidget(b);
    }
    w->addLayout(comandi);
    return pagina;
}

void StatisticsPanel::ConnectSignals() {
    connect(schede_, &QTabWidget::currentChanged, this, [this] { MostraArchivio(); });
    connect(cmdSalvaGrafico, &QPushButton::clicked, this, [this] {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        grafico->Immagine(grafico->size().expandedTo(QSize(640, 360))).save(&buffer, "PNG");
        if (file_
                .SalvaEApri("Grafico", ".png",
                            std::string_view(png.constData(), static_cast<std::size_t>(png.size())))
                .empty())
            domande_.Avviso("Errore salvataggio", "Il grafico NON \xE8 stato salvato.");
        emit Fatto();
    });
    connect(cmdEsportaCsv, &QPushButton::clicked, this, [this] {
        if (file_.SalvaEApri("Venduto", ".csv", CsvVenduto(till_.cat)).empty())
            domande_.Avviso("Errore salvataggio", "Il file CSV NON \xE8 stato salvato.");
        emit Fatto();
    });

    connect(txtPwd, &QLineEdit::editingFinished, this, [this] {
        if (azioni_.salvaPassword) azioni_.salvaPassword(Cp1252(txtPwd->text()));
    });
    connect(txtStatCommento, &QLineEdit::editingFinished, this,
            [this] { regole_.SalvaCommento(Cp1252(txtStatCommento->text())); });
    connect(txtNumeroScontrino, &QLineEdit::textChanged, this, &StatisticsPanel::CambioNumero);
    connect(chkScontrinoStorno, &QCheckBox::clicked, this, &StatisticsPanel::Storno);
    connect(lstFileRiepilogo, &QListWidget::itemDoubleClicked, this, [this] {
        file_.Apri(Selezionato());
        emit Fatto();
    });
}

StatisticsPanel::~StatisticsPanel() = default;

bool StatisticsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &panel_) {
        if (event->type() == QEvent::Show) {
            Apri();
        } else if (event->type() == QEvent::Resize || event->type() == QEvent::Move) {
            // The frame may sit above the window's top edge: keep its content below it.
            const QRect r = panel_.contentsRect().adjusted(0, std::max(0, -panel_.y()), 0, 0);
            schede_->setGeometry(r);
            cmdStatistica[7]->setGeometry(r);
        }
        return false;
    }
    if ((watched == lstStatistica || watched == lstScontrini || watched == lstCasse) &&
        event->type() == QEvent::Resize) {
        AdattaLista(*static_cast<QListWidget*>(watched));
        return false;
    }
    if (watched == txtStatCommento && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int f = NumeroF(key->key());
        if (!f || !azioni_.tastoF) return false;
        // The title typed so far is kept first: F6 closes the panel.
        regole_.SalvaCommento(Cp1252(txtStatCommento->text()));
        azioni_.tastoF(f, (key->modifiers() &
                           (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0);
        return true;
    }
    if (watched != txtNumeroScontrino || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString t = key->text();
    int codice = 0;
    if (key->key() == Qt::Key_Backspace)
        codice = '\b';
    else if (key->key() == Qt::Key_Tab)
        codice = '\t';
    else if (t.size() == 1 && t[0].unicode() < 128)
        codice = t[0].unicode();
    else if (!t.isEmpty())
        codice = -1;
    else
        return false;  // arrows, Home, End: moving the caret
    const bool vuoto = txtNumeroScontrino->text().isEmpty() ||
                       txtNumeroScontrino->selectedText() == txtNumeroScontrino->text();
    switch (FiltroNumeroScontrino(codice, vuoto)) {
        case NumberKey::Passa:
            return false;
        case NumberKey::Scarta:
            return true;
        case NumberKey::Uno:
            txtNumeroScontrino->setText(QStringLiteral("1"));
            return true;
    }
    return false;
}

void StatisticsPanel::Apri() {
    MostraStatistiche();
    txtNumeroScontrino->blockSignals(true);
    txtNumeroScontrino->clear();
    txtNumeroScontrino->blockSignals(false);
    txtNumeroScontrino->setText(QString::number(till_.conto.gNumeroScontrino));
    lblScontrini[0]->setVisible(till_.opt.gMultiVorsa);
    txtPwd->setText(Testo(till_.gAzioni[kAzioneStatistica].password));
    const bool copri = !till_.gAzioni[kAzioneStatistica].password.empty();
    cmdStatistica[7]->setVisible(copri);
    schede_->setVisible(!copri);
    if (copri) cmdStatistica[7]->raise();
}

void StatisticsPanel::MostraStatistiche() {
    const Summary r = regole_.MostraStatistiche();
    lblStatUltIns[0]->setText(Testo(r.data));
    lblStatUltIns[1]->setText(Testo(r.ora));
    ElencoFile();
    txtStatCommento->setText(Testo(r.commento));
    lstStatistica->clear();
    Riempi(*lstStatistica, r.righe);
    lblTotaleIncasso->setText(Testo(r.totale));
    lblTotaleScontrini->setText(Testo(r.scontrini));
    cmdStatistica[0]->setEnabled(r.comandi);
    cmdStatistica[1]->setEnabled(r.comandi);
    cmdStatistica[8]->setEnabled(r.comandi && azioni_.stampa != nullptr);
    cmdEsportaCsv->setEnabled(!r.righe.empty());
    MostraArchivio();
}

void StatisticsPanel::MostraArchivio() {
    // Reading the whole archive is for the page that shows it.
    if (schede_->currentIndex() != 1) return;
    const SalesArchive a =
        LeggiArchivio(till_.settings, till_.opt.gSeparatore, till_.conto.gNumeroScontrino,
                      till_.opt.gMultiVorsa, till_.opt.gIdentitaLock, NomeCassa(till_.opt));
    lstCasse->clear();
    for (const std::string& riga : RigheCasse(a.casse)) lstCasse->addItem(Testo(riga));
    AdattaLista(*lstCasse);
    grafico->MostraOre(a.ore);
}

void StatisticsPanel::ElencoFile() {
    lstFileRiepilogo->clear();
    for (const std::string& nome : file_.Elenco()) lstFileRiepilogo->addItem(Testo(nome));
    const bool ci = lstFileRiepilogo->count() > 0;
    cmdStatistica[3]->setEnabled(ci);
    cmdStatistica[4]->setEnabled(ci);
}

std::string StatisticsPanel::Selezionato() const {
    const QListWidgetItem* item = lstFileRiepilogo->currentItem();
    if (!item || !item->isSelected()) return {};
    return Cp1252(item->text());
}

void StatisticsPanel::Comando(int i) {
    switch (i) {
        case 0:
            Svuota();
            break;
        case 1:
            SalvaRiepilogo();
            break;
        case 2:
            if (azioni_.esci) azioni_.esci();
            break;
        case 3:
            CancellaRiepilogo();
            break;
        case 4:
            RinominaRiepilogo();
            break;
        case 5:
        case 6: {
            const long long n = Val(Cp1252(txtNumeroScontrino->text())) + (i == 5 ? -1 : 1);
            txtNumeroScontrino->setText(QString::number(n));
            break;
        }
        case 7:
            if (azioni_.chiediPassword && azioni_.chiediPassword()) {
                cmdStatistica[7]->hide();
                schede_->show();
            }
            break;
        case 8:
            if (azioni_.stampa)
                azioni_.stampa({Cp1252(lblStatUltIns[0]->text()), Cp1252(lblStatUltIns[1]->text()),
                                Cp1252(lblTotaleIncasso->text()),
                                Cp1252(lblTotaleScontrini->text()),
                                Cp1252(lblTotaleScontriniStornati->text())});
            break;
        default:
            break;
    }
    emit Fatto();
}

void StatisticsPanel::Svuota() {
    regole_.Svuota(domande_);
    MostraStatistiche();
    txtNumeroScontrino->blockSignals(true);
    txtNumeroScontrino->setText(QStringLiteral("0"));
    txtNumeroScontrino->blockSignals(false);
    PulisciVista();
}

void StatisticsPanel::PulisciVista() {
    lblTotaleScontriniStornati->setText(QStringLiteral("0"));
    chkScontrinoStorno->setEnabled(true);
    chkScontrinoStorno->setChecked(false);
    lstScontrini->clear();
    SfondoLista(*lstScontrini, -1);
    for (QLabel* l : lblScontrini) l->clear();
}

void StatisticsPanel::SalvaRiepilogo() {
    SummaryData d;
    d.titolo = Cp1252(txtStatCommento->text());
    d.ultimaData = Cp1252(lblStatUltIns[0]->text());
    d.totale = Cp1252(lblTotaleIncasso->text());
    d.scontrini = Cp1252(lblTotaleScontrini->text());
    d.stornati = Cp1252(lblTotaleScontriniStornati->text());
    for (int i = 0; i < lstStatistica->count(); ++i)
        d.righe.push_back(Cp1252(lstStatistica->item(i)->data(kRigaIntera).toString()));
    d.casse = RigheCasse(LeggiArchivio(till_.settings, till_.opt.gSeparatore,
                                       till_.conto.gNumeroScontrino, till_.opt.gMultiVorsa,
                                       till_.opt.gIdentitaLock, NomeCassa(till_.opt))
                             .casse);
    if (file_.Salva(d, domande_)) ElencoFile();
}

void StatisticsPanel::RinominaRiepilogo() {
    const std::string nome = Selezionato();
    if (nome.empty()) return;
    file_.Rinomina(nome, domande_);
    ElencoFile();
    lstFileRiepilogo->clearSelection();
}

void StatisticsPanel::CancellaRiepilogo() {
    const std::string nome = Selezionato();
    if (nome.empty()) return;
    if (file_.Cancella(nome, domande_)) ElencoFile();
    lstFileRiepilogo->clearSelection();
}

void StatisticsPanel::CambioNumero(const QString& testo) {
    const Statistics::NumberResult e = regole_.CambioNumero(Cp1252(testo));
    if (e.testo) {
        txtNumeroScontrino->setText(Testo(*e.testo));  // runs this again
        return;
    }
    MostraVista(regole_.MostraScontrino(e.mostra));
}

void StatisticsPanel::MostraVista(const ReceiptView& v) {
    lstScontrini->clear();
    for (QLabel* l : lblScontrini) l->clear();
    lblTotaleScontriniStornati->setText(Testo(v.stornati));
    chkScontrinoStorno->setChecked(v.storno);
    chkScontrinoStorno->setEnabled(v.stornoAbilitato);
    SfondoLista(*lstScontrini, v.rosso ? kRossoChiaro : -1);
    if (!v.esiste) return;
    for (std::size_t i = 0; i < v.etichette.size(); ++i)
        lblScontrini[i]->setText(Testo(v.etichette[i]));
    Riempi(*lstScontrini, v.righe);
}

void StatisticsPanel::Storno(bool spuntato) {
    const int n = static_cast<int>(Val(Cp1252(txtNumeroScontrino->text())));
    const Statistics::VoidResult e = regole_.CambiaStorno(n, spuntato);
    MostraVista(e.vista);
    MostraStatistiche();
    if (!e.salvato)
        domande_.Avviso("ERRORE SALVATAGGIO",
                        "Lo storno NON \xE8 stato salvato nel file dei dati: statistiche e "
                        "magazzino restano come prima.");
    emit Fatto();
}

}  // namespace vorsa
