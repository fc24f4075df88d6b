#pragma once
// The small frameless window shown while the till starts.
#include <QWidget>

class QLabel;

namespace vorsa {

class FrmSplash final : public QWidget {
    Q_OBJECT
  public:
    explicit FrmSplash(QWidget* parent = nullptr);

  private:
    QLabel* label_ = nullptr;
};

}  // namespace vorsa
