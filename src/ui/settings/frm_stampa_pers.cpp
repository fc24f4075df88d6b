#include "ui/settings/frm_stampa_pers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "data/catalogue.h"
#include "platform/prompter.h"
#include "platform/qt/twips.h"
#include "platform/text.h"
#include "printing/page_setup.h"
#include "printing/print_groups.h"
#include "printing/receipt_printer.h"
#include "settings/key_writes.h"
#include "settings/odd_values.h"
#include "settings/settings_gateway.h"
#include "ui/settings/groups_page.h"
#include "ui/settings/preview_view.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/info_label.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {
namespace {

constexpr int kInfo = 19;
constexpr int kLatoAnteprima = 64;  // pixels of a picture's preview box

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

// Help texts of the info labels, by index.
const char* const kTestiInfo[kInfo] = {
    "Sceglere il tipo di stampa desiderato:\r\n"
    "* CUMULATIVO: tutti i prodotti su un unico scontrino.\r\n"
    "* SEPARATO: ogni prodotto su un unico scontrino.\r\n"
    "* CUMULATIVO A GRUPPI: uno scontrino per ogni sezione.\r\n"
    "* GESTIONE AVANZATA: uno scontrino per ogni gruppo definito nella pagina dei gruppi.",
    "Stampa un numero di scontrini pari alla quantità ordinata.  Ogni scontrino avrà "
    "quantità 1.",
    "Stampa il numero progressivo della transazione sullo scontrino.",
    "Stampa un riepilogo della transazione; con \"prod.\" anche le righe dei prodotti.",
    "Stampa un ticket di ritiro con il numero progressivo, da consegnare al cliente.",
    "Con \"Uno per gruppo\" viene stampato un ticket di ritiro per ogni gruppo.",
    "Righe del titolo stampate in testa allo scontrino, sotto l'immagine (se presente). "
    "La casella U sottolinea la riga.",
    "Testo che verrà inserito nel piede dello scontrino (se presente)",
    "Testo stampato sul ticket di ritiro.",
    "Usare il taglio alternativo se la stampante non taglia la carta al termine dello "
    "scontrino.",
    "Lunghezza del foglio: decisa dalla stampante oppure calcolata (corto, medio, lungo).",
    "Percentuale di ingrandimento dell'immagine (vuoto = 100).",
    "Margini superiore e inferiore in millimetri.",
    "Margini sinistro e destro in millimetri.",
    "Stampa il progressivo anche nel piede pagina",
    "Non stampa il totale sugli scontrini separati con un solo prodotto.",
    nullptr,  // 16 names the password file
    "Tasti delle comande: + e - scorrono le configurazioni, R le rinomina.",
    "Prodotti stampati su questa comanda.",
};

QLineEdit* Casella(const QString& name, int maxLength, int width) {
    auto* t = new QLineEdit;
    t->setObjectName(name);
    if (maxLength > 0) t->setMaxLength(maxLength);
    t->setMaximumWidth(width);
    return t;
}

QCheckBox* NuovaSpunta(const QString& name, const char* caption) {
    auto* c = new QCheckBox(Utf8(caption));
    c->setObjectName(name);
    return c;
}

}  // namespace

FrmStampaPers::FrmStampaPers(SettingsGateway& settings, ReceiptPrinter* printer,
                             Catalogue* catalogo, Prompter& domande, QWidget* owner,
                             std::function<void(const std::string&)> salvaPassword)
    : QDialog(owner),
      settings_(settings),
      printer_(printer),
      domande_(domande),
      catalogo_(catalogo),
      salvaPassword_(std::move(salvaPassword)) {
    setObjectName(QStringLiteral("frmStampaPers"));
    setWindowTitle(QStringLiteral("Opzioni di stampa"));
    setModal(true);
    DefaultBoxes();
    auto* root = new QVBoxLayout(this);
    auto* scelta = new QHBoxLayout;
    const char* pagine[] = {"Scontrino", "Comande", "Gruppi avanzati", "Anteprima"};
    auto* gruppoPagine = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(optPrnOpz.size()); ++i) {
        auto* o = new QRadioButton(Utf8(pagine[i]), this);
        o->setObjectName(Indicizzato("optPrnOpz", i));
        gruppoPagine->addButton(o, i);
        optPrnOpz[static_cast<std::size_t>(i)] = o;
        scelta->addWidget(o);
    }
    scelta->addStretch();
    root->addLayout(scelta);
    pagine_ = new QStackedWidget(this);
    pagine_->addWidget(PaginaScontrino());
    pagine_->addWidget(PaginaComande());
    pagine_->addWidget(PaginaAvanzata());
    pagine_->addWidget(PreviewPage());
    root->addWidget(pagine_);
    optPrnOpz[0]->setChecked(true);
    connect(gruppoPagine, &QButtonGroup::idClicked, pagine_, &QStackedWidget::setCurrentIndex);

    cmdChiudi = RigaChiudi(*this, *root);

    Carica();
    Anteprima();
    RendiAccessibile(*this);
}

