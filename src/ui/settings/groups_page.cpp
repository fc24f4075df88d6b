#include "ui/settings/groups_page.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "printing/print_groups.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {
namespace {

// What a drag carries: the source list's name, then the article indices, one a line.
QByteArray Codifica(const QString& sorgente, const QList<int>& articoli) {
    QByteArray b = sorgente.toUtf8();
    for (int a : articoli) b += '\n' + QByteArray::number(a);
    return b;
}

}  // namespace

const char* const DragArticleList::kMime = "application/x-vorsa-articoli";

DragArticleList::DragArticleList(const QString& name, QWidget* parent) : QListWidget(parent) {
    setObjectName(name);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // The rules move the article and the lists are rebuilt: Qt must not remove the rows.
    setDefaultDropAction(Qt::CopyAction);
}

QStringList DragArticleList::mimeTypes() const {
    return {QString::fromLatin1(kMime)};
}

QMimeData* DragArticleList::mimeData(const QList<QListWidgetItem*>& items) const {
    QList<int> articoli;
    for (const QListWidgetItem* i : items) articoli << i->data(Qt::UserRole).toInt();
    auto* m = new QMimeData;
    m->setData(QString::fromLatin1(kMime), Codifica(objectName(), articoli));
    return m;
}

Qt::DropActions DragArticleList::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

bool DragArticleList::Accetta(const QMimeData* mime) const {
    if (!mime || !mime->hasFormat(QString::fromLatin1(kMime))) return false;
    const QByteArray b = mime->data(QString::fromLatin1(kMime));
    return b.left(b.indexOf('\n')) != objectName().toUtf8();
}

