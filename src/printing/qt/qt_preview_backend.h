#pragma once
// The print back end of the on-screen preview: it stands for one printer (its name and its
// unprintable strips), measures and draws exactly as the printing back end does, and paints
// each page into a picture instead of a job. Whatever falls outside the printable area is
// drawn in red and framed, on a grey border around the paper, so it shows before paper is
// wasted on it.
#include <QImage>
#include <QSize>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "printing/qt/qt_forms_backend.h"

class QPainter;

namespace vorsa {

/// One drawing of the preview, in twips from the top-left of the printable area.
struct PreviewMark {
    enum class Kind { Testo, Linea, Immagine, Barre };
    Kind tipo = Kind::Testo;
    int x = 0, y = 0;    // top-left; a line: its start
    int w = 0, h = 0;    // size; a line: its end less its start
    std::string testo;   // the text, or the picture's path
    PrintFont font;      // text only
    bool fuori = false;  // outside the printable area
};

struct PreviewPage {
    PaperForm carta;
    DeviceCaps caps;
    std::vector<PreviewMark> segni;
    /// The paper with a grey border of kBordoMm around it.
    QImage immagine;
};

class QtPreviewBackend final : public QtFormsBackend {
  public:
    /// Grey border around the paper, where what falls off it still shows.
    static constexpr int kBordoMm = 8;

    /// `pixelPerMm`: scale of the pages' pictures.
    explicit QtPreviewBackend(double pixelPerMm);
    ~QtPreviewBackend() override;
    QtPreviewBackend(const QtPreviewBackend&) = delete;
    QtPreviewBackend& operator=(const QtPreviewBackend&) = delete;

    /// Starts again for `printer` with its strips: no pages, no forms.
    void Ricomincia(const std::string& printer, const Stripes& strips);
    const std::vector<PreviewPage>& Pagine() const { return pagine_; }
    /// Drawings outside the printable area, on every page.
    int Fuori() const;

    std::vector<std::string> Printers() override { return {printer_}; }
    std::string DefaultPrinter() override { return printer_; }
    void SetCurrentPrinter(const std::string&) override {}
    std::string CurrentPrinter() override { return printer_; }
    void SetResolution(int dpi) override;
    DeviceCaps Caps() override;

    bool CanOpenPrinter(const std::string& printer) override { return printer == printer_; }

    void SetFont(const PrintFont& font) override { font_.Imposta(font); }
    int TextWidth(const std::string& text) override { return font_.Larghezza(text); }
    int TextHeight(const std::string&) override { return font_.Altezza(); }
    void DrawText(int x, int y, const std::string& text) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    bool DrawPicture(const std::string& path, int x, int y, int w, int h) override;
    void DrawBarcode(const BarcodePicture& picture, int x, int y, int w, int h) override;
    void NewPage() override;
    void EndDoc() override;

  private:
    PaperForm Carta();
    /// The page being drawn, started on the first drawing after a new page.
    PreviewPage& Pagina();
    void Chiudi();
    /// Records a drawing; true when it falls outside the printable area.
    bool Segna(PreviewMark s);
    /// Frames the last drawing in red when it fell outside.
    void Cornice();
    const QImage* Immagine(const std::string& path);

    double ppm_;
    std::string printer_ = "Anteprima";
    Stripes strisce_;
    int dpi_ = 600;
    QtFonts font_;
    std::vector<PreviewPage> pagine_;
    std::unique_ptr<QPainter> painter_;
    bool aperta_ = false;  // a page is being drawn
    struct Figure {
        qint64 stamp = 0;
        QImage image;
    };
    std::map<std::string, Figure> figure_;
};

}  // namespace vorsa
