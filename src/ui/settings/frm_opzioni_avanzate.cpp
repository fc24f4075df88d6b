#include "ui/settings/frm_opzioni_avanzate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/text.h"
#include "platform/till_share.h"
#include "settings/key_writes.h"
#include "settings/keys.h"
#include "settings/odd_values.h"
#include "settings/settings_gateway.h"
#include "ui/notices/messages.h"
#include "ui/settings/frm_pagine_web.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/info_label.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {

namespace {

/// The number a text begins with, "." as decimal point; 0 when it begins with none.
double NumeroIniziale(const std::string& text) {
    const std::string t = Trim(text);
    std::size_t n = 0;
    if (n < t.size() && (t[n] == '-' || t[n] == '+')) ++n;
    std::size_t cifre = 0;
    for (; n < t.size() && std::isdigit(static_cast<unsigned char>(t[n])); ++n) ++cifre;
    if (n < t.size() && t[n] == '.')
        for (++n; n < t.size() && std::isdigit(static_cast<unsigned char>(t[n])); ++n) ++cifre;
    if (cifre == 0) return 0;
    const double v = std::strtod(t.substr(0, n).c_str(), nullptr);
    // Far beyond any grid or threshold: read as no number rather than overflow an int.
    return std::fabs(v) > 1e9 ? 0 : v;
}

}  // namespace

int NumeroCampo(const std::string& text) {
    return static_cast<int>(std::nearbyint(std::fabs(NumeroIniziale(text))));  // halves to even
}

namespace {

// The grid can hold at most this many columns, whatever the field says.
constexpr int kMaxColonne = 20;
// The dialog's own range for the threshold, one wider than start-up's 1..89: a 90 written here
// is kept in the file and read as start-up's default 15 at the next start.
constexpr int kSogliaMin = 1;
constexpr int kSogliaMax = 90;
constexpr const char* kSogliaProposta = "20";

const char* const kInfo[] = {
    "Prefisso che viene applicato al numero scontrino, nel caso vengano utilizzate più vorse, "
    "serve per distinguere gli scontrini",
    "Gestione soglia per avviso sotto scorta.\r\nLa gestione della scorta può essere gestita sia "
    "come numero sia come percentuale ed è valido per tutti i ptodotti.\r\n\r\nIl valore "
    "predefinito è il valore che viene automaticamente proposto al momento dell'inserimento "
    "prodotto.",
    "Parametri per personalizzare i pulsanti dei prodotti.\r\n\r\n!! ATTENZIONE !!\r\nNel caso il "
    "numero di colonne sia troppo elevato, tale numero verrà automaticamente ridotto",
    "Gestione multivorsa, con queste opzioni potrete usare più postazioni condividendo prodotti, "
    "scorte e scontrini",
    "Indirizzi di rete del pc.  Serviranno per collegare le altre vorse",
    "Nome del pc in uso, verrà utilizzato per gestire i semafori fra le postazioni",
    nullptr,  // 6 names the program folder
    "Se questa NON è la vorsa principale, è necessario inserire qui l'indirizzo della vorsa "
    "principale in formato numerico ad. ex. 192.168.0.5 oppure il nome, se la rete ha un DNS.",
    "Visualizza la rimanenza dei pezzi al posto del codice prodotto",
    "",
};

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

QLineEdit* Campo(const QString& name, int maxLength) {
    auto* t = new QLineEdit;
    t->setObjectName(name);
    t->setMaxLength(maxLength);
    t->setMaximumWidth(90);
    return t;
}

}  // namespace

