#pragma once
// The version file's download over Qt Network, bounded in time and in size, never blocking
// the event loop.
#include <QNetworkAccessManager>
#include <QObject>

#include "update/controlla_versione.h"

namespace vorsa {

class QtDownloader final : public QObject, public Downloader {
    Q_OBJECT
  public:
    explicit QtDownloader(int timeoutMs = kTimeoutVersioneMs,
                          std::size_t massimo = kMassimoFileVersione, QObject* parent = nullptr);
    ~QtDownloader() override;
    void Scarica(const std::string& url,
                 std::function<void(std::optional<std::string>)> done) override;

  private:
    QNetworkAccessManager rete_;
    int timeoutMs_;
    std::size_t massimo_;
};

}  // namespace vorsa
