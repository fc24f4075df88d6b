#pragma once
// The product buttons of the three sections with their code and price labels, placed as
// DisponiGriglia computes. The cells of each section follow the section's size.
#include <QString>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "data/catalogue.h"
#include "layout/grid_layout.h"

class QFrame;
class QLabel;
class QPushButton;

namespace vorsa {

class ArticleGrid final : public QWidget {
    Q_OBJECT
  public:
    /// One product cell: the button, its two labels and the short line under them.
    struct Cell {
        QPushButton* button = nullptr;
        QLabel* code = nullptr;
        QLabel* price = nullptr;
        QFrame* line = nullptr;
        int colour = kColoreBottone;
        QString nome;  // the whole name; the caption is fitted to the button
    };

    explicit ArticleGrid(QWidget* parent);

    /// Creates the cells of positions 1..size of each section and removes those beyond.
    void Dimensiona(const std::array<int, 3>& sizes);
    /// Captions, labels and enabled state of every cell from the catalogue.
    void Carica(const Catalogue& cat, const Options& o);
    /// Places every cell; the area is `larghezza` x `altezza` twips from the window's origin.
    void Applica(const Grid& g, int larghezza, int altezza);

    /// Section 0..2, position 1-based; null when there is no such cell.
    Cell* Trova(int section, int position);
    int Dimensione(int section) const;

  signals:
    /// A product button was clicked.
    void ArticoloPremuto(int section, int position);

  private:
    Cell Crea(int section, int position);
    static void Distruggi(Cell& c);
    /// The caption of the name fitted to the button as it is now.
    static void AdattaDidascalia(Cell& c);

    std::array<std::vector<Cell>, 3> celle_;  // index position - 1
    std::array<QFrame*, 3> separatori_{};
};

}  // namespace vorsa