void FrmStampaPers::DefaultBoxes() {
    const QString cartella = Testo(settings_.paths().programFolder);
    scegliImmagine = [this, cartella] {
        return QFileDialog::getOpenFileName(
            this, Utf8("Seleziona un'immagine"), cartella,
            Utf8("Immagini possibili: ICO - GIF - JPG - PNG (*.ico *.gif *.jpg *.jpeg *.png)"));
    };
    mostraInfo = [this](const QString& t, const QString& x) {
        QMessageBox::information(this, t, x);
    };
}

FrmStampaPers::~FrmStampaPers() = default;

QWidget* FrmStampaPers::PaginaScontrino() {
    auto* pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("paginaScontrino"));
    auto* g = new QGridLayout(pagina);
    g->setContentsMargins(0, 0, 0, 0);
    const InfoLabels info = MakeInfoLabels(pagina);
    g->addWidget(ModeBox(pagina, info), 0, 0);
    g->addWidget(ContentBox(pagina, info), 0, 1);
    g->addWidget(TextsBox(pagina, info), 1, 0, 1, 3);
    g->addWidget(PicturesAndPaperBox(pagina, info), 0, 2);
    for (const CheckItem& s : spunte_) {
        const QCheckBox* box = s.box;
        connect(s.box, &QCheckBox::clicked, this, [this, box] { Spuntata(*Trova(box)); });
    }
    for (const TextField& c : campi_) c.box->installEventFilter(this);
    return pagina;
}

FrmStampaPers::InfoLabels FrmStampaPers::MakeInfoLabels(QWidget* pagina) {
    static_assert(std::tuple_size_v<InfoLabels> == kInfo);
    InfoLabels info{};
    for (int i = 0; i < kInfo; ++i) {
        auto* e = new InfoLabel(i, pagina);
        e->setObjectName(Indicizzato("lbl_info2", i));
        e->setFixedWidth(16);
        connect(e, &InfoLabel::Premuta, this, [this](int k) {
            const QString testo =
                k == 16 ? Utf8(
                              "Password richiesta per la ristampa dell'ultimo scontrino "
                              "(vuota = nessuna password).\r\nLe password sono memorizzate "
                              "qui: ") +
                              Testo(settings_.paths().gFilePassword)
                        : Utf8(kTestiInfo[k]);
            mostraInfo(QStringLiteral("INFO POINT"), testo);
        });
        info[static_cast<std::size_t>(i)] = e;
    }
    // Info labels 17 and 18 sit on the kitchen-order page.
    info[17]->setParent(nullptr);
    info[18]->setParent(nullptr);
    infoComande_ = {info[17], info[18]};

    return info;
}

QGroupBox* FrmStampaPers::ModeBox(QWidget* pagina, const InfoLabels& info) {
    // Receipt mode and copies.
    auto* modo = new QGroupBox(QStringLiteral("Tipo di stampa"), pagina);
    auto* gm = new QGridLayout(modo);
    auto* gruppoModo = new QButtonGroup(this);
    const char* modi[] = {"Cumulativo", "Separato", "Cumulativo a gruppi", "Gestione avanzata"};
    for (int i = 0; i < 4; ++i) {
        auto* o = new QRadioButton(Utf8(modi[i]), modo);
        o->setObjectName(Indicizzato("opt_StampaCumulo", i));
        gruppoModo->addButton(o, i);
        optStampaCumulo[static_cast<std::size_t>(i)] = o;
        gm->addWidget(o, i, 0, 1, 3);
    }
    gm->addWidget(info[0], 0, 3);
    connect(gruppoModo, &QButtonGroup::idClicked, this, [this](int i) {
        settings_.Set(keys::Cumulativo, std::to_string(i));
        Anteprima();
    });
    for (int i = 0; i < 2; ++i) {
        auto* t = Casella(Indicizzato("txt_StampaCopie", i), 3, 40);
        t->setToolTip(QStringLiteral("Vale solo per la stampa automatica"));
        txtStampaCopie[static_cast<std::size_t>(i)] = t;
        campi_.push_back({t, &keys::Copie, Idx(i), {}});
    }
    gm->addWidget(Didascalia("Numero copie scontrino:", txtStampaCopie[0]), 4, 0);
    gm->addWidget(txtStampaCopie[0], 4, 1);
    gm->addWidget(Didascalia("riepilogo:", txtStampaCopie[1]), 5, 0, Qt::AlignRight);
    gm->addWidget(txtStampaCopie[1], 5, 1);

    return modo;
}

