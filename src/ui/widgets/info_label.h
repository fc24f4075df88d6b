#pragma once
// The small "i" labels: a click asks for the explanation of lbl_info(index).
#include <QLabel>

namespace vorsa {

class InfoLabel final : public QLabel {
    Q_OBJECT
  public:
    InfoLabel(int index, QWidget* parent);
    int Indice() const { return index_; }

  signals:
    void Premuta(int index);

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int index_;
};

}  // namespace vorsa
