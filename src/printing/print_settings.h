#pragma once
// The printer part of the settings panel: which printer and paper format the receipts use, the
// width of a custom roll, and the test print. The panel implements PrintSettingsView.
#include <string>
#include <utility>
#include <vector>

namespace vorsa {

class ReceiptPrinter;
class SettingsGateway;

class PrintSettingsView {
  public:
    virtual ~PrintSettingsView() = default;
    /// cbo_StampaLista: the installed printers, the chosen one, whether it can be used.
    virtual void MostraStampanti(const std::vector<std::string>& nomi, const std::string& scelta,
                                 bool abilitata) = 0;
    /// cbo_StampaFormato: (caption, code) entries and the chosen code.
    virtual void MostraFormati(const std::vector<std::pair<std::string, int>>& voci, int scelto,
                               bool abilitata) = 0;
    /// txt_LarghezzaNastro: enabled only for the custom roll, light grey otherwise.
    virtual void MostraLarghezza(bool abilitata, const std::string& testo, bool grigia) = 0;
    virtual void MostraNessunaStampante(bool visibile) = 0;
};

class PrintSettings {
  public:
    /// `printer` null: printing is not available at all (shown as no printer installed).
    PrintSettings(SettingsGateway& settings, ReceiptPrinter* printer, PrintSettingsView& view);

    /// Fills the view from the installed printers and the current format.
    void Carica();
    void FormatoScelto(int code);
    void StampanteScelta(const std::string& nome);
    /// The width box lost the focus: an empty box takes the default width.
    void LarghezzaConfermata(const std::string& testo);
    void StampaTest();

    static constexpr int kCodicePersonalizzato = 4;
    static constexpr const char* kLarghezzaDefault = "10,5";

  private:
    void AggiornaLarghezza();

    SettingsGateway& settings_;
    ReceiptPrinter* printer_;
    PrintSettingsView& view_;
};

}  // namespace vorsa