QGroupBox* FrmStampaPers::ContentBox(QWidget* pagina, const InfoLabels& info) {
    // What a receipt shows.
    auto* contenuto = new QGroupBox(QStringLiteral("Contenuto scontrino"), pagina);
    auto* gc = new QGridLayout(contenuto);
    MakeArrayChecks();
    int r = 0;
    const auto riga = [&](QWidget* a, QWidget* b, InfoLabel* i) {
        gc->addWidget(a, r, 0, 1, b ? 1 : 2);
        if (b) gc->addWidget(b, r, 1);
        if (i) gc->addWidget(i, r, 2);
        ++r;
    };
    riga(chkStampaTotale[0], chkStampaTotale[1], info[15]);
    // One box a key, each on its row.
    const struct {
        const char* name;
        const char* caption;
        const KeyDef* key;
        int info;  // -1: none
    } simple[] = {
        {"chk_StampaPrezzi", "Stampa prezzi articoli", &keys::Prezzi, -1},
        {"chk_StampaScontriniQta", "Nr. qtà art. = Nr. scontrini", &keys::ScontriniQta, 1},
        {"chk_StampaDataOra", "Stampa data e ora sotto il titolo", &keys::ScontriniDataOra, -1},
        {"chk_RiduciCarattereRiga", "Se nome prodotto troppo lungo riduci carattere",
         &keys::RiduciCarattereRiga, -1},
        {"chk_TaglioCartaAlternativo", "Taglio alternativo", &keys::TaglioAlternativo, 9},
        {"chk_StampaNomeGruppo", "Stampa nome gruppo", &keys::NomeGruppo, -1},
    };
    for (const auto& c : simple) {
        QCheckBox* box = NuovaSpunta(QString::fromLatin1(c.name), c.caption);
        spunte_.push_back({box, c.key, {}});
        riga(box, nullptr, c.info < 0 ? nullptr : info[static_cast<std::size_t>(c.info)]);
    }
    riga(chkStampaRiepilogo[0], chkStampaRiepilogo[1], info[3]);
    riga(chkStampaProgressivo[0], nullptr, info[2]);
    riga(chkStampaProgressivo[1], chkStampaProgressivo[2], info[4]);
    riga(chkStampaProgressivo[3], nullptr, info[5]);
    riga(chkStampaProgressivo[4], nullptr, info[14]);
    return contenuto;
}

void FrmStampaPers::MakeArrayChecks() {
    chkStampaTotale[0] = NuovaSpunta(Indicizzato("chk_StampaTotale", 0), "Stampa totale scontrino");
    chkStampaTotale[1] = NuovaSpunta(Indicizzato("chk_StampaTotale", 1), "No su separato");
    chkStampaRiepilogo[0] = NuovaSpunta(Indicizzato("chk_StampaRiepilogo", 0), "Riepilogo");
    chkStampaRiepilogo[1] = NuovaSpunta(Indicizzato("chk_StampaRiepilogo", 1), "prod.");
    const char* progressivo[] = {"Stampa progressivo", "Stampa ticket ritiro", "Uno per gruppo",
                                 "Stampa codice a barre (Code 39)", "Anche nel piede"};
    for (int i = 0; i < 5; ++i)
        chkStampaProgressivo[static_cast<std::size_t>(i)] =
            NuovaSpunta(Indicizzato("chk_StampaProgressivo", i), progressivo[i]);
    // Check boxes: each its key.
    spunte_.insert(spunte_.end(), {{chkStampaTotale[0], &keys::Totale, {}},
                                   {chkStampaTotale[1], &keys::TotaleNoSingolo, {}},
                                   {chkStampaRiepilogo[0], &keys::Summary, Idx(0)},
                                   {chkStampaRiepilogo[1], &keys::Summary, Idx(1)},
                                   {chkStampaProgressivo[0], &keys::Progressivo, {}},
                                   {chkStampaProgressivo[1], &keys::TicketRitiro, {}},
                                   {chkStampaProgressivo[2], &keys::TicketRitiroGruppo, {}},
                                   {chkStampaProgressivo[3], &keys::TicketRitiroBarre, {}},
                                   {chkStampaProgressivo[4], &keys::ProgressivoPiede, {}}});
    // In order: a master cleared here clears the masters after it in turn.
    dipendenze_ = {
        {chkStampaTotale[0], {chkStampaTotale[1]}, false},
        {chkStampaRiepilogo[0], {chkStampaRiepilogo[1]}, false},
        {chkStampaProgressivo[0],
         {chkStampaProgressivo[1], chkStampaProgressivo[3], chkStampaProgressivo[4]},
         true},
        {chkStampaProgressivo[1], {chkStampaProgressivo[2]}, true},
    };
}

