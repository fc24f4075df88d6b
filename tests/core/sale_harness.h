#pragma once
// A till over in-memory files with a scripted window and operator.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"
#include "sale/sale.h"
#include "startup/startup.h"
#include "support/fakes.h"
#include "support/scripted_prompter.h"

namespace vorsa::test {

/// Records what the rules show; SetCodice and SetPagato run the change handlers like the
/// real boxes do.
class ScriptedView : public SaleView {
  public:
    Sale* vendita = nullptr;
    std::map<std::pair<int, int>, int> colours;
    std::map<std::pair<int, int>, bool> enabled;
    std::map<std::pair<int, int>, PriceLabel> priceLabels;
    std::map<std::pair<int, int>, bool> labels;
    std::map<std::pair<int, int>, std::string> codeLabels;
    std::array<bool, 5> feedback{false, false, true, false, false};
    std::array<std::string, 5> feedbackCaption;
    std::vector<std::pair<std::string, int>> lines;  // text, code
    std::string codice, caption, inAttesa;
    std::string totale = "0,00", ultimo = "0,00", pagato = "0,00", resto = "0,00";
    bool timerStarted = false, pagamento = false;
    std::array<std::string, 8> actionCaption;
    std::array<bool, 8> actionEnabled{};
    std::array<int, 8> actionKey{}, actionColour{}, actionHeight{};
    std::array<bool, 2> panels{};
    int selected = -1, relayouts = 0, tableCleared = 0, colourSets = 0;

    int ButtonColour(int s, int p) override {
        auto it = colours.find({s, p});
        return it == colours.end() ? kColoreBottone : it->second;
    }
    void SetButtonColour(int s, int p, int c) override {
        colours[{s, p}] = c;
        ++colourSets;
    }
    bool ButtonEnabled(int s, int p) override { return enabled[{s, p}]; }
    void SetButtonEnabled(int s, int p, bool e) override { enabled[{s, p}] = e; }
    void SetLabelsVisible(int s, int p, bool v) override { labels[{s, p}] = v; }
    void SetCodeLabel(int s, int p, const std::string& t) override { codeLabels[{s, p}] = t; }
    void ShowFeedback(int state) override {
        if (state >= 0 && state < 5) feedback[state] = true;
    }
    void HideFeedback() override { feedback[0] = feedback[1] = feedback[3] = feedback[4] = false; }
    void SetFeedbackCaption(int state, const std::string& c) override {
        feedbackCaption[state] = c;
    }
    void SetCodice(const std::string& text) override {
        codice = text;
        vendita->CambioCodice(text);
    }
    void StartInputTimer() override { timerStarted = true; }
    int ListCount() override { return static_cast<int>(lines.size()); }
    int ListSelected() override { return selected; }
    void SelectLine(int i) override { selected = i; }
    int ListCode(int i) override { return lines[i].second; }
    void SetListLine(int i, const std::string& text, int code) override {
        if (i == static_cast<int>(lines.size()))
            lines.emplace_back(text, code);
        else
            lines[i] = {text, code};
        selected = i;
    }
    void ClearList() override {
        lines.clear();
        selected = -1;
    }
    void SetTotale(const std::string& t) override { totale = t; }
    void SetUltimoScontrino(const std::string& t) override { ultimo = t; }
    void SetPriceLabel(int s, int p, const PriceLabel& e) override { priceLabels[{s, p}] = e; }
    void ClearTableAndComment() override { ++tableCleared; }
    void SetInAttesa(const std::string& t) override { inAttesa = t; }
    int WindowWidthTwips() override { return 15380; }
    void ModoPagamento(bool on) override {
        pagamento = on;
        pagato = on ? "" : "0,00";
    }
    std::string Pagato() override { return pagato; }
    void SetPagato(const std::string& t) override {
        pagato = t;
        vendita->CambioPagato(t);
    }
    void SetResto(const std::string& t) override { resto = t; }
    void SetActionCaption(int n, const std::string& c) override { actionCaption[n] = c; }
    void SetActionColour(int n, int c) override { actionColour[n] = c; }
    void SetActionEnabled(int n, bool e) override { actionEnabled[n] = e; }
    void SetActionKeyColour(int n, int c) override { actionKey[n] = c; }
    void SetActionHeight(int n, int t) override { actionHeight[n] = t; }
    void ShowPanel(int p, bool v) override { panels[p] = v; }
    void ReLayout() override { ++relayouts; }
    void SetCaption(const std::string& t) override { caption = t; }
    void SetStampaCaption(const std::string&) override {}
};

class RecordingPrint : public PrintSeam {
  public:
    bool available = true;
    int printed = 0, reprints = 0;
    bool StampanteDisponibile() override { return available; }
    void StampaUltimoConto(bool ristampa) override {
        ++printed;
        reprints += ristampa ? 1 : 0;
    }
    void CancellaFormScontrini() override {}
};

/// One till: files shared with other tills of the same test through `files`.
struct Cassa {
    /// `realSleeper` (when given) makes the lock waits real, for tills in separate processes.
    /// `afterStart` runs right after start-up, before the sale is assembled.
    Cassa(FileAccess& shared, const std::string& ini, const std::string& userName = "cassiere",
          const std::string& folder = "/p", Sleeper* realSleeper = nullptr,
          const std::function<void(Till&)>& afterStart = nullptr)
        : files(shared) {
        user.name = userName;
        if (!ini.empty()) files.ReplaceAll(folder + "/Vorsa.ini", ini);
        till = std::make_unique<Till>(
            Services{files, clock, realSleeper ? *realSleeper : sleeper, user, shell}, folder,
            Version{1, 0, 0});
        AvviaTill(*till);
        if (afterStart) afterStart(*till);
        vendita = std::make_unique<Sale>(till->PartiVendita(), view.Views(), prompter, &print);
        view.vendita = vendita.get();
        // The window's load step: captions of the function keys, F4 disabled.
        for (int n = 1; n <= kNumeroAzioni; ++n) {
            view.actionCaption[n] = till->gAzioni[n].caption1;
            view.actionEnabled[n] = true;
        }
        till->gAzioni[4].enabled = false;
        view.actionEnabled[4] = false;
        till->cat.AbilitaArticoli(false, view);
    }
    /// Types a text into the code box one key at a time, as the box's events do.
    void Digita(const std::string& keys) {
        for (char k : keys) {
            if (view.timerStarted) {  // a code is still shown: the next key empties it first
                view.timerStarted = false;
                view.SetCodice("");
            }
            const char c = FiltroCodice(k, view.codice.empty());
            if (c) view.SetCodice(view.codice + c);
        }
    }
    /// Types codes separated by blanks, each one as its own entry.
    void Batti(const std::string& codes) {
        for (const auto& code : Split(codes, ' '))
            if (!code.empty()) Digita(code);
    }
    /// tmrInput fires.
    void Timer() {
        view.timerStarted = false;
        view.SetCodice("");
    }
    /// The bill as shown: each line's code and quantity, then the total: "101x2 201x1 = 8,00".
    std::string Bill() {
        std::string s;
        for (const auto& line : view.lines)
            s +=
                std::to_string(line.second) + "x" + std::to_string(Art(line.second).quantity) + " ";
        return s + "= " + view.totale;
    }
    /// The feedback boxes lit but the prompt: "0" error, "1" OK, "3" finished, "4" running low.
    std::string Luci() {
        std::string s;
        for (int i : {0, 1, 3, 4})
            if (view.feedback[static_cast<std::size_t>(i)]) s += std::to_string(i);
        return s;
    }
    void Premi(int n) { vendita->TastoGiu(Sale::KeyKind::F, n, false); }
    Article& Art(int code) { return till->cat.gArticoli[till->cat.IndiceArticolo(code)]; }
    std::string Dati(const char* section, const std::string& key) {
        ProfileStore p(files);
        return p.Get(till->paths.gFileDati, section, key).value_or("(missing)");
    }
    std::string Locale(const char* section, const std::string& key) {
        ProfileStore p(files);
        return p.Get(till->paths.gFileIni, section, key).value_or("(missing)");
    }

