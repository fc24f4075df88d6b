#pragma once
// The till's web pages on the festival network: /numeri for customers, /cucina and /incassi
// behind their PINs. The server runs on a thread of its own, so that no client, however slow
// or hostile, ever slows the till; it only serves the figures the till publishes and passes
// "ready" marks back to the till's thread.
#include <QObject>
#include <QThread>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "web/ready_marks.h"

namespace vorsa {

/// What the pages show, as the JSON that the till's thread built (WebEvening).
struct WebData {
    std::string numeri, cucina, incassi;
};

class WebWorker;

class WebServer : public QObject {
    Q_OBJECT
  public:
    /// `segna` marks a receipt ready; it runs on the thread that made the server.
    explicit WebServer(std::function<ReadyResult(std::int32_t)> segna, QObject* parent = nullptr);
    ~WebServer() override;  // stops the thread and joins it

    /// Listens on every address at `porta`. False, with the reason in Italian, when it cannot.
    bool Avvia(quint16 porta, QString* errore = nullptr);
    void Ferma();
    bool Attivo() const { return porta_ != 0; }
    quint16 Porta() const { return porta_; }

    void ImpostaPin(const std::string& cucina, const std::string& incassi);
    /// New figures: every page whose JSON changed is sent to its open clients.
    void Pubblica(const WebData& dati);
    /// Open live connections (for the tests and the benchmark).
    int Clienti() const;

  private:
    std::function<ReadyResult(std::int32_t)> segna_;
    QThread thread_;
    WebWorker* lavoratore_ = nullptr;  // lives on thread_
    quint16 porta_ = 0;
};

/// Italian text of a mark's outcome, as the kitchen page shows it.
QString TestoEsito(ReadyResult e, std::int32_t numero);

}  // namespace vorsa