FrmOpzioniAvanzate::FrmOpzioniAvanzate(SettingsGateway& settings, QWidget* owner,
                                       std::function<void(const KeyDef&)> applicato,
                                       const NetworkOptions* rete)
    : QDialog(owner), settings_(settings), applicato_(std::move(applicato)) {
    setObjectName(QStringLiteral("frmOpzioniAvanzate"));
    setWindowTitle(QStringLiteral("Opzioni avanzate"));
    setModal(true);
    mostraInfo = [this](const QString& title, const QString& text) {
        QMessageBox::information(this, title, text);
    };
    mostraErrore = [this](const QString& title, const QString& text) {
        QMessageBox::critical(this, title, text);
    };
    if (rete) {
        share_ = &rete->share;
        messaggi_ = &rete->messaggi;
        MultiTillView& vista = *this;
        multi_ = std::make_unique<MultiTillOptions>(settings_, rete->share, vista,
                                                    rete->sessioneCondivisa);
    }
    CreaControlli();
    Carica();
    RendiAccessibile(*this);
}

FrmOpzioniAvanzate::~FrmOpzioniAvanzate() = default;

void FrmOpzioniAvanzate::CreaControlli() {
    auto* root = new QVBoxLayout(this);
    auto* titolo =
        new QLabel(QStringLiteral("G E S T I O N E    O P Z I O N I    A V A N Z A T E"), this);
    titolo->setObjectName(QStringLiteral("lblTitolo"));
    titolo->setAlignment(Qt::AlignCenter);
    QFont f = titolo->font();
    f.setBold(true);
    titolo->setFont(f);
    root->addWidget(titolo);

    const InfoLabels info = MakeInfoLabels();
    auto* griglia = new QGridLayout;
    root->addLayout(griglia);
    griglia->addWidget(ButtonsBox(info), 0, 0);
    griglia->addWidget(ThresholdBox(info), 0, 1);
    griglia->addWidget(OtherOptionsBox(info), 1, 0);
    auto* multi = new QGroupBox(QStringLiteral("Multi-vorsa         ***  BETA 1 ***  "), this);
    multi->setObjectName(QStringLiteral("fraMulti"));
    CreaRiquadroMulti(multi, info);
    griglia->addWidget(multi, 1, 1);

    cmdChiudi = RigaChiudi(*this, *root);

    TextFieldRules();
    connect(cmdPulsantiDefault, &QPushButton::clicked, this, [this] { Predefiniti(); });
    connect(gruppoSoglia_, &QButtonGroup::idClicked, this,
            [this](int i) { Scrivi(keys::SogliaTipo, std::to_string(i)); });
    connect(chkRimanenza, &QCheckBox::clicked, this,
            [this](bool on) { Scrivi(keys::Rimanenza, on ? "1" : "0"); });
}

FrmOpzioniAvanzate::InfoLabels FrmOpzioniAvanzate::MakeInfoLabels() {
    InfoLabels info{};
    for (int i = 0; i < 10; ++i) {
        auto* e = new InfoLabel(i, this);
        e->setObjectName(Indicizzato("lbl_info2", i));
        e->setFixedWidth(18);
        connect(e, &InfoLabel::Premuta, this, [this](int k) {
            QString testo = k == 6 ? Utf8(
                                         "Indicare se questa è la vorsa principale.\r\nIn caso "
                                         "positivo verrà condivisa la cartella in ") +
                                         Testo(settings_.paths().programFolder) +
                                         Utf8(
                                             " con nome [ vorsa$ ] al fine di permetterne la "
                                             "visibilità alle altre vorse.")
                                   : Utf8(kInfo[k]);
            mostraInfo(QStringLiteral("INFO POINT"), testo);
        });
        info[static_cast<std::size_t>(i)] = e;
    }

    return info;
}

