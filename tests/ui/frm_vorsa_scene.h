#pragma once
// Fakes of the outside world, a till over a fresh temporary folder with real local files, and
// a started till with its loaded main window: the one header the widget tests include for the
// till and the widgets they reach.
#include <QByteArray>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_access.h"
#include "platform/qt/twips.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/till_share.h"
#include "printing/printer_states.h"
#include "printing/receipt_printer.h"
#include "sale/till.h"
#include "startup/startup.h"
#include "support/fakes.h"
#include "support/recording_backend.h"
#include "support/scripted_prompter.h"
#include "ui/article_grid.h"
#include "ui/editor_panel.h"
#include "ui/frm_vorsa.h"
#include "ui/notices/messages.h"
#include "ui/print_panel.h"
#include "ui/right_panel.h"
#include "ui/sale_presenter.h"
#include "ui/statistics_panel.h"

namespace vorsa::test {

/// Records every message and answers at once, from `risposte` and then with `answer`, so no
/// window ever blocks.
class RecordingMessaggi final : public Messages {
  public:
    struct Call {
        QString title, text, hint;
        bool showButtons = false;
        QString caption0, caption1;
        bool modal = false;
        int intervalMs = 0;
        bool rosso = false;
    };
    std::int16_t MostraMessaggio(const QString& title, const QString& text, const QString& hint,
                                 bool showButtons, const QString& caption0, const QString& caption1,
                                 bool modal, int intervalMs) override {
        calls.push_back(
            {title, text, hint, showButtons, caption0, caption1, modal, intervalMs, rosso_});
        if (durante) durante();
        rosso_ = false;
        if (risposte.empty()) return answer;
        const std::int16_t r = risposte.front();
        risposte.pop_front();
        return r;
    }
    void ProssimoInRosso() override { rosso_ = true; }
    bool rosso_ = false;
    std::vector<Call> calls;
    std::deque<std::int16_t> risposte;
    std::function<void()> durante;  // runs while each message is up
    std::int16_t answer = 6;
};

/// A till in its own temporary program folder. Prepare files with Write, then Start.
class TillFixture {
  public:
    TillFixture()
        : files_(MakeLocalFileAccess(false)),
          sleeper_(&clock_),
          till_(std::make_unique<Till>(Services{*files_, clock_, sleeper_, user_, shell}, Folder(),
                                       Version{1, 0, 0})) {
        clock_.now = DateTime{2026, 6, 12, 19, 45, 3, 5};  // a Friday
        clock_.millis = 1000;
        user_.name = "cassa";
    }

    bool Valid() const { return dir_.isValid(); }
    std::string Folder() const { return Utf8ToCp1252(dir_.path().toUtf8().toStdString()); }
    QString Path() const { return dir_.path(); }
    QString FilePath(const QString& name) const { return dir_.filePath(name); }

