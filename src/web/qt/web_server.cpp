#include "web/qt/web_server.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <QtHttpServer/QAbstractHttpServer>
#include <QtHttpServer/QHttpServerRequest>
#include <QtHttpServer/QHttpServerResponder>
#include <map>
#include <vector>

#include "web/web_evening.h"
#include "web/web_options.h"

namespace vorsa {

namespace {

using Status = QHttpServerResponder::StatusCode;

// Enough for a festival's screens and phones; more are refused at once, not queued.
constexpr int kMaxConnessioni = 600;
// A request's headers and body together; the pages send a few hundred bytes.
constexpr qint64 kMaxRichiesta = 16 * 1024;
// A connection that is not a live page and sends nothing for this long is closed.
constexpr qint64 kInattivoMs = 15'000;
constexpr qint64 kPingMs = 15'000;

/// The listening socket: counts and limits connections, and closes idle or oversized ones
/// before the HTTP parser spends anything on them.
class Listener : public QTcpServer {
  public:
    explicit Listener(QObject* parent) : QTcpServer(parent) {
        auto* t = new QTimer(this);
        connect(t, &QTimer::timeout, this, &Listener::ChiudiInattivi);
        t->start(2000);
        orologio_.start();
    }
    int Aperte() const { return static_cast<int>(attive_.size()); }
    void NuovaRichiesta(QTcpSocket* s) {
        auto it = attive_.find(s);
        if (it != attive_.end()) it->second.letti = 0;
    }
    void DiventaFlusso(QTcpSocket* s) {
        auto it = attive_.find(s);
        if (it != attive_.end()) it->second.flusso = true;
    }

  protected:
    void incomingConnection(qintptr fd) override {
        auto* s = new QTcpSocket(this);
        if (!s->setSocketDescriptor(fd) || Aperte() >= kMaxConnessioni) {
            s->abort();
            s->deleteLater();
            return;
        }
        attive_[s] = {orologio_.elapsed(), 0, false};
        // Connected before the HTTP server's own handler, so it sees the bytes first.
        connect(s, &QTcpSocket::readyRead, this, [this, s] {
            State& st = attive_[s];
            st.ultimo = orologio_.elapsed();
            st.letti += s->bytesAvailable();
            if (!st.flusso && st.letti > kMaxRichiesta) s->abort();
        });
        connect(s, &QObject::destroyed, this, [this, s] { attive_.erase(s); });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        addPendingConnection(s);
    }

  private:
    struct State {
        qint64 ultimo = 0;
        qint64 letti = 0;
        bool flusso = false;
    };
    void ChiudiInattivi() {
        const qint64 ora = orologio_.elapsed();
        std::vector<QTcpSocket*> vecchi;
        for (const auto& [s, st] : attive_)
            if (!st.flusso && ora - st.ultimo > kInattivoMs) vecchi.push_back(s);
        for (QTcpSocket* s : vecchi) s->abort();
    }
    std::map<QTcpSocket*, State> attive_;
    QElapsedTimer orologio_;
};

QByteArray Risorsa(const QString& nome) {
    QFile f(QStringLiteral(":/web/") + nome);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray JsonErrore(const QString& testo) {
    return "{\"errore\":" + QByteArray::fromStdString(JsonUtf8(testo.toStdString())) + "}";
}

}  // namespace

QString TestoEsito(ReadyResult e, std::int32_t numero) {
    const QString n = QString::number(numero);
    switch (e) {
        case ReadyResult::Segnato:
            return QStringLiteral("Numero %1 pronto").arg(n);
        case ReadyResult::GiaPronto:
            return QStringLiteral("Il numero %1 era gi\u00e0 pronto").arg(n);
        case ReadyResult::Sconosciuto:
            return QStringLiteral("Lo scontrino %1 non esiste").arg(n);
        case ReadyResult::Stornato:
            return QStringLiteral("Lo scontrino %1 \u00e8 stornato").arg(n);
        case ReadyResult::NonSalvato:
            break;
    }
    return QStringLiteral("Numero %1 non salvato: il file dei dati \u00e8 occupato, riprova")
        .arg(n);
}

class WebWorker : public QAbstractHttpServer {
    Q_OBJECT
  public:
    WebWorker() { orologio_.start(); }