QGroupBox* FrmOpzioniAvanzate::ButtonsBox(const InfoLabels& info) {
    // Product buttons.
    auto* pulsanti = new QGroupBox(QStringLiteral("Pulsanti prodotti"), this);
    pulsanti->setObjectName(QStringLiteral("fraPulsanti"));
    auto* gp = new QGridLayout(pulsanti);
    const struct {
        const char* label;
        int maxLength;
    } bottoni[] = {{"Numero colonne:", 2},
                   {"Altezza:", 3},
                   {"Spaziatura orizzontale:", 3},
                   {"Spaziatura verticale:", 3}};
    for (int i = 0; i < 4; ++i) {
        auto* t = Campo(Indicizzato("txtPulsanti", i), bottoni[i].maxLength);
        txtPulsanti[static_cast<std::size_t>(i)] = t;
        gp->addWidget(Didascalia(bottoni[i].label, t), i, 0);
        gp->addWidget(t, i, 1);
    }
    gp->addWidget(info[2], 0, 2);
    cmdPulsantiDefault = new QPushButton(QStringLiteral("DEFAULT"), pulsanti);
    cmdPulsantiDefault->setObjectName(QStringLiteral("cmdPulsantiDefault"));
    gp->addWidget(cmdPulsantiDefault, 4, 0, 1, 2);

    return pulsanti;
}

QGroupBox* FrmOpzioniAvanzate::ThresholdBox(const InfoLabels& info) {
    // Stock threshold.
    auto* soglia = new QGroupBox(QStringLiteral("Soglia prodotti"), this);
    soglia->setObjectName(QStringLiteral("fraSoglia"));
    auto* gs = new QGridLayout(soglia);
    txtSogliaPredefinita = Campo(QStringLiteral("txtSogliaPredefinita"), 2);
    gs->addWidget(Didascalia("Valore predefinito:", txtSogliaPredefinita), 0, 0);
    gs->addWidget(txtSogliaPredefinita, 0, 1);
    gs->addWidget(info[1], 0, 2);
    gruppoSoglia_ = new QButtonGroup(this);
    const char* tipi[] = {"Gestione a numero pezzi", "Gestione con percentuale"};
    for (int i = 0; i < 2; ++i) {
        auto* o = new QRadioButton(Utf8(tipi[i]), soglia);
        o->setObjectName(Indicizzato("optTipoSoglia", i));
        gruppoSoglia_->addButton(o, i);
        optTipoSoglia[static_cast<std::size_t>(i)] = o;
        gs->addWidget(o, i + 1, 0, 1, 3);
    }

    return soglia;
}

QGroupBox* FrmOpzioniAvanzate::OtherOptionsBox(const InfoLabels& info) {
    // Other options.
    auto* varie = new QGroupBox(QStringLiteral("Opzioni varie"), this);
    varie->setObjectName(QStringLiteral("fraVarie"));
    auto* gv = new QGridLayout(varie);
    txtVorsa = Campo(QStringLiteral("txt_Vorsa"), 2);
    gv->addWidget(Didascalia("Prefisso scontrino:", txtVorsa), 0, 0);
    gv->addWidget(txtVorsa, 0, 1);
    gv->addWidget(info[0], 0, 2);
    chkRimanenza = new QCheckBox(QStringLiteral("Visualizza rimanenza"), varie);
    chkRimanenza->setObjectName(QStringLiteral("chkRimanenza"));
    gv->addWidget(chkRimanenza, 1, 0, 1, 2);
    gv->addWidget(info[8], 1, 2);
    // Shown for the operator's orientation; these carry no behaviour in this dialog.
    const struct {
        const char* name;
        const char* caption;
    } inerti[] = {{"chkBordiMagnetici", "Abilita bordi magnetici"},
                  {"chkAggiornamenti", "Controlla aggiornamenti"},
                  {"chkSituazioneAutomatica", "Abilita situazione prodotti automatica"}};
    int riga = 2;
    for (const auto& c : inerti) {
        auto* chk = new QCheckBox(Utf8(c.caption), varie);
        chk->setObjectName(Utf8(c.name));
        chk->setEnabled(false);
        gv->addWidget(chk, riga++, 0, 1, 2);
    }
    txtPulsanti[4] = Campo(Indicizzato("txtPulsanti", 4), 3);
    txtPulsanti[4]->setEnabled(false);
    auto* frequenza = new QHBoxLayout;
    frequenza->addWidget(Didascalia("Frequenza aggiornamento:", txtPulsanti[4]));
    frequenza->addWidget(txtPulsanti[4]);
    frequenza->addWidget(new QLabel(QStringLiteral("sec.")));
    frequenza->addWidget(info[9]);
    frequenza->addStretch();
    gv->addLayout(frequenza, riga++, 0, 1, 3);
    // The web pages have a dialog of their own: this one already fills the smallest screen.
    cmdPagineWeb = new QPushButton(QStringLiteral("Pagine web..."), varie);
    cmdPagineWeb->setObjectName(QStringLiteral("cmdPagineWeb"));
    gv->addWidget(cmdPagineWeb, riga, 0);
    connect(cmdPagineWeb, &QPushButton::clicked, this, [this] {
        FrmPagineWeb(
            settings_,
            [this] { return share_ ? share_->ListLocalAddresses() : ListLocalAddresses(); }, this)
            .exec();
    });

    return varie;
}

