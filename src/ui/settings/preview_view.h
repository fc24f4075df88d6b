#pragma once
// The live receipt preview of the print options dialog: the sample bill printed with the
// options in force through the preview back end, which measures and draws as the printer's
// back end does. What would fall off the paper shows in red and is counted below the picture.
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/system.h"
#include "printing/qt/qt_preview_backend.h"
#include "printing/receipt_preview.h"

class QLabel;
class QPainter;
class QScrollArea;

namespace vorsa {

class SettingsGateway;

/// The pages of the preview one under the other, painted where they are in sight.
class PreviewCanvas final : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewCanvas(QWidget* parent = nullptr);
    /// Shows `pagine`, which must outlive the next call.
    void Mostra(const std::vector<PreviewPage>& pagine);
    /// Everything shown, as one picture.
    QImage Immagine() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Disegna(QPainter& p, const QRect& dove) const;
    const std::vector<PreviewPage>* pagine_ = nullptr;
};

class PreviewView final : public QWidget {
    Q_OBJECT
  public:
    /// `stampante` names the receipt printer the preview stands for (empty: none installed).
    PreviewView(SettingsGateway& settings, std::function<std::string()> stampante,
                QWidget* parent = nullptr);
    ~PreviewView() override;

    /// The time printed on the sample; the clock by default.
    std::function<DateTime()> adesso;
    /// Article lines of the sample.
    int righe = 5;

    /// Prints the sample again with the options as they are now.
    void Ridisegna();
    const QtPreviewBackend& Backend() const { return backend_; }

    PreviewCanvas* picAnteprima = nullptr;
    QLabel* lblAnteprima = nullptr;

  private:
    SettingsGateway& settings_;
    std::function<std::string()> stampante_;
    ReceiptPreview campione_;
    QtPreviewBackend backend_;
    std::map<std::string, Stripes> strisce_;
    QScrollArea* scorri_ = nullptr;
};

}  // namespace vorsa
