#pragma once
// The web pages of the main till (or of a till alone): the server, and the figures it serves,
// read from the data file once a second on the till's thread and after every ready mark. The
// same tick follows the options: the frame "Pagine web" only writes them.
#include <QObject>
#include <QTimer>
#include <memory>
#include <string>
#include <tuple>

#include "web/qt/web_server.h"
#include "web/web_evening.h"

namespace vorsa {

class Messages;
class Till;

class WebPages : public QObject {
    Q_OBJECT
  public:
    WebPages(Till& till, Messages& messaggi);
    ~WebPages() override;

    /// Starts, restarts or stops the server as the options now say. A port that cannot be
    /// opened is told in the message window, once; the till goes on without the pages.
    void Applica();
    /// Whether this till serves the pages in its role: alone or as the main till.
    static bool ServeLePagine(const Till& till);
    const WebServer& Server() const { return server_; }
    /// Reads the data file now and sends what changed (after a mark; the tests call it).
    void Aggiorna();

  private:
    ReadyResult Segna(std::int32_t numero);
    void Tick();
    /// What the server runs with, to notice a change of the options.
    std::tuple<bool, int, std::string, std::string> Voluto() const;

    Till& till_;
    Messages& messaggi_;
    WebEvening serata_;
    WebServer server_;
    QTimer timer_;
    std::tuple<bool, int, std::string, std::string> applicato_;
};

}  // namespace vorsa