void FrmOpzioniAvanzate::TextFieldRules() {
    // Text fields: the key each writes and the rule that makes the stored text.
    const auto bottone = [this](int i, const KeyDef& key) {
        const std::string def = DefaultOf(key);
        campi_.push_back({txtPulsanti[static_cast<std::size_t>(i)],
                          &key,
                          [def](const std::string& t) {
                              const int n = NumeroCampo(t);
                              return n == 0 ? def : std::to_string(n);
                          },
                          {}});
    };
    bottone(0, keys::BottoniColonne);
    campi_.back().dopo = [this] {
        int& c = settings_.options().gBottoniColonne;
        c = std::min(c, kMaxColonne);
    };
    bottone(1, keys::BottoniAltezza);
    bottone(2, keys::BottoniBordo);
    bottone(3, keys::BottoniInterlinea);
    campi_.push_back({txtVorsa,
                      &keys::NomeVorsa,
                      [](const std::string& t) { return Left(ToUpper(Trim(t)), 2); },
                      {}});
    campi_.push_back({txtSogliaPredefinita,
                      &keys::SogliaProdotti,
                      [](const std::string& t) {
                          const double r = std::nearbyint(NumeroIniziale(t));
                          return r < kSogliaMin || r > kSogliaMax
                                     ? std::string(kSogliaProposta)
                                     : std::to_string(static_cast<int>(r));
                      },
                      {}});
    for (const TextField& c : campi_) c.box->installEventFilter(this);
}

void FrmOpzioniAvanzate::Carica() {
    const Options& o = settings_.options();
    for (const TextField& c : campi_) {
        std::string v = c.key->show ? c.key->show(o, {}) : std::string();
        // The column count is shown as typed, not as limited in memory.
        if (c.key == &keys::BottoniColonne) {
            const std::string typed = settings_.Read(keys::BottoniColonne);
            if (NumeroCampo(typed) > 0) v = typed;
        }
        c.box->setText(Testo(v));
    }
    optTipoSoglia[o.gSogliaTipo == 1 ? 1 : 0]->setChecked(true);
    chkRimanenza->setChecked(o.gMostraRimanenza);
    if (multi_) multi_->Carica();
}

bool FrmOpzioniAvanzate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut)
        for (const TextField& c : campi_)
            if (watched == c.box) Esci(c);
    if (multi_ && watched == txtVorsaRemota) {
        if (event->type() == QEvent::KeyPress && ScartaTastoRemoto(event)) return true;
        // Only a move to another control is leaving the field: a window coming up (the
        // notice of the check itself) is not.
        if (event->type() == QEvent::FocusOut && !verificando_) {
            const Qt::FocusReason r = static_cast<QFocusEvent*>(event)->reason();
            if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason) {
                verificando_ = true;
                multi_->EsciVorsaRemota(Cp1252(txtVorsaRemota->text()));
                verificando_ = false;
            }
        }
    }
    if (multi_ && watched == txtNomeVorsa && event->type() == QEvent::FocusOut)
        multi_->EsciNomeVorsa(Cp1252(txtNomeVorsa->text()));
    if (multi_ && watched == txtPasswordMulti && event->type() == QEvent::FocusOut)
        multi_->EsciPassword(Cp1252(txtPasswordMulti->text()));
    return QDialog::eventFilter(watched, event);
}

