#pragma once
// The evening at a glance: takings per hour as bars, the receipts of each hour above its bar,
// the best hour in a darker colour. Plain QPainter; the image can be saved as PNG.
#include <QWidget>
#include <vector>

#include "data/sales_archive.h"

namespace vorsa {

class HourChart final : public QWidget {
    Q_OBJECT
  public:
    explicit HourChart(QWidget* parent = nullptr);
    void MostraOre(std::vector<SalesHour> ore);
    const std::vector<SalesHour>& ore() const { return ore_; }
    /// The chart drawn at a given size, as it is saved.
    QImage Immagine(QSize size) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Disegna(QPainter& p, QRect area) const;
    std::vector<SalesHour> ore_;
};

}  // namespace vorsa
