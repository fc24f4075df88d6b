#pragma once
// The small "i" labels: a click asks for the explanation of lbl_info(index).
#include <QLabel>

namespace vorsa {

class EtichettaInfo final : public QLabel {
    Q_OBJECT
  public:
    EtichettaInfo(int index, QWidget* parent);
    int Indice() const { return index_; }

  signals:
    void Premuta(int index);

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int index_;
};

}  // namespace vorsa