QGroupBox* FrmStampaPers::TextsBox(QWidget* pagina, const InfoLabels& info) {
    // Titles, footer and pickup text.
    auto* testi = new QGroupBox(QStringLiteral("Testi"), pagina);
    auto* gt = new QGridLayout(testi);
    const struct {
        const char* label;
        const KeyDef* key;
        QLineEdit** box;
        int und;  // underline box, -1 for none
        int info;
    } righe[] = {{"Titolo:", &keys::Titolo, &txtStampaTitolo[0], 0, 6},
                 {"Titolo 2:", &keys::Titolo2, &txtStampaTitolo[1], 1, -1},
                 {"Piede:", &keys::Piede, &txtStampaPiede, 2, 7},
                 {"Ticket ritiro:", &keys::TestoRitiro, &txtTestoRitiro, -1, 8}};
    const QString nomi[] = {Indicizzato("txt_StampaTitolo", 0), Indicizzato("txt_StampaTitolo", 1),
                            QStringLiteral("txt_StampaPiede"), QStringLiteral("txt_TestoRitiro")};
    for (int i = 0; i < 4; ++i) {
        auto* t = Casella(nomi[i], 30, 16777215);
        t->setMinimumWidth(t->fontMetrics().horizontalAdvance(QString(22, QLatin1Char('n'))));
        *righe[i].box = t;
        campi_.push_back({t, righe[i].key, Idx{}, {}});
        // Two texts a row: label, box, underline, info.
        const int r0 = i / 2, c0 = (i % 2) * 4;
        gt->addWidget(Didascalia(righe[i].label, t), r0, c0);
        gt->addWidget(t, r0, c0 + 1);
        if (righe[i].und >= 0) {
            auto* u = NuovaSpunta(Indicizzato("chk_testo_und", righe[i].und), "U");
            u->setToolTip(QStringLiteral("Sottolineato"));
            chkTestoUnd[static_cast<std::size_t>(righe[i].und)] = u;
            gt->addWidget(u, r0, c0 + 2);
        }
        if (righe[i].info >= 0)
            gt->addWidget(info[static_cast<std::size_t>(righe[i].info)], r0, c0 + 3);
    }

    for (int i = 0; i < 3; ++i)
        spunte_.push_back(
            {chkTestoUnd[static_cast<std::size_t>(i)], &keys::TitoloSottolineato, Idx(i)});
    return testi;
}

QGroupBox* FrmStampaPers::PicturesAndPaperBox(QWidget* pagina, const InfoLabels& info) {
    // Pictures, margins, paper and password.
    auto* altro = new QGroupBox(QStringLiteral("Immagini, margini e carta"), pagina);
    auto* ga = new QGridLayout(altro);
    for (int i = 0; i < 2; ++i) AddPicture(i, altro, ga, info);
    const char* margini[] = {"Margine sup.:", "inf.:", "Margine sin.:", "des.:"};
    for (int i = 0; i < 4; ++i) {
        auto* t = Casella(Indicizzato("txtMargine", i), 4, 50);
        t->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), t));
        txtMargine[static_cast<std::size_t>(i)] = t;
        campi_.push_back({t, &keys::Margine, Idx(i), [this, i](const std::string&) {
                              if (printer_) printer_->Setup().MarginChanged(i);
                          }});
        ga->addWidget(Didascalia(margini[i], t), 2 + i / 2, (i % 2) * 2 == 0 ? 0 : 2,
                      Qt::AlignRight);
        if (i % 2 == 0) {
            ga->addWidget(t, 2 + i / 2, 1);
        } else {
            auto* coppia = new QHBoxLayout;
            coppia->addWidget(t);
            coppia->addWidget(info[static_cast<std::size_t>(12 + i / 2)]);
            ga->addLayout(coppia, 2 + i / 2, 3);
        }
    }
    cboGestioneCarta = new QComboBox(altro);
    cboGestioneCarta->setObjectName(QStringLiteral("cboGestioneCarta"));
    for (const char* c : {"Stampante", "Foglio corto", "Foglio medio", "Foglio lungo"})
        cboGestioneCarta->addItem(Utf8(c));
    ga->addWidget(Didascalia("Lunghezza carta:", cboGestioneCarta), 4, 0);
    ga->addWidget(cboGestioneCarta, 4, 1, 1, 2);
    ga->addWidget(info[10], 4, 3);
    connect(cboGestioneCarta, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        if (printer_)
            printer_->SelezionaCalcolaCarta(i);
        else
            settings_.Set(keys::CalcolaCarta, std::to_string(i));
        Anteprima();
    });
    txtPwd = Casella(Indicizzato("txt_Pwd", 5), 0, 140);
    txtPwd->setEchoMode(QLineEdit::Password);
    txtPwd->installEventFilter(this);
    ga->addWidget(Didascalia("Passw. ristampa:", txtPwd), 5, 0);
    ga->addWidget(txtPwd, 5, 1, 1, 2);
    ga->addWidget(info[16], 5, 3);

    return altro;
}