    /// Writes a file of the program folder; `bytes` are Windows-1252.
    bool Write(const QString& name, const QByteArray& bytes) const {
        QFile f(FilePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    QByteArray Read(const QString& name) const {
        QFile f(FilePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    StartupResult Start() { return AvviaTill(*till_); }
    Till& till() { return *till_; }

    FakeShell shell;

  private:
    QTemporaryDir dir_;
    std::unique_ptr<FileAccess> files_;
    FakeClock clock_;
    FakeSleeper sleeper_;
    FakeUser user_;
    std::unique_ptr<Till> till_;
};

/// A spooler whose printers the test sets; its jobs complete or fail as told. Read on worker
/// threads while the test changes it.
struct Spooler {
    std::mutex m;
    std::map<std::string, PrinterState> stampanti;
    std::map<int, JobResult> esiti;
    std::vector<Qt::HANDLE> fili;  // the threads that asked
    std::mutex fermo;              // held by the test: every request waits
};

/// Reads a Spooler as the till reads the system's queues.
class StatesReader final : public PrinterStates {
  public:
    explicit StatesReader(std::shared_ptr<Spooler> s) : s_(std::move(s)) {}
    PrinterState Stato(const std::string& n) override {
        const std::lock_guard<std::mutex> attende(s_->fermo);
        const std::lock_guard<std::mutex> lock(s_->m);
        s_->fili.push_back(QThread::currentThreadId());
        const auto it = s_->stampanti.find(n);
        return it == s_->stampanti.end() ? PrinterState{} : it->second;
    }
    int UltimoLavoro(const std::string&, std::int64_t) override { return 0; }
    std::vector<int> LavoriDopo(const std::string&, int) override {
        const std::lock_guard<std::mutex> lock(s_->m);
        std::vector<int> v;
        for (const auto& [id, e] : s_->esiti) v.push_back(id);
        return v;
    }
    JobResult Esito(int id) override {
        const std::lock_guard<std::mutex> lock(s_->m);
        return s_->esiti[id];
    }

  private:
    std::shared_ptr<Spooler> s_;
};

// Catalogue in Windows-1252: a plain article, a variable price, a finished one, one below its
// threshold, an inactive one, an empty position and an accented name.
inline const QByteArray kCatalogo =
    "[MANGIARE]\r\n"
    "DIMENSIONE=5\r\n"
    "1=Panino;2,5;1;0;-1;1;-1;0\r\n"
    "2=Bibita;-1\r\n"
    "3=Patatine;3;1;0;0;1;-1;0\r\n"
    "4=Salsiccia;4;1;0;5;1;-1;10\r\n"
    "5=Vino;3;0;0;-1;1;-1;0\r\n"
    "[BERE]\r\n"
    "DIMENSIONE=2\r\n"
    "1=Acqua;1;1;0;-1;2;-1;0\r\n"
    "[VARIE]\r\n"
    "1=Caff\xE8;1,2;1;0;-1;3;-1;0\r\n";

// The version the tests run as has seen its readme already; keys of [PROGRAMMA] may follow.
inline const QByteArray kLetto = "[PROGRAMMA]\r\nEULA=100\r\n";

/// The window's controls, found as a screen reader or a GUI test tool finds them: by name.
template <class W>
W* Ctl(const QWidget& root, const QString& name) {
    W* w = root.findChild<W*>(name);
    if (!w) qWarning("no control %s", qPrintable(name));
    return w;
}
inline QString Nome(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}
/// An indexed control, or a single one when `i` is negative.
template <class W>
W* Ctl(const QWidget& root, const char* name, int i) {
    return Ctl<W>(root, i < 0 ? QString::fromLatin1(name) : Nome(name, i));
}
// One accessor per control the tests reach, by its name: CONTROLLO for a single control,
// CONTROLLI for an indexed one.
#define CONTROLLO(funzione, Kind, nome)            \
    inline Kind* funzione(const FrmVorsa& f) {     \
        return Ctl<Kind>(f, QStringLiteral(nome)); \
    }
#define CONTROLLI(funzione, Kind, nome)               \
    inline Kind* funzione(const FrmVorsa& f, int i) { \
        return Ctl<Kind>(f, Nome(nome, i));           \
    }
CONTROLLO(BoxCodice, QLineEdit, "box_Codice")
CONTROLLO(BoxPagato, QLineEdit, "box_Pagato")
CONTROLLO(ListaSpesa, QListWidget, "lst_spesa")
CONTROLLO(LblTotale, QLabel, "lbl_totale")
CONTROLLO(LblResto, QLabel, "lbl_resto")
CONTROLLO(LblUltimoScontrino, QLabel, "lblUltimoScontrino(0)")
CONTROLLO(TxtTavolo, QLineEdit, "txtTavolo")
CONTROLLO(TxtCommento, QPlainTextEdit, "txtCommento")
CONTROLLO(ChkStampa, QCheckBox, "chk_Stampa")
CONTROLLO(TmrInput, QTimer, "tmrInput")
CONTROLLO(TmrResize, QTimer, "tmrResize")
CONTROLLI(ConfCode, QLabel, "lbl_conf_code")
CONTROLLI(CmdAzione, QPushButton, "cmd_azioni")
CONTROLLI(LblAzioneCode, QLabel, "lbl_azioni_code")
CONTROLLI(CmdSoldi, QPushButton, "cmdSoldi")
CONTROLLI(CmdCalc, QPushButton, "cmdCalc")
CONTROLLI(Gestione, QFrame, "frm_gestione")
#undef CONTROLLO
#undef CONTROLLI
/// Product button of section 0..2, position 1-based; null when there is none.
inline QPushButton* Bottone(FrmVorsa& f, int section, int position) {
    ArticleGrid::Cell* c = f.Griglia().Trova(section, position);
    return c ? c->button : nullptr;
}

/// Leaves a field of a dialog for the dialog's "Chiudi", as with Tab.
inline void Lascia(QLineEdit* box) {
    box->window()
        ->findChild<QPushButton*>(QStringLiteral("cmd_Chiudi"))
        ->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!box->hasFocus());
}
/// Clicks a tick or a choice on its box or dot: a wide button's middle may lie past its
/// caption.
inline void Clicca(QAbstractButton* c) {
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2));
}
/// Types into a field of a dialog in place of its text and leaves it.
inline void Scrivi(QLineEdit* box, const QString& text) {
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
    Lascia(box);
}

/// A field of a dialog, what is typed into it, what it shows once left and the line it
/// writes (none when empty).
struct Campo {
    const char* nome;
    int indice;
    const char* scritto;
    const char* mostrato;
    QByteArray riga;
};

inline int Px(int twips) {
    return TwipsToPixelsX(twips);
}
inline int Py(int twips) {
    return TwipsToPixelsY(twips);
}

/// A started till and its loaded main window; the window goes first, after the panels that
/// the panels' tests add on it.
struct Scena {
    TillFixture fx;
    RecordingMessaggi messaggi;
    std::unique_ptr<FrmVorsa> frm;
    ScriptedPrompter prompter;
    std::unique_ptr<RecordingBackend> backend;
    std::unique_ptr<ReceiptPrinter> printer;
    std::unique_ptr<SalePresenter> cassa;
    std::unique_ptr<PrintPanel> stampa;
    std::unique_ptr<EditorPanel> editor;
    std::unique_ptr<StatisticsPanel> statistiche;