    quint16 Ascolta(quint16 porta, QString* errore) {
        ascolto_ = new Listener(this);
        if (!ascolto_->listen(QHostAddress::Any, porta)) {
            if (errore) *errore = ascolto_->errorString();
            delete ascolto_;
            ascolto_ = nullptr;
            return 0;
        }
        bind(ascolto_);
        auto* ping = new QTimer(this);
        connect(ping, &QTimer::timeout, this, [this] { Invia(-1, ": ping\n\n"); });
        ping->start(kPingMs);
        return ascolto_->serverPort();
    }
    void Pin(const std::string& cucina, const std::string& incassi) {
        pin_[1] = cucina;
        pin_[2] = incassi;
    }
    void Pubblica(const WebData& d) {
        const std::string* nuovi[3] = {&d.numeri, &d.cucina, &d.incassi};
        for (int p = 0; p < 3; ++p) {
            if (*nuovi[p] == dati_[p]) continue;
            dati_[p] = *nuovi[p];
            Invia(p, Evento(p));
        }
    }
    int Clienti() const { return static_cast<int>(flussi_.size()); }
    void Rispondi(quint64 id, std::int32_t numero, ReadyResult e) {
        auto it = attese_.find(id);
        if (it == attese_.end()) return;  // the client went away meanwhile
        const bool ok = e == ReadyResult::Segnato || e == ReadyResult::GiaPronto;
        const QByteArray corpo =
            "{\"ok\":" + QByteArray(ok ? "true" : "false") + ",\"messaggio\":" +
            QByteArray::fromStdString(JsonUtf8(TestoEsito(e, numero).toStdString())) + "}";
        it->second.write(corpo, "application/json", ok ? Status::Ok : Status::Conflict);
        attese_.erase(it);
    }

  signals:
    void richiestaPronto(quint64 id, qint32 numero);

  protected:
    bool handleRequest(const QHttpServerRequest& req, QTcpSocket* socket) override {
        if (ascolto_) ascolto_->NuovaRichiesta(socket);
        QHttpServerResponder r = makeResponder(req, socket);
        const QString path = req.url().path();
        const bool get = req.method() == QHttpServerRequest::Method::Get;
        static const std::map<QString, QString> pagine = {
            {QStringLiteral("/"), QStringLiteral("indice.html")},
            {QStringLiteral("/numeri"), QStringLiteral("numeri.html")},
            {QStringLiteral("/cucina"), QStringLiteral("cucina.html")},
            {QStringLiteral("/incassi"), QStringLiteral("incassi.html")},
            {QStringLiteral("/vorsa.js"), QStringLiteral("vorsa.js")}};
        if (auto it = pagine.find(path); get && it != pagine.end()) {
            const bool js = it->second.endsWith(QStringLiteral(".js"));
            r.write(
                Risorsa(it->second),
                {{"Content-Type",
                  js ? "text/javascript; charset=utf-8" : "text/html; charset=utf-8"},
                 {"Cache-Control", "no-store"},
                 {"X-Content-Type-Options", "nosniff"},
                 {"Content-Security-Policy",
                  "default-src 'self'; style-src 'self' 'unsafe-inline'; img-src 'self' data:"}});
            return true;
        }
        const int pagina = Pagina(path);
        if (pagina < 0) {
            r.write(JsonErrore(QStringLiteral("Pagina inesistente")), "application/json",
                    Status::NotFound);
            return true;
        }
        if (!Ammesso(req, pagina, r)) return true;
        if (path.startsWith(QStringLiteral("/eventi/")) && get) {
            ApriFlusso(pagina, std::move(r), socket);
        } else if (path.startsWith(QStringLiteral("/dati/")) && get) {
            r.write(QByteArray::fromStdString(dati_[pagina]), "application/json");
        } else if (path == QStringLiteral("/cucina/pronto") &&
                   req.method() == QHttpServerRequest::Method::Post) {
            ChiediPronto(req, std::move(r));
        } else {
            r.write(JsonErrore(QStringLiteral("Richiesta non valida")), "application/json",
                    Status::MethodNotAllowed);
        }
        return true;
    }
    void missingHandler(const QHttpServerRequest&, QTcpSocket* socket) override { socket->abort(); }