void FrmStampaPers::AddPicture(int i, QGroupBox* altro, QGridLayout* ga, const InfoLabels& info) {
    const char* posti[] = {"Immagine sopra il titolo:", "Immagine nel piede:"};
    const auto k = static_cast<std::size_t>(i);
    auto* p = new QPushButton(altro);
    p->setObjectName(Indicizzato("Pic", i));
    p->setFixedSize(kLatoAnteprima + 12, kLatoAnteprima);
    p->setIconSize(QSize(kLatoAnteprima - 6, kLatoAnteprima - 6));
    p->setToolTip(QStringLiteral("Clicca per scegliere o eliminare l'immagine"));
    pic[k] = p;
    // The placeholder sits inside the empty picture box.
    auto* segnaposto = new QLabel(QStringLiteral("Nessuna immagine"), p);
    segnaposto->setObjectName(Indicizzato("lblPic", i));
    segnaposto->setWordWrap(true);
    segnaposto->setAlignment(Qt::AlignCenter);
    segnaposto->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* dentro = new QVBoxLayout(p);
    dentro->setContentsMargins(3, 3, 3, 3);
    dentro->addWidget(segnaposto);
    lblPic[k] = segnaposto;
    auto* perc = Casella(Indicizzato("txtPercImg", i), 3, 44);
    perc->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), perc));
    txtPercImg[k] = perc;
    campi_.push_back({perc, &keys::ImmaginePercento, Idx(i), [this, k](const std::string& v) {
                          settings_.options().headerImages[k].percent = static_cast<int>(Val(v));
                      }});
    auto* titolo = new QLabel(Utf8(posti[i]), altro);
    titolo->setWordWrap(true);
    ga->addWidget(titolo, 0, i * 2, 1, 2);
    ga->addWidget(p, 1, i * 2);
    auto* lato = new QVBoxLayout;
    auto* percLayout = new QHBoxLayout;
    percLayout->addWidget(Didascalia("%:", perc));
    percLayout->addWidget(perc);
    if (i == 1) percLayout->addWidget(info[11]);
    lato->addLayout(percLayout);
    ga->addLayout(lato, 1, i * 2 + 1);
    p->setAccessibleName(Utf8(posti[i]).chopped(1));
    connect(p, &QPushButton::clicked, this, [this, i] { ClickImmagine(i); });
}

void FrmStampaPers::Carica() {
    const Options& o = settings_.options();
    for (const CheckItem& s : spunte_) s.box->setChecked(s.key->show(o, s.idx) == "1");
    for (const TextField& c : campi_) {
        // Picture percentages are not held until a picture is used: read them from the file.
        const std::string v =
            c.key->show ? c.key->show(o, c.idx) : Correct(*c.key, settings_.Read(*c.key, c.idx));
        c.box->setText(Testo(v));
    }
    optStampaCumulo[static_cast<std::size_t>(std::clamp(o.gCumulativo, 0, 3))]->setChecked(true);
    cboGestioneCarta->setCurrentIndex(std::clamp(o.gCalcolaCarta, 0, 3));
    txtPwd->setText(
        Testo(DecodificaPassword(kChiavePassword, settings_.Read(keys::PasswordAzione, 5))));
    for (int i = 0; i < 2; ++i) MostraImmagine(i);
    Dipendenze(nullptr);

    cboNomeComanda->clear();
    for (const KitchenOrderConfig& k : o.gComande) cboNomeComanda->addItem(Testo(k.nome));
    cboNomeComanda->setCurrentIndex(0);
    CaricaComanda();
}

const FrmStampaPers::CheckItem* FrmStampaPers::Trova(const QCheckBox* box) const {
    for (const CheckItem& s : spunte_)
        if (s.box == box) return &s;
    return nullptr;
}

void FrmStampaPers::Spuntata(const CheckItem& s) {
    // A box and the dependants it clears land in the file together.
    std::vector<KeyWrite> scritture = {{s.key, s.idx, s.box->isChecked() ? "1" : "0"}};
    Dipendenze(&scritture);
    ImpostaInsieme(settings_, scritture);
    Anteprima();
}

void FrmStampaPers::Dipendenze(std::vector<KeyWrite>* scritture) {
    for (const Dependency& d : dipendenze_) {
        const bool on = d.master->isChecked() && d.master->isEnabled();
        for (QCheckBox* c : d.dipendenti) {
            c->setEnabled(on);
            if (on || !d.azzera || !scritture || !c->isChecked()) continue;
            c->setChecked(false);
            const CheckItem* s = Trova(c);
            scritture->push_back({s->key, s->idx, "0"});
        }
    }
}