bool FrmOpzioniAvanzate::ScartaTastoRemoto(QEvent* event) {
    const auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Tab) return false;
    // Keys that type nothing (arrows, Delete, Home) are no key presses of the field's filter.
    const QString t = k->text();
    if (t.isEmpty()) return false;
    const char32_t c = t.toUcs4().value(0);
    return !TastoVorsaRemota(c < 0x80 ? static_cast<int>(c) : -1);
}

void FrmOpzioniAvanzate::CreaRiquadroMulti(QWidget* multi, const std::array<InfoLabel*, 10>& info) {
    auto* gm = new QGridLayout(multi);
    chkMulti = new QCheckBox(QStringLiteral("Abilita gestione multi-vorsa"), multi);
    chkMulti->setObjectName(QStringLiteral("chkMulti"));
    gm->addWidget(chkMulti, 0, 0, 1, 3);
    gm->addWidget(info[3], 0, 3);
    lblSceltaMulti = new QLabel(Utf8("Questa è la vorsa principale?"), multi);
    lblSceltaMulti->setObjectName(QStringLiteral("lblSceltaMulti"));
    gm->addWidget(lblSceltaMulti, 1, 0);
    const char* ruoli[] = {"NO", "SI"};
    for (int i : {1, 0}) {
        auto* o = new QRadioButton(QString::fromLatin1(ruoli[i]), multi);
        o->setObjectName(Indicizzato("optVorsaPrinc", i));
        // Both can be clear (mode off): the rules set them, not the group.
        o->setAutoExclusive(false);
        optVorsaPrinc[static_cast<std::size_t>(i)] = o;
        gm->addWidget(o, 1, 2 - i);
    }
    gm->addWidget(info[6], 1, 3);
    txtNomeVorsa = new QLineEdit(multi);
    txtNomeVorsa->setObjectName(QStringLiteral("txtNomeVorsa"));
    gm->addWidget(Didascalia("Nome vorsa:", txtNomeVorsa), 2, 0);
    gm->addWidget(txtNomeVorsa, 2, 1, 1, 2);
    gm->addWidget(info[5], 2, 3);
    // The share's password, the same on every till; empty leaves the data open to anyone.
    txtPasswordMulti = new QLineEdit(multi);
    txtPasswordMulti->setObjectName(QStringLiteral("txtPasswordMulti"));
    txtPasswordMulti->setEchoMode(QLineEdit::Password);
    gm->addWidget(Didascalia("Password:", txtPasswordMulti), 3, 0);
    gm->addWidget(txtPasswordMulti, 3, 1, 1, 2);
    lblSenzaPassword = new QLabel(
        Utf8("Senza password chiunque sia collegato alla rete può modificare i dati"), multi);
    lblSenzaPassword->setObjectName(QStringLiteral("lblSenzaPassword"));
    lblSenzaPassword->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    lblSenzaPassword->hide();
    gm->addWidget(lblSenzaPassword, 4, 0, 1, 4);

    auto* principale = MainTillBox(multi, info);
    gm->addWidget(principale, 5, 0, 1, 4);
    auto* secondaria = SecondaryTillBox(multi, info);
    gm->addWidget(secondaria, 6, 0, 1, 4);
    frmOpt = {secondaria, principale};
    for (QWidget* f : frmOpt) f->hide();
    gm->setRowStretch(7, 1);

    ConnectMulti();
}