  private:
    /// 0 numbers, 1 kitchen, 2 takings; -1 for no page of data.
    static int Pagina(const QString& path) {
        static const std::map<QString, int> dati = {
            {QStringLiteral("/dati/numeri"), 0},   {QStringLiteral("/eventi/numeri"), 0},
            {QStringLiteral("/dati/cucina"), 1},   {QStringLiteral("/eventi/cucina"), 1},
            {QStringLiteral("/cucina/pronto"), 1}, {QStringLiteral("/dati/incassi"), 2},
            {QStringLiteral("/eventi/incassi"), 2}};
        auto it = dati.find(path);
        return it == dati.end() ? -1 : it->second;
    }
    bool Ammesso(const QHttpServerRequest& req, int pagina, QHttpServerResponder& r) {
        if (pagina == 0) return true;
        QByteArray pin = req.value("X-Pin");
        if (pin.isEmpty()) pin = req.query().queryItemValue(QStringLiteral("pin")).toUtf8();
        const auto esito = guardia_.Prova(req.remoteAddress().toString().toStdString(),
                                          pin.toStdString(), pin_[pagina], orologio_.elapsed());
        if (esito == PinGuard::Outcome::Ok) return true;
        r.write(
            JsonErrore(esito == PinGuard::Outcome::Bloccato
                           ? QStringLiteral("Troppi PIN errati: riprova tra un minuto")
                           : QStringLiteral("PIN errato")),
            "application/json",
            esito == PinGuard::Outcome::Bloccato ? Status::TooManyRequests : Status::Unauthorized);
        return false;
    }
    QByteArray Evento(int pagina) const {
        return "data: " + QByteArray::fromStdString(dati_[pagina]) + "\n\n";
    }
    void ApriFlusso(int pagina, QHttpServerResponder&& r, QTcpSocket* socket) {
        r.writeStatusLine(Status::Ok);
        r.writeHeaders({{"Content-Type", "text/event-stream"},
                        {"Cache-Control", "no-store"},
                        {"X-Content-Type-Options", "nosniff"}});
        r.writeBody(Evento(pagina));
        if (ascolto_) ascolto_->DiventaFlusso(socket);
        flussi_.emplace(socket, Stream{pagina, std::move(r)});
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { flussi_.erase(socket); });
    }
    void ChiediPronto(const QHttpServerRequest& req, QHttpServerResponder&& r) {
        const QString codice = QUrlQuery(QString::fromUtf8(req.body()))
                                   .queryItemValue(QStringLiteral("codice"), QUrl::FullyDecoded);
        const auto numero = NumeroScansionato(codice.toStdString());
        if (!numero) {
            r.write(JsonErrore(QStringLiteral("Codice non valido: ") + codice.left(20)),
                    "application/json", Status::BadRequest);
            return;
        }
        const quint64 id = ++ultimaAttesa_;
        QTcpSocket* socket = r.socket();
        attese_.emplace(id, std::move(r));
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { attese_.erase(id); });
        emit richiestaPronto(id, *numero);
    }
    /// To every live page of `pagina` (-1: all of them).
    void Invia(int pagina, const QByteArray& evento) {
        for (auto& [socket, f] : flussi_)
            if (pagina < 0 || f.pagina == pagina) f.r.writeBody(evento);
    }

    struct Stream {
        int pagina;
        QHttpServerResponder r;
    };
    Listener* ascolto_ = nullptr;
    std::string dati_[3] = {"{\"numeri\":[]}", "{\"ordini\":[]}", "{}"};
    std::string pin_[3];
    PinGuard guardia_;
    QElapsedTimer orologio_;
    std::map<QTcpSocket*, Stream> flussi_;
    std::map<quint64, QHttpServerResponder> attese_;
    quint64 ultimaAttesa_ = 0;
};

WebServer::WebServer(std::function<ReadyResult(std::int32_t)> segna, QObject* parent)
    : QObject(parent), segna_(std::move(segna)) {
    thread_.setObjectName(QStringLiteral("vorsa-web"));
}

WebServer::~WebServer() {
    Ferma();
}

bool WebServer::Avvia(quint16 porta, QString* errore) {
    Ferma();
    lavoratore_ = new WebWorker;
    lavoratore_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, lavoratore_, &QObject::deleteLater);
    connect(lavoratore_, &WebWorker::richiestaPronto, this, [this](quint64 id, qint32 n) {
        const ReadyResult e = segna_(n);
        QMetaObject::invokeMethod(lavoratore_,
                                  [l = lavoratore_, id, n, e] { l->Rispondi(id, n, e); });
    });
    thread_.start();
    QMetaObject::invokeMethod(
        lavoratore_, [this, porta, errore] { porta_ = lavoratore_->Ascolta(porta, errore); },
        Qt::BlockingQueuedConnection);
    if (porta_ == 0) Ferma();
    return porta_ != 0;
}

void WebServer::Ferma() {
    if (!thread_.isRunning()) return;
    thread_.quit();
    thread_.wait();
    lavoratore_ = nullptr;
    porta_ = 0;
}

void WebServer::ImpostaPin(const std::string& cucina, const std::string& incassi) {
    if (lavoratore_)
        QMetaObject::invokeMethod(lavoratore_,
                                  [l = lavoratore_, cucina, incassi] { l->Pin(cucina, incassi); });
}

void WebServer::Pubblica(const WebData& dati) {
    if (lavoratore_)
        QMetaObject::invokeMethod(lavoratore_, [l = lavoratore_, dati] { l->Pubblica(dati); });
}

int WebServer::Clienti() const {
    int n = 0;
    if (lavoratore_)
        QMetaObject::invokeMethod(
            lavoratore_, [l = lavoratore_, &n] { n = l->Clienti(); }, Qt::BlockingQueuedConnection);
    return n;
}

}  // namespace vorsa

#include "web_server.moc"