    void Sale() {
        cassa = std::make_unique<SalePresenter>(*frm, fx.till(), &prompter);
        cassa->Avvia();
    }
    /// The sale and F7's settings panel (printer controls without a printer, catalogue
    /// editor), opened at the window's minimum size.
    bool Impostazioni(const NetworkOptions* rete = nullptr) {
        frm->resize(frm->minimumSize());
        if (!QTest::qWaitFor([this] { return Assestata(); })) return false;
        Sale();
        stampa = std::make_unique<PrintPanel>(*Gestione(*frm, 1), fx.till().settings, nullptr,
                                              fx.till().cat, prompter, nullptr);
        editor = std::make_unique<EditorPanel>(*frm, fx.till(), cassa->vendita(), prompter, rete);
        QTest::keyClick(BoxCodice(*frm), Qt::Key_F7);
        return Gestione(*frm, 1)->isVisible();
    }

    /// F7's printer controls, shown, printing to recorded `stampanti`.
    void Stampanti(std::vector<std::string> stampanti, PrintPanel::PasswordSaver pwd = {}) {
        backend = std::make_unique<RecordingBackend>(std::move(stampanti));
        printer = std::make_unique<ReceiptPrinter>(fx.till().PartiStampa(), *backend,
                                                   [](const std::string&, const std::string&) {});
        stampa = std::make_unique<PrintPanel>(*Gestione(*frm, 1), fx.till().settings, printer.get(),
                                              fx.till().cat, prompter, std::move(pwd));
        Gestione(*frm, 1)->show();
    }

    /// F6's panel on the sale, acting through `azioni`.
    void Statistics(const StatisticsPanel::Actions& azioni) {
        if (!cassa) Sale();
        statistiche =
            std::make_unique<StatisticsPanel>(*Gestione(*frm, 0), fx.till(), azioni, prompter);
    }
    /// Clicks `button` of the window and returns the dialog it opened, found by `name`.
    template <class D>
    D* Apri(const char* button, const char* name) {
        QTest::mouseClick(Ctl<QPushButton>(*frm, QLatin1String(button)), Qt::LeftButton);
        D* d = frm->findChild<D*>(QLatin1String(name));
        return d && d->isVisible() ? d : nullptr;
    }

    bool Avvia(const QByteArray& ini, const std::function<void(Till&)>& prima = {}) {
        if (!fx.Valid() || !fx.Write(QStringLiteral("Vorsa.ini"), ini)) return false;
        fx.Start();
        if (prima) prima(fx.till());
        frm = std::make_unique<FrmVorsa>(fx.till(), &messaggi);
        frm->Load();
        frm->show();
        return QTest::qWaitForWindowExposed(frm.get()) || frm->isMinimized();
    }
    /// The window's size has settled and the buttons are laid out for it.
    bool Assestata() const {
        if (TmrResize(*frm)->isActive()) return false;
        if (frm->isMaximized() && frm->width() != 1920) return false;
        const WindowLayout& l = frm->LayoutCorrente();
        return l.larghezza == std::max(PixelsToTwipsX(frm->width()), kMinimoLarghezzaFinestra) &&
               l.altezza == std::max(PixelsToTwipsY(frm->height()), kMinimoAltezzaFinestra);
    }
    QByteArray Ini() const { return fx.Read(QStringLiteral("Vorsa.ini")); }
    /// The lines of one section of Vorsa.ini, in file order, without the header.
    QList<QByteArray> Sezione(const QByteArray& section) const {
        QList<QByteArray> out;
        bool inside = false;
        for (const QByteArray& raw : Ini().split('\n')) {
            const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
            if (line.startsWith('[')) {
                inside = line == "[" + section + "]";
                continue;
            }
            if (inside && !line.isEmpty()) out.push_back(line);
        }
        return out;
    }
    /// A key's value in Vorsa.ini, or "<none>".
    QByteArray Chiave(const QByteArray& section, const QByteArray& key) const {
        for (const QByteArray& l : Sezione(section))
            if (l.startsWith(key + "=")) return l.mid(key.size() + 1);
        return "<none>";
    }
    /// Types into each field of `dialog` and leaves it: it shows its value, `sezione` its line.
    void ScriviCampi(const QWidget& dialog, const QByteArray& sezione,
                     std::initializer_list<Campo> campi) const {
        for (const Campo& c : campi) {
            auto* box = Ctl<QLineEdit>(dialog, c.nome, c.indice);
            Scrivi(box, QLatin1String(c.scritto));
            QCOMPARE(box->text(), QLatin1String(c.mostrato));
            QVERIFY2(c.riga.isEmpty() || Sezione(sezione).contains(c.riga), c.nome);
        }
    }
    /// Top-left of a control in the window's coordinates.
    QPoint InFinestra(const QWidget& w) const { return w.mapTo(frm.get(), QPoint(0, 0)); }
};

}  // namespace vorsa::test
