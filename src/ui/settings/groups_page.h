#pragma once
// The advanced print groups page of the print options dialog: the groups, the articles of the
// chosen group and the articles in no group, moved between the two lists by drag and drop.
// The rules (PrintGroups) write the group list and the article lines; this page only shows
// them and hands over what the operator does.
#include <QListWidget>
#include <QWidget>
#include <array>
#include <memory>

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace vorsa {

class PrintGroups;

/// A list of articles (their indices in Qt::UserRole) that gives and takes them by drag and
/// drop; a drop from another such list is reported, never applied by Qt itself.
class DragArticleList final : public QListWidget {
    Q_OBJECT
  public:
    explicit DragArticleList(const QString& name, QWidget* parent = nullptr);
    static const char* const kMime;

  signals:
    /// Articles dropped here from another list.
    void Rilasciati(const QList<int>& articoli);

  protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool Accetta(const QMimeData* mime) const;
};

class GroupsPage final : public QWidget {
    Q_OBJECT
  public:
    explicit GroupsPage(PrintGroups& gruppi, QWidget* parent = nullptr);
    ~GroupsPage() override;

    /// Shows the groups and articles as the catalogue holds them, keeping the chosen group.
    void Aggiorna();

  signals:
    /// The division changed (and is written).
    void Cambiata();

  private:
    /// The name fields with their buttons, and the one that undoes the whole division.
    QGridLayout* CommandRows();
    void Pulsante(int i);
    void Sposta(const QList<int>& articoli, bool nelGruppo);
    /// Number of the group chosen in lstGruppi, 0 when none.
    int Scelto() const;
    void Articoli();

    PrintGroups& gruppi_;
    QListWidget* lstGruppi = nullptr;
    DragArticleList* lstProdotti = nullptr;
    DragArticleList* lstGruppiProdotti = nullptr;
    std::array<QPushButton*, 4> cmdStampaAdv{};
    QLineEdit* txtGruppoRen = nullptr;
    QLineEdit* txtGruppoDel = nullptr;
    QLineEdit* txtGruppoAdd = nullptr;
};

}  // namespace vorsa
