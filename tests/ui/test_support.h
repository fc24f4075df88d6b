#pragma once
// Fakes of the outside world and a till over a fresh temporary folder with real local files.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/condivisione.h"
#include "platform/file_access.h"
#include "platform/system.h"
#include "platform/text.h"
#include "printing/stato_stampanti.h"
#include "sale/till.h"
#include "startup/startup.h"
#include "support/fakes.h"
#include "support/scripted_prompter.h"
#include "ui/notices/messaggi.h"

namespace vorsa::test {

/// Records every message and answers at once, from `risposte` and then with `answer`, so no
/// window ever blocks.
class RecordingMessaggi final : public Messaggi {
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

/// A share service that records what it is asked and succeeds unless told otherwise.
class ScriptedShare final : public TillShare {
  public:
    bool ok = true;
    QStringList calls;
    bool CreateTillShare(const std::string& folder, const std::string& share) override {
        calls << QString::fromStdString("create " + share + " " + folder);
        return ok;
    }
    void DeleteTillShare(const std::string& share) override {
        calls << QString::fromStdString("delete " + share);
    }
    std::vector<std::string> ListLocalAddresses() override {
        return {"192.168.0.5", "10.1.2.3", "172.16.40.200"};
    }
    std::string CurrentUserName() override { return "cassa"; }
    bool ImpostaPassword(const std::string& vecchia, const std::string& nuova) override {
        calls << QString::fromStdString("password " + vecchia + " -> " + nuova);
        return true;
    }
    void ProteggiConPassword(bool on) override { calls << (on ? "protect" : "open"); }
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

/// The lines of one section of an INI file, in file order, without the header.
inline QList<QByteArray> SectionLines(const QByteArray& file, const QByteArray& section) {
    QList<QByteArray> out;
    bool inside = false;
    for (const QByteArray& raw : file.split('\n')) {
        const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
        if (line.startsWith('[')) {
            inside = line == "[" + section + "]";
            continue;
        }
        if (inside && !line.isEmpty()) out.push_back(line);
    }
    return out;
}

/// A spooler whose printers the test sets; its jobs complete or fail as told. Read on worker
/// threads while the test changes it.
struct Spooler {
    std::mutex m;
    std::map<std::string, StatoStampante> stampanti;
    std::map<int, EsitoLavoro> esiti;
    std::vector<Qt::HANDLE> fili;  // the threads that asked
    std::mutex fermo;              // held by the test: every request waits
};

/// Reads a Spooler as the till reads the system's queues.
class Lettore final : public StatoStampanti {
  public:
    explicit Lettore(std::shared_ptr<Spooler> s) : s_(std::move(s)) {}
    StatoStampante Stato(const std::string& n) override {
        const std::lock_guard<std::mutex> attende(s_->fermo);
        const std::lock_guard<std::mutex> lock(s_->m);
        s_->fili.push_back(QThread::currentThreadId());
        const auto it = s_->stampanti.find(n);
        return it == s_->stampanti.end() ? StatoStampante{} : it->second;
    }
    int UltimoLavoro(const std::string&, std::int64_t) override { return 0; }
    std::vector<int> LavoriDopo(const std::string&, int) override {
        const std::lock_guard<std::mutex> lock(s_->m);
        std::vector<int> v;
        for (const auto& [id, e] : s_->esiti) v.push_back(id);
        return v;
    }
    EsitoLavoro Esito(int id) override {
        const std::lock_guard<std::mutex> lock(s_->m);
        return s_->esiti[id];
    }

  private:
    std::shared_ptr<Spooler> s_;
};

}  // namespace vorsa::test