void DragArticleList::dragEnterEvent(QDragEnterEvent* event) {
    if (!Accetta(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DragArticleList::dragMoveEvent(QDragMoveEvent* event) {
    if (!Accetta(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DragArticleList::dropEvent(QDropEvent* event) {
    if (!Accetta(event->mimeData())) {
        event->ignore();
        return;
    }
    const QList<QByteArray> righe = event->mimeData()->data(QString::fromLatin1(kMime)).split('\n');
    QList<int> articoli;
    for (int r = 1; r < righe.size(); ++r) articoli << righe[r].toInt();
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // After the drag has ended: the lists are rebuilt, the dragged rows with them.
    QTimer::singleShot(0, this, [this, articoli] { emit Rilasciati(articoli); });
}

GroupsPage::GroupsPage(PrintGroups& gruppi, QWidget* parent) : QWidget(parent), gruppi_(gruppi) {
    setObjectName(QStringLiteral("paginaGruppi"));
    auto* g = new QGridLayout(this);
    g->setContentsMargins(0, 0, 0, 0);

    lstGruppi = new QListWidget(this);
    lstGruppi->setObjectName(QStringLiteral("lstGruppi"));
    lstGruppiProdotti = new DragArticleList(QStringLiteral("lstGruppiProdotti"), this);
    lstProdotti = new DragArticleList(QStringLiteral("lstProdotti"), this);
    const struct {
        const char* titolo;
        QListWidget* lista;
    } colonne[] = {{"Gruppi:", lstGruppi},
                   {"Prodotti del gruppo:", lstGruppiProdotti},
                   {"Prodotti senza gruppo:", lstProdotti}};
    for (int c = 0; c < 3; ++c) {
        auto* l = new QLabel(QString::fromUtf8(colonne[c].titolo), this);
        l->setBuddy(colonne[c].lista);
        // A list takes no name from its buddy label.
        colonne[c].lista->setAccessibleName(l->text().chopped(1));
        g->addWidget(l, 0, c);
        g->addWidget(colonne[c].lista, 1, c);
        g->setColumnStretch(c, 1);
    }

    g->addLayout(CommandRows(), 2, 0);
    auto* aiuto = new QLabel(
        QString::fromUtf8("I gruppi valgono con il tipo di stampa \"Gestione avanzata\": uno "
                          "scontrino per gruppo. Trascinare i prodotti da una lista all'altra; "
                          "i prodotti senza gruppo vengono stampati ciascuno su uno scontrino a "
                          "parte."),
        this);
    aiuto->setWordWrap(true);
    aiuto->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    g->addWidget(aiuto, 2, 1, 1, 2);

    for (int i = 0; i < 4; ++i)
        connect(cmdStampaAdv[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { Pulsante(i); });
    connect(lstGruppi, &QListWidget::currentRowChanged, this, [this] { Articoli(); });
    connect(lstGruppiProdotti, &DragArticleList::Rilasciati, this,
            [this](const QList<int>& a) { Sposta(a, true); });
    connect(lstProdotti, &DragArticleList::Rilasciati, this,
            [this](const QList<int>& a) { Sposta(a, false); });
    Aggiorna();
}

QGridLayout* GroupsPage::CommandRows() {
    auto* comandi = new QGridLayout;
    const struct {
        const char* etichetta;
        QLineEdit** box;
        int pulsante;
        const char* caption;
    } righe[] = {{"Nuovo gruppo:", &txtGruppoAdd, 2, "Aggiungi"},
                 {"Nuovo nome:", &txtGruppoRen, 0, "Rinomina"},
                 {"Gruppo scelto:", &txtGruppoDel, 1, "Elimina"}};
    const char* nomi[] = {"txtGruppoAdd", "txtGruppoRen", "txtGruppoDel"};
    for (int r = 0; r < 3; ++r) {
        auto* t = new QLineEdit(this);
        t->setObjectName(QString::fromLatin1(nomi[r]));
        t->setMaxLength(30);
        *righe[r].box = t;
        auto* l = new QLabel(QString::fromUtf8(righe[r].etichetta), this);
        l->setBuddy(t);
        auto* b = new QPushButton(QString::fromUtf8(righe[r].caption), this);
        b->setObjectName(Indicizzato("cmdStampaAdv", righe[r].pulsante));
        cmdStampaAdv[static_cast<std::size_t>(righe[r].pulsante)] = b;
        comandi->addWidget(l, r, 0);
        comandi->addWidget(t, r, 1);
        comandi->addWidget(b, r, 2);
    }
    // The group to delete is the one chosen in the list, shown here.
    txtGruppoDel->setReadOnly(true);
    auto* annulla = new QPushButton(QStringLiteral("Annulla tutta la suddivisione attuale"), this);
    annulla->setObjectName(Indicizzato("cmdStampaAdv", 3));
    cmdStampaAdv[3] = annulla;
    comandi->addWidget(annulla, 3, 0, 1, 3);
    return comandi;
}

GroupsPage::~GroupsPage() = default;

int GroupsPage::Scelto() const {
    const QListWidgetItem* i = lstGruppi->currentItem();
    return i ? i->data(Qt::UserRole).toInt() : 0;
}

void GroupsPage::Aggiorna() {
    const int riga = lstGruppi->currentRow();
    const QSignalBlocker blocco(lstGruppi);
    lstGruppi->clear();
    for (const PrintGroup& gr : gruppi_.Gruppi()) {
        auto* i = new QListWidgetItem(Testo(gr.name), lstGruppi);
        i->setData(Qt::UserRole, static_cast<int>(gr.number));
    }
    if (lstGruppi->count() > 0)
        lstGruppi->setCurrentRow(std::clamp(riga, 0, lstGruppi->count() - 1));
    Articoli();
}

void GroupsPage::Articoli() {
    const QListWidgetItem* scelto = lstGruppi->currentItem();
    txtGruppoDel->setText(scelto ? scelto->text() : QString());
    const auto riempi = [this](QListWidget* lista, const std::vector<int>& articoli) {
        lista->clear();
        const Catalogue& cat = gruppi_.Cat();
        for (int n : articoli) {
            const Article& a = cat.gArticoli[static_cast<std::size_t>(n)];
            auto* i =
                new QListWidgetItem(QStringLiteral("%1  %2").arg(a.code).arg(Testo(a.name)), lista);
            i->setData(Qt::UserRole, n);
        }
    };
    riempi(lstGruppiProdotti, gruppi_.ArticoliDi(Scelto()));
    riempi(lstProdotti, gruppi_.SenzaGruppo());
}

void GroupsPage::Pulsante(int i) {
    const int riga = lstGruppi->currentRow();
    bool fatto = false;
    switch (i) {
        case 0:
            fatto = gruppi_.Rinomina(riga, Cp1252(txtGruppoRen->text()));
            if (fatto) txtGruppoRen->clear();
            break;
        case 1:
            fatto = gruppi_.Elimina(riga, Cp1252(txtGruppoDel->text()));
            break;
        case 2:
            fatto = gruppi_.Aggiungi(Cp1252(txtGruppoAdd->text()));
            if (fatto) {
                txtGruppoAdd->clear();
                Aggiorna();
                lstGruppi->setCurrentRow(lstGruppi->count() - 1);
            }
            break;
        default:
            gruppi_.Annulla();
            fatto = true;
            break;
    }
    if (!fatto) return;
    Aggiorna();
    emit Cambiata();
}

void GroupsPage::Sposta(const QList<int>& articoli, bool nelGruppo) {
    const int numero = nelGruppo ? Scelto() : 0;
    if (nelGruppo && numero == 0) return;
    const bool cambiata = gruppi_.Sposta({articoli.begin(), articoli.end()}, numero);
    Articoli();
    if (cambiata) emit Cambiata();
}

}  // namespace vorsa