void FrmOpzioniAvanzate::ConnectMulti() {
    if (!multi_) {
        // No network services: the frame is shown, the help texts answer, nothing acts.
        for (QWidget* w : std::initializer_list<QWidget*>{
                 chkMulti, lblSceltaMulti, optVorsaPrinc[0], optVorsaPrinc[1], txtNomeVorsa,
                 txtPasswordMulti, lstIpAddress, txtVorsaRemota})
            w->setEnabled(false);
        return;
    }
    connect(chkMulti, &QCheckBox::clicked, this, [this](bool on) { multi_->CambiaMulti(on); });
    for (int i = 0; i < 2; ++i)
        connect(optVorsaPrinc[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { multi_->ScegliRuolo(i); });
    txtVorsaRemota->installEventFilter(this);
    txtNomeVorsa->installEventFilter(this);
    txtPasswordMulti->installEventFilter(this);
}

QGroupBox* FrmOpzioniAvanzate::MainTillBox(QWidget* multi, const InfoLabels& info) {
    auto* principale = new QGroupBox(multi);
    principale->setObjectName(Indicizzato("frmOpt", 1));
    auto* gpr = new QGridLayout(principale);
    lblNomePostazione = new QLabel(principale);
    lblNomePostazione->setObjectName(QStringLiteral("lblNomePostazione"));
    gpr->addWidget(new QLabel(QStringLiteral("Nome postazione:")), 0, 0);
    gpr->addWidget(lblNomePostazione, 0, 1);
    lstIpAddress = new QListWidget(principale);
    lstIpAddress->setObjectName(QStringLiteral("lstIpAddress"));
    // Qt names a list by its own accessible name only, not by its buddy label.
    lstIpAddress->setAccessibleName(QStringLiteral("Indirizzi di rete:"));
    // A few addresses; the list scrolls for more.
    lstIpAddress->setMaximumHeight(3 * lstIpAddress->fontMetrics().height() + 8);
    gpr->addWidget(Didascalia("Indirizzi di rete:", lstIpAddress), 1, 0, Qt::AlignTop);
    gpr->addWidget(lstIpAddress, 1, 1);
    gpr->addWidget(info[4], 1, 2, Qt::AlignTop);
    auto* suggerimentoPrinc =
        new QLabel(Utf8("Inserire o il nome postazione o uno degli indirizzi di rete\n"
                        "nel box della vorsa secondaria"),
                   principale);
    gpr->addWidget(suggerimentoPrinc, 2, 0, 1, 3);
    return principale;
}

QGroupBox* FrmOpzioniAvanzate::SecondaryTillBox(QWidget* multi, const InfoLabels& info) {
    auto* secondaria = new QGroupBox(multi);
    secondaria->setObjectName(Indicizzato("frmOpt", 0));
    auto* gse = new QGridLayout(secondaria);
    txtVorsaRemota = new QLineEdit(secondaria);
    txtVorsaRemota->setObjectName(QStringLiteral("txtVorsaRemota"));
    // What the key filter keeps out must not come in by the mouse either.
    txtVorsaRemota->setContextMenuPolicy(Qt::NoContextMenu);
    txtVorsaRemota->setAcceptDrops(false);
    gse->addWidget(Didascalia("Vorsa principale:", txtVorsaRemota), 0, 0);
    gse->addWidget(txtVorsaRemota, 0, 1);
    gse->addWidget(info[7], 0, 2);
    auto* suggerimentoSec =
        new QLabel(Utf8("Inserire o il nome postazione o uno degli indirizzi di rete\n"
                        "della vorsa principale."),
                   secondaria);
    gse->addWidget(suggerimentoSec, 1, 0, 1, 3);
    lblVerifica = new QLabel(QStringLiteral("VERIFICA DEL SISTEMA REMOTO IN CORSO"), secondaria);
    lblVerifica->setObjectName(QStringLiteral("lblVerifica"));
    lblVerifica->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    lblVerifica->hide();
    gse->addWidget(lblVerifica, 2, 0, 1, 3);
    return secondaria;
}

void FrmOpzioniAvanzate::Mostra(const MultiTillFrame& r) {
    chkMulti->setChecked(r.chkMulti);
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblSceltaMulti, optVorsaPrinc[0], optVorsaPrinc[1]})
        w->setEnabled(r.sceltaAbilitata);
    for (std::size_t i = 0; i < 2; ++i) optVorsaPrinc[i]->setChecked(r.optVorsaPrinc[i]);
    // Hidden before shown, so the window never grows to hold both frames at once.
    for (std::size_t i = 0; i < 2; ++i)
        if (!r.frmOpt[i]) frmOpt[i]->hide();
    for (std::size_t i = 0; i < 2; ++i)
        if (r.frmOpt[i]) frmOpt[i]->show();
    lblNomePostazione->setText(Testo(r.lblNomePostazione));
    // Rewriting a field the operator is in would move the caret.
    if (Cp1252(txtVorsaRemota->text()) != r.txtVorsaRemota)
        txtVorsaRemota->setText(Testo(r.txtVorsaRemota));
    if (Cp1252(txtNomeVorsa->text()) != r.txtNomeVorsa)
        txtNomeVorsa->setText(Testo(r.txtNomeVorsa));
    if (Cp1252(txtPasswordMulti->text()) != r.txtPasswordMulti)
        txtPasswordMulti->setText(Testo(r.txtPasswordMulti));
    lblSenzaPassword->setVisible(r.chkMulti && r.senzaPassword);
    QStringList indirizzi;
    for (const std::string& a : r.lstIpAddress) indirizzi << Testo(a);
    QStringList shown;
    for (int i = 0; i < lstIpAddress->count(); ++i) shown << lstIpAddress->item(i)->text();
    if (shown != indirizzi) {
        lstIpAddress->clear();
        lstIpAddress->addItems(indirizzi);
    }
    if (lblVerifica->isHidden() == r.lblVerifica) {
        lblVerifica->setVisible(r.lblVerifica);
        // Painted now: the check that follows may keep the window busy for a while.
        if (r.lblVerifica) lblVerifica->repaint();
    }
}

