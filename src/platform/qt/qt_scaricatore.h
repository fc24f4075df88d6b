#pragma once
// The version file's download over Qt Network, bounded in time and in size, never blocking
// the event loop.
#include <QNetworkAccessManager>
#include <QObject>

#include "update/controlla_versione.h"

namespace vorsa {

class QtScaricatore final : public QObject, public Scaricatore {
    Q_OBJECT
  public:
    explicit QtScaricatore(int timeoutMs = kTimeoutVersioneMs,
                           std::size_t massimo = kMassimoFileVersione, QObject* parent = nullptr);
    ~QtScaricatore() override;
    void Scarica(const std::string& url,
                 std::function<void(std::optional<std::string>)> done) override;

  private:
    QNetworkAccessManager rete_;
    int timeoutMs_;
    std::size_t massimo_;
};

}  // namespace vorsa