bool FrmStampaPers::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == txtPwd && salvaPassword_) salvaPassword_(Cp1252(txtPwd->text()));
        for (const TextField& c : campi_)
            if (watched == c.box) Esci(c);
        for (int m = 0; m < 4; ++m) {
            QLineEdit* t = txtMargineComanda[static_cast<std::size_t>(m)];
            if (watched != t) continue;
            t->setText(
                Testo(settings_.Set(keys::ComandaMargine, Cp1252(t->text()), Idx(Comanda(), m))));
            RicalcolaComanda();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmStampaPers::Esci(const TextField& c) {
    const std::string stored = settings_.Set(*c.key, Cp1252(c.box->text()), c.idx);
    c.box->setText(Testo(stored));
    SegnalaValore(*c.box, AvvisoValore(*c.key, stored));
    if (c.dopo) c.dopo(stored);
    Anteprima();
}

void FrmStampaPers::ClickImmagine(int i) {
    const auto k = static_cast<std::size_t>(i);
    HeaderImage& im = settings_.options().headerImages[k];
    if (!settings_.Read(keys::Immagine, i).empty()) {
        if (!domande_.ConfermaSiNo("GESTIONE IMMAGINE", "Eliminare l'immagine ?")) return;
        settings_.Write(keys::Immagine, "", i);
        im = HeaderImage{};
        MostraImmagine(i);
        Anteprima();
        return;
    }
    const QString scelta = scegliImmagine();
    if (scelta.isEmpty()) return;
    QImageReader lettore(scelta);
    const QImage img = lettore.read();
    if (img.isNull()) {
        domande_.Avviso("GESTIONE IMMAGINE",
                        Cp1252(Utf8("Impossibile leggere l'immagine:\n%1\n\nFormati accettati: "
                                    "ICO, GIF, JPG, PNG.")
                                   .arg(scelta)));
        return;
    }
    const std::string path = Cp1252(scelta);
    const int h = PixelsToTwipsY(img.height());
    const int w = PixelsToTwipsX(img.width());
    // The path and the picture's size land in the file together.
    ScriviInsieme(settings_, {{&keys::Immagine, Idx(i), path},
                              {&keys::ImmagineAltezza, Idx(i), std::to_string(h)},
                              {&keys::ImmagineLarghezza, Idx(i), std::to_string(w)}});
    im.path = path;
    im.height = h;
    im.width = w;
    im.percent = static_cast<int>(Val(Cp1252(txtPercImg[k]->text())));
    if (im.percent <= 0) im.percent = keys::ImmaginePercento.def;
    MostraImmagine(i);
    Anteprima();
}

void FrmStampaPers::MostraImmagine(int i) {
    const auto k = static_cast<std::size_t>(i);
    const std::string& path = settings_.options().headerImages[k].path;
    QImage img;
    if (!path.empty()) img = QImageReader(Testo(path)).read();
    if (img.isNull()) {
        pic[k]->setIcon(QIcon());
        lblPic[k]->show();
        return;
    }
    pic[k]->setIcon(QIcon(QPixmap::fromImage(img)));
    lblPic[k]->hide();
}

QWidget* FrmStampaPers::PaginaComande() {
    auto* pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("paginaComande"));
    auto* g = new QGridLayout(pagina);
    g->addLayout(OrderChoiceRow(pagina), 0, 0, 1, 2);
    g->addWidget(OrderPrintBox(pagina), 1, 0);
    g->addWidget(OrderArticlesBox(pagina), 1, 1);
    g->setColumnStretch(1, 1);
    connect(cboNomeComanda, qOverload<int>(&QComboBox::activated), this,
            [this](int) { CaricaComanda(); });
    connect(chkAbilitaComanda, &QCheckBox::clicked, this, [this](bool on) {
        settings_.Set(keys::ComandaAbilitata, on ? "1" : "0", Idx(Comanda()));
    });
    connect(cboStampantiComanda, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        settings_.Set(keys::ComandaStampante, Cp1252(cboStampantiComanda->itemText(i)),
                      Idx(Comanda()));
        RicalcolaComanda();
    });
    connect(cboCartaComanda, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        settings_.Set(keys::ComandaFormato, std::to_string(i), Idx(Comanda()));
        RicalcolaComanda();
    });
    connect(cboCalcolaCartaComanda, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        settings_.Set(keys::ComandaCalcolaCarta, std::to_string(i), Idx(Comanda()));
    });
    // Every tick is written at once, so closing the window by its frame loses nothing.
    connect(lstProdottiComanda, &QListWidget::itemChanged, this, [this] {
        if (!caricando_) ScriviProdotti();
    });
    return pagina;
}

QHBoxLayout* FrmStampaPers::OrderChoiceRow(QWidget* pagina) {
    auto* scelta = new QHBoxLayout;
    cboNomeComanda = new QComboBox(pagina);
    cboNomeComanda->setObjectName(QStringLiteral("cboNomeComanda"));
    cboNomeComanda->setMinimumWidth(160);
    scelta->addWidget(Didascalia("Comanda:", cboNomeComanda));
    scelta->addWidget(cboNomeComanda);
    const char* comandi[] = {"-", "+", "R"};
    const char* suggerimenti[] = {"Elimina l'ultima comanda", "Aggiungi una comanda",
                                  "Rinomina la comanda"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(Utf8(comandi[i]), pagina);
        b->setObjectName(Indicizzato("cmdNumComande", i));
        b->setToolTip(Utf8(suggerimenti[i]));
        b->setAccessibleName(Utf8(suggerimenti[i]));
        b->setMinimumWidth(36);
        cmdNumComande[static_cast<std::size_t>(i)] = b;
        scelta->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { NumComande(i); });
    }
    scelta->addWidget(infoComande_[0]);
    chkAbilitaComanda = NuovaSpunta(QStringLiteral("chkAbilitaComanda"), "Abilitato");
    scelta->addWidget(chkAbilitaComanda);
    scelta->addStretch();

    return scelta;
}

