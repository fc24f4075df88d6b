#include "platform/qt/qt_downloader.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace vorsa {

QtDownloader::QtDownloader(int timeoutMs, std::size_t massimo, QObject* parent)
    : QObject(parent), timeoutMs_(timeoutMs), massimo_(massimo) {}

QtDownloader::~QtDownloader() {
    // Pending answers are dropped without calling back into objects being torn down.
    for (QNetworkReply* r : rete_.findChildren<QNetworkReply*>()) {
        r->disconnect(this);
        r->abort();
    }
}

void QtDownloader::Scarica(const std::string& url,
                           std::function<void(std::optional<std::string>)> done) {
    QNetworkRequest req(QUrl(QString::fromStdString(url)));
    // The transfer time-out only counts silence; the timer below bounds the whole exchange,
    // so a server that trickles bytes cannot hold the check open either.
    req.setTransferTimeout(timeoutMs_);
    QNetworkReply* reply = rete_.get(req);
    reply->setReadBufferSize(static_cast<qint64>(massimo_) + 1);

    auto body = std::make_shared<QByteArray>();
    auto troppo = std::make_shared<bool>(false);
    auto* scadenza = new QTimer(reply);
    scadenza->setSingleShot(true);
    connect(scadenza, &QTimer::timeout, reply, &QNetworkReply::abort);
    scadenza->start(timeoutMs_);

    const auto leggi = [reply, body, troppo, this] {
        if (*troppo) return;
        const qint64 len = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        body->append(reply->read(static_cast<qint64>(massimo_) + 1 - body->size()));
        if (len > static_cast<qint64>(massimo_) ||
            body->size() > static_cast<qsizetype>(massimo_)) {
            *troppo = true;
            body->clear();
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::metaDataChanged, this, leggi);
    connect(reply, &QNetworkReply::readyRead, this, leggi);
    connect(reply, &QNetworkReply::finished, this,
            [reply, body, troppo, leggi, done = std::move(done)] {
                reply->deleteLater();
                if (!*troppo && reply->error() == QNetworkReply::NoError) leggi();
                const int status =
                    reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                const bool ok = !*troppo && reply->error() == QNetworkReply::NoError &&
                                (status == 0 || status == 200);
                if (done) done(ok ? std::optional<std::string>(body->toStdString()) : std::nullopt);
            });
}

}  // namespace vorsa
