#pragma once
// The multi-till frame of the advanced options dialog as rules: what the frame shows, what
// each event writes to the settings files, and the share it creates or removes. The widget
// applies a MultiTillFrame and shows the notices.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/till_share.h"
#include "settings/settings_gateway.h"

namespace vorsa {

/// The name the main till's program folder is published under.
inline constexpr std::string_view kNomeCondivisione = "vorsa$";

/// The main till's data file as the file access reaches it: "//<host>/vorsa$/Vorsa.ini",
/// spelt as the main till names it, so that a file the share must create (the lock file)
/// never gets a second name beside the main till's on a case-sensitive disk.
std::string FileRemoto(const std::string& host);

/// txtVorsaRemota's key filter: digits, '.', backspace (8) and tab (9) pass; every other
/// character is discarded.
bool TastoVorsaRemota(int keyAscii);

/// What the multi-till frame shows (texts in Windows-1252).
struct MultiTillFrame {
    bool chkMulti = false;
    bool sceltaAbilitata = false;         // lblSceltaMulti and both optVorsaPrinc
    std::array<bool, 2> optVorsaPrinc{};  // (1) main till, (0) secondary till
    std::array<bool, 2> frmOpt{};         // the frame of each role, visible
    bool lblVerifica = false;
    std::string lblNomePostazione;
    std::string txtVorsaRemota;
    std::string txtNomeVorsa;
    std::vector<std::string> lstIpAddress;
    std::string txtPasswordMulti;  // shown masked
    bool senzaPassword = true;     // the red warning: anyone on the network can change the data
};

/// A notice of the frame: the message window (title, text, hint, button "OK") or the message
/// box with the critical-error icon.
struct MultiOptionsNotice {
    bool critico = false;
    std::string title;
    std::string text;
    std::string hint;
};

class MultiTillView {
  public:
    virtual ~MultiTillView() = default;
    /// Applies the whole frame; also called before a slow check, so lblVerifica is painted.
    virtual void Mostra(const MultiTillFrame& r) = 0;
    virtual void Avvisa(const MultiOptionsNotice& a) = 0;
};

class MultiTillOptions {
  public:
    /// `sessioneCondivisa`: this run works with other tills (main till, or secondary on the
    /// main till's file). Its key locks and shared counters then stay on until the restart,
    /// whatever the frame stores for the next start.
    MultiTillOptions(SettingsGateway& settings, TillShare& share, MultiTillView& view,
                     bool sessioneCondivisa);

    /// Loading of the dialog.
    void Carica();
    /// chkMulti released.
    void CambiaMulti(bool ticked);
    /// optVorsaPrinc(i) released: 1 main till, 0 secondary till.
    void ScegliRuolo(int i);
    /// txtVorsaRemota lost the focus with `text`.
    void EsciVorsaRemota(const std::string& text);
    /// txtNomeVorsa lost the focus with `text`.
    void EsciNomeVorsa(const std::string& text);
    /// txtPasswordMulti lost the focus with `text`. A main till gives the share's account the
    /// new password and publishes the share again, for that account only or, empty, for every
    /// guest; a secondary till logs in with it from its next start.
    void EsciPassword(const std::string& text);

    const MultiTillFrame& Riquadro() const { return r_; }

  private:
    void Spegni();

    SettingsGateway& settings_;
    TillShare& share_;
    MultiTillView& view_;
    bool sessioneCondivisa_;
    MultiTillFrame r_;
};

}  // namespace vorsa