QGroupBox* FrmStampaPers::OrderPrintBox(QWidget* pagina) {
    auto* stampa = new QGroupBox(QStringLiteral("Stampa"), pagina);
    auto* gs = new QGridLayout(stampa);
    cboStampantiComanda = new QComboBox(stampa);
    cboStampantiComanda->setObjectName(QStringLiteral("cboStampantiComanda"));
    if (printer_)
        for (const std::string& n : printer_->Setup().printerList)
            cboStampantiComanda->addItem(Testo(n));
    gs->addWidget(Didascalia("Stampante:", cboStampantiComanda), 0, 0);
    gs->addWidget(cboStampantiComanda, 0, 1, 1, 3);
    cboCartaComanda = new QComboBox(stampa);
    cboCartaComanda->setObjectName(QStringLiteral("cboCartaComanda"));
    for (const char* c : {"A4", "A5", "A6", "A7", "POS 57mm", "POS 80mm", "POS 120mm"})
        cboCartaComanda->addItem(Utf8(c));
    gs->addWidget(Didascalia("Formato:", cboCartaComanda), 1, 0);
    gs->addWidget(cboCartaComanda, 1, 1, 1, 3);
    cboCalcolaCartaComanda = new QComboBox(stampa);
    cboCalcolaCartaComanda->setObjectName(QStringLiteral("cboCalcolaCartaComanda"));
    for (const char* c : {"Stampante", "Corto", "Medio", "Lungo"})
        cboCalcolaCartaComanda->addItem(Utf8(c));
    gs->addWidget(Didascalia("Lunghezza carta:", cboCalcolaCartaComanda), 2, 0);
    gs->addWidget(cboCalcolaCartaComanda, 2, 1, 1, 3);
    const char* margini[] = {"Margine sup.:", "inf.:", "Margine sin.:", "des.:"};
    for (int i = 0; i < 4; ++i) {
        auto* t = Casella(Indicizzato("txtMargineComanda", i), 2, 50);
        t->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), t));
        t->installEventFilter(this);
        txtMargineComanda[static_cast<std::size_t>(i)] = t;
        gs->addWidget(Didascalia(margini[i], t), 3 + i / 2, (i % 2) * 2, Qt::AlignRight);
        gs->addWidget(t, 3 + i / 2, (i % 2) * 2 + 1);
    }
    const char* opzioni[] = {"Stampa tavolo", "Stampa commento", "Vis. SOLO selez."};
    for (int i = 0; i < 3; ++i) {
        auto* c = NuovaSpunta(Indicizzato("chkOpzComanda", i), opzioni[i]);
        chkOpzComanda[static_cast<std::size_t>(i)] = c;
        gs->addWidget(c, 5 + i, 0, 1, 4);
        connect(c, &QCheckBox::clicked, this, [this, i](bool on) {
            settings_.Set(keys::ComandaOpzione, on ? "1" : "0", Idx(Comanda(), i + 1));
            if (i == 2) ElencoProdotti();
        });
    }
    gs->setRowStretch(8, 1);

    return stampa;
}

QGroupBox* FrmStampaPers::OrderArticlesBox(QWidget* pagina) {
    auto* prodotti = new QGroupBox(QStringLiteral("Prodotti della comanda"), pagina);
    auto* gp = new QGridLayout(prodotti);
    lstProdottiComanda = new QListWidget(prodotti);
    lstProdottiComanda->setObjectName(QStringLiteral("lstProdottiComanda"));
    lstProdottiComanda->setAccessibleName(QStringLiteral("Prodotti della comanda"));
    gp->addWidget(lstProdottiComanda, 0, 0, 1, 3);
    const char* selrim[] = {"SEL. tutto", "RIM. tutto"};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(Utf8(selrim[i]), prodotti);
        b->setObjectName(Indicizzato("cmdSelRimComanda", i));
        cmdSelRimComanda[static_cast<std::size_t>(i)] = b;
        gp->addWidget(b, 1, i);
        connect(b, &QPushButton::clicked, this, [this, i] {
            caricando_ = true;
            for (int r = 0; r < lstProdottiComanda->count(); ++r)
                lstProdottiComanda->item(r)->setCheckState(i == 0 ? Qt::Checked : Qt::Unchecked);
            caricando_ = false;
            ScriviProdotti();
        });
    }
    gp->addWidget(infoComande_[1], 1, 2, Qt::AlignRight);
    return prodotti;
}

QWidget* FrmStampaPers::PaginaAvanzata() {
    if (!catalogo_) {
        optPrnOpz[2]->setEnabled(false);
        return new QWidget;
    }
    gruppi_ = std::make_unique<PrintGroups>(*catalogo_, settings_);
    paginaGruppi_ = new GroupsPage(*gruppi_);
    return paginaGruppi_;
}

QWidget* FrmStampaPers::PreviewPage() {
    vista_ = new PreviewView(settings_, [this] {
        return printer_ && printer_->Setup().printerAvailable ? printer_->Setup().printerName
                                                              : std::string();
    });
    return vista_;
}

void FrmStampaPers::Anteprima() {
    if (vista_) vista_->Ridisegna();
}

