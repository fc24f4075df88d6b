// The version check over real HTTP on 127.0.0.1: a small server in the test answers as a
// release page would, or hangs, refuses, fails or floods; the check must report only a real
// newer version, leave no file behind and never stop the event loop.
#include <QMessageBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <optional>

#include "platform/qt/qt_downloader.h"
#include "platform/text.h"
#include "support/fakes.h"
#include "ui/notices/version_notice.h"
#include "update/controlla_versione.h"

namespace vorsa {
namespace {

enum class Modo { Risposta, Silenzio, Enorme, EnormeSenzaLunghezza, Chiuso };

/// An HTTP server on 127.0.0.1 that answers each request according to `modo`.
class ServerProva : public QObject {
  public:
    Modo modo = Modo::Risposta;
    QByteArray risposta;
    qint64 scritti = 0;

    bool Avvia() {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, this, [this, s] { Richiesta(*s); });
            }
        });
        const bool ok = server_.listen(QHostAddress::LocalHost, 0);
        porta_ = server_.serverPort();
        if (modo == Modo::Chiuso) server_.close();  // the port refuses connections
        return ok;
    }
    QString Url() const {
        return QStringLiteral("http://127.0.0.1:%1/prg/vorsa/versione.txt").arg(porta_);
    }

  private:
    void Richiesta(QTcpSocket& s) {
        buffer_ += s.readAll();
        if (!buffer_.contains("\r\n\r\n")) return;
        buffer_.clear();
        // A version file that would report a newer version, followed by 10 MB of comments.
        QByteArray enorme = "[VORSA]\r\nVersione=999\r\n";
        if (modo == Modo::Enorme || modo == Modo::EnormeSenzaLunghezza) {
            const QByteArray riga(1022, ';');
            while (enorme.size() < 10 * 1024 * 1024) enorme += riga + "\r\n";
        }
        switch (modo) {
            case Modo::Risposta:
                scritti += s.write(risposta);
                break;
            case Modo::Silenzio:  // accepts, reads, never answers
            case Modo::Chiuso:    // nothing connects to a closed port
                return;
            case Modo::Enorme:
                scritti += s.write("HTTP/1.1 200 OK\r\nContent-Length: " +
                                   QByteArray::number(enorme.size()) + "\r\n\r\n" + enorme);
                break;
            case Modo::EnormeSenzaLunghezza:
                scritti += s.write("HTTP/1.0 200 OK\r\nConnection: close\r\n\r\n" + enorme);
                break;
        }
        s.disconnectFromHost();
    }

    QTcpServer server_;
    quint16 porta_ = 0;
    QByteArray buffer_;
};

QByteArray Http(const QByteArray& status, const QByteArray& body) {
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace

class TstVersione : public QObject {
    Q_OBJECT

    std::unique_ptr<FileAccess> files_ = MakeLocalFileAccess(false);
    test::FakeClock clock_;
    test::FakeSleeper sleeper_{&clock_};
    test::FakeShell shell_;
    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> store_;

    QString Target() {
        return QString::fromStdString(Cp1252ToUtf8(store_->CartellaTemp() + "VerVorsa.txt"));
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        store_ = std::make_unique<SettingsStore>(*files_, clock_, sleeper_, shell_,
                                                 dir_.path().toStdString());
    }

    // Every answer but a real newer version is "no news", by the time-out when the server
    // stays silent; meanwhile the event loop goes on serving the till. What an answer that
    // arrived says: the version check's core tests.
    void risposte() {
        static const char kSpazzatura[] = "\x00\xff\x13garbage\r\n\r\n";
        const struct {
            const char* name;
            Modo modo;
            QByteArray risposta;
            bool nuova;
        } casi[] = {
            {"newer", Modo::Risposta, Http("200 OK", "[VORSA]\r\nVersione=148\r\n"), true},
            // A page that is not found is no version file, whatever its body says.
            {"404", Modo::Risposta, Http("404 Not Found", "[VORSA]\r\nVersione=999\r\n"), false},
            {"not http", Modo::Risposta, QByteArray(kSpazzatura, sizeof kSpazzatura - 1), false},
            {"cut short", Modo::Risposta,
             "HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\n[VORSA]\r\nVersione=148\r\n", false},
            {"10 MB", Modo::Enorme, {}, false},
            {"10 MB, no length", Modo::EnormeSenzaLunghezza, {}, false},
            {"refused connection", Modo::Chiuso, {}, false},
            {"silent", Modo::Silenzio, {}, false},
        };
        for (const auto& c : casi) {
            ServerProva server;
            server.modo = c.modo;
            server.risposta = c.risposta;
            QVERIFY(server.Avvia());
            QtDownloader rete;
            ControllaVersione check(*store_, *files_, rete, {1, 4, 7}, server.Url().toStdString());
            int battiti = 0;
            QTimer battito;
            connect(&battito, &QTimer::timeout, this, [&] { ++battiti; });
            battito.start(20);
            std::optional<bool> esito;
            check.Avvia([&](bool n) { esito = n; });
            QVERIFY2(!esito.has_value(), c.name);  // nothing waited for here
            QTRY_VERIFY_WITH_TIMEOUT(esito.has_value(), 15000);
            QVERIFY2(*esito == c.nuova, c.name);
            QVERIFY2(!QFile::exists(Target()), c.name);
            if (c.modo == Modo::Silenzio)
                QVERIFY2(battiti >= 20, qPrintable(QString::number(battiti)));
        }
    }

    // The notice: the address, over the main window, shown without blocking.
    void noticeOfANewerVersion() {
        ServerProva server;
        server.risposta = Http("200 OK", "[VORSA]\r\nVersione=148\r\n");
        QVERIFY(server.Avvia());
        QWidget finestra;
        finestra.show();
        QtDownloader rete;
        ControllaVersione check(*store_, *files_, rete, {1, 4, 7}, server.Url().toStdString());
        AvviaControlloVersione(check, &finestra);
        QMessageBox* box = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(
            (box = finestra.findChild<QMessageBox*>(QStringLiteral("msgNuovaVersione"))) != nullptr,
            15000);
        // The words: the version check's core tests; the address must reach the operator.
        QVERIFY(box->text().endsWith(QString::fromUtf8(
            kIndirizzoVersione.data(), static_cast<qsizetype>(kIndirizzoVersione.size()))));
        QVERIFY(!QFile::exists(Target()));
        box->close();
    }
};

}  // namespace vorsa

QTEST_MAIN(vorsa::TstVersione)
#include "tst_version_notice.moc"
