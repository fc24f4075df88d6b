#pragma once
// A small light per printer in use: green ready, amber printing, red stopped, missing or
// refusing jobs, grey while the spooler cannot be asked; its name and state on hover. The spooler
// is read on a CupsWorker every few seconds, so input never waits for it.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "printing/printer_states.h"
#include "ui/notices/cups_worker.h"

class QLabel;
class QTimer;

namespace vorsa {

class PrinterLights final : public QWidget {
    Q_OBJECT
  public:
    /// `crea` makes the reader used on the worker thread (one per read: libcups keeps its
    /// connection per thread).
    using StatesReader = std::function<std::unique_ptr<PrinterStates>()>;
    PrinterLights(StatesReader crea, int intervalloMs = 3000, QWidget* parent = nullptr);
    ~PrinterLights() override;

    /// The printers in use, one light each, in this order (names repeated once).
    void Imposta(const std::vector<std::string>& stampanti);
    /// The printers in use, asked again at every refresh: a printer chosen in the options
    /// re-lists the lights.
    void Segui(std::function<std::vector<std::string>()> elenco);
    /// Keeps the lights at the right end of `ancora`, inside it, as it is laid out.
    void Affianca(QWidget* ancora);
    /// Reads the states now (on the worker); the lights change when it answers.
    void Aggiorna();
    /// The lights from states read: used by the worker's answer.
    void Mostra(const std::vector<PrinterState>& stati);

    Light SpiaDi(int i) const { return spie_.at(static_cast<std::size_t>(i)); }
    QLabel* Luce(int i) const { return luci_.at(static_cast<std::size_t>(i)); }
    /// The text on hover: the printer's name and state.
    static QString Descrizione(const std::string& stampante, const PrinterState& s);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  signals:
    void Aggiornate();
    /// The operator clicked the lights.
    void Cliccate();

  private:
    void Colloca();

    StatesReader crea_;
    std::function<std::vector<std::string>()> elenco_;
    QWidget* ancora_ = nullptr;
    QTimer* timer_ = nullptr;
    std::vector<std::string> stampanti_;
    std::vector<QLabel*> luci_;
    std::vector<Light> spie_;
    bool inLettura_ = false;
    CupsWorker worker_;  // last: stopped and joined before the rest goes
};

}  // namespace vorsa