int FrmStampaPers::Comanda() const {
    return std::max(cboNomeComanda->currentIndex(), 0) + 1;
}

void FrmStampaPers::CaricaComanda() {
    const auto& comande = settings_.options().gComande;
    const auto k = static_cast<std::size_t>(Comanda() - 1);
    if (k >= comande.size()) return;
    const KitchenOrderConfig& c = comande[k];
    chkAbilitaComanda->setChecked(c.abilitato);
    const int stampante = cboStampantiComanda->findText(Testo(c.stampante));
    cboStampantiComanda->setCurrentIndex(stampante);
    cboCartaComanda->setCurrentIndex(std::clamp(c.formato, 0, 6));
    cboCalcolaCartaComanda->setCurrentIndex(std::clamp(c.calcolaCarta, 0, 3));
    for (std::size_t m = 0; m < 4; ++m)
        txtMargineComanda[m]->setText(QString::number(c.margini[m]));
    for (std::size_t o = 0; o < 3; ++o) chkOpzComanda[o]->setChecked(c.opz[o]);
    ElencoProdotti();
}

void FrmStampaPers::ElencoProdotti() {
    caricando_ = true;
    lstProdottiComanda->clear();
    const KitchenOrderConfig& c =
        settings_.options().gComande[static_cast<std::size_t>(Comanda() - 1)];
    std::vector<int> scelti;
    for (const std::string& v : Split(c.prodotti, settings_.options().gSeparatore))
        if (IsInteger(v)) scelti.push_back(static_cast<int>(Val(v)));
    if (catalogo_) {
        for (int i = 1; i <= catalogo_->gNumeroArticoli; ++i) {
            const Article& a = catalogo_->gArticoli[static_cast<std::size_t>(i)];
            if (a.name.empty()) continue;
            const bool scelto = std::find(scelti.begin(), scelti.end(), a.code) != scelti.end();
            if (c.opz[2] && !scelto) continue;
            auto* item = new QListWidgetItem(
                QStringLiteral("%1  %2").arg(a.code).arg(Testo(a.name)), lstProdottiComanda);
            item->setData(Qt::UserRole, static_cast<int>(a.code));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(scelto ? Qt::Checked : Qt::Unchecked);
        }
    }
    caricando_ = false;
}

void FrmStampaPers::ScriviProdotti() {
    const KitchenOrderConfig& c =
        settings_.options().gComande[static_cast<std::size_t>(Comanda() - 1)];
    const char sep = settings_.options().gSeparatore;
    // Articles hidden by "Vis. SOLO selez." keep their place in the list.
    std::vector<int> visibili;
    std::string prodotti;
    for (int r = 0; r < lstProdottiComanda->count(); ++r) {
        const QListWidgetItem* item = lstProdottiComanda->item(r);
        visibili.push_back(item->data(Qt::UserRole).toInt());
        if (item->checkState() != Qt::Checked) continue;
        if (!prodotti.empty()) prodotti += sep;
        prodotti += std::to_string(item->data(Qt::UserRole).toInt());
    }
    for (const std::string& v : Split(c.prodotti, sep)) {
        if (!IsInteger(v) || std::find(visibili.begin(), visibili.end(), Val(v)) != visibili.end())
            continue;
        if (!prodotti.empty()) prodotti += sep;
        prodotti += v;
    }
    settings_.Set(keys::ComandaProdotti, prodotti, Idx(Comanda()));
}

void FrmStampaPers::NumComande(int i) {
    Options& o = settings_.options();
    const int n = static_cast<int>(o.gComande.size());
    if (i == 0) {
        if (!RimuoviComanda(settings_)) return;
        cboNomeComanda->removeItem(n - 1);
        if (printer_ && printer_->Setup().orders.size() > o.gComande.size())
            printer_->Setup().orders.resize(o.gComande.size());
    } else if (i == 1) {
        if (!AggiungiComanda(settings_)) return;
        cboNomeComanda->addItem(Testo(o.gComande.back().nome));
        cboNomeComanda->setCurrentIndex(n);
    } else {
        const auto risposta =
            domande_.InputBox("RINOMINA COMANDA", "Nuovo nome comanda (max 14 caratteri):");
        if (!risposta || Trim(*risposta).empty()) return;
        // The file holds the name as the till uses it: at most 14 characters.
        settings_.Set(keys::ComandaNome, Left(Trim(*risposta), 14), Idx(Comanda()));
        cboNomeComanda->setItemText(
            Comanda() - 1, Testo(o.gComande[static_cast<std::size_t>(Comanda() - 1)].nome));
    }
    CaricaComanda();
}

void FrmStampaPers::RicalcolaComanda() {
    if (!printer_) return;
    auto& pagine = printer_->Setup().orders;
    const auto k = static_cast<std::size_t>(Comanda() - 1);
    if (k < pagine.size()) {
        pagine[k].lineSize = 0;
        pagine[k].fullSize = 0;
    }
}

}  // namespace vorsa