    FileAccess& files;
    FakeClock clock;
    FakeSleeper sleeper{&clock};
    FakeUser user;
    FakeShell shell;
    ScriptedView view;
    ScriptedPrompter prompter;
    RecordingPrint print;
    std::unique_ptr<Till> till;
    std::unique_ptr<Sale> vendita;
};

/// The raw bytes of one section of a file, header included, up to the next section.
inline std::string Sezione(const std::string& file, const std::string& nome) {
    const auto start = file.find("[" + nome + "]\r\n");
    if (start == std::string::npos) return "(missing)";
    const auto end = file.find("\r\n[", start);
    return file.substr(start, end == std::string::npos ? std::string::npos : end + 2 - start);
}

/// A report file as the till writes it at the fake clock's time: the banner, `head`, the
/// extraction time, `body` and the closing banner.
inline std::string Report(const std::string& head, const std::string& body) {
    const std::string riga = "***********************\r\n";
    return riga + "*    INIZIO REPORT    *\r\n" + riga + "\r\n" + head +
           "Data e ora estrazione: domenica 06/12/2026 ore 19:45\r\n\r\n" + body + "\r\n" + riga +
           "*     FINE REPORT     *\r\n" + riga;
}

/// No lock entry left behind in a lock file, and none that timed out.
inline bool LockLiberi(const std::string& lck) {
    return lck.find("-LOCKED") == std::string::npos && lck.find("ERRORI") == std::string::npos;
}

inline const char* kCatalogo =
    "[MANGIARE]\r\nDIMENSIONE=14\r\n"
    "1=Panino con salamella;3,5;1;0;-1;1;-1;0\r\n"
    "2=Patatine;2;1;0;10;1;10;3\r\n"
    "3=Piatto del giorno;-1;1;0;-1;1;-1;0\r\n"
    "4=Spento;1;0;0;-1;1;-1;0\r\n"
    "5=Ultimo pezzo;4;1;0;1;1;1;0\r\n"
    "6=Torta;2,5;1;0;40;1;40;10\r\n"
    "[BERE]\r\nDIMENSIONE=10\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n2=Birra;3;1;1;5;0;5;0\r\n";

}  // namespace vorsa::test