void FrmOpzioniAvanzate::Avvisa(const MultiOptionsNotice& a) {
    if (a.critico) {
        mostraErrore(a.title.empty() ? QStringLiteral("Vorsa") : Testo(a.title), Testo(a.text));
        return;
    }
    messaggi_->MostraMessaggio(Testo(a.title), Testo(a.text), Testo(a.hint), true, QString(),
                               QStringLiteral("OK"), true, 0);
}

void FrmOpzioniAvanzate::Esci(const TextField& c) {
    const std::string testo = c.regola(Cp1252(c.box->text()));
    c.box->setText(Testo(testo));
    Scrivi(*c.key, testo);
    if (c.dopo) c.dopo();
    SegnalaValore(*c.box, AvvisoValore(*c.key, testo));
}

void FrmOpzioniAvanzate::Scrivi(const KeyDef& key, const std::string& value) {
    if (&key == &keys::SogliaProdotti) {
        // Written as the dialog's range has it, past the key's own range (see kSogliaMax).
        settings_.Write(key, value);
        settings_.options().gSogliaProdotti = static_cast<int>(Val(value));
    } else {
        settings_.Set(key, value);
    }
    if (applicato_) applicato_(key);
}

void FrmOpzioniAvanzate::Predefiniti() {
    const KeyDef* chiavi[] = {&keys::BottoniColonne, &keys::BottoniAltezza, &keys::BottoniBordo,
                              &keys::BottoniInterlinea};
    // The four keys land in one file write.
    std::vector<KeyWrite> scritture;
    for (std::size_t i = 0; i < 4; ++i) {
        txtPulsanti[i]->setText(Testo(DefaultOf(*chiavi[i])));
        scritture.push_back({chiavi[i], {}, DefaultOf(*chiavi[i])});
    }
    ImpostaInsieme(settings_, scritture);
    if (applicato_) applicato_(keys::BottoniColonne);
}

}  // namespace vorsa
