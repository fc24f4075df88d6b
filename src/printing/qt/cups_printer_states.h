#pragma once
// The printers' and jobs' state read from CUPS through libcups. Each call is one short IPP
// request to the local spooler.
#include "printing/printer_states.h"

namespace vorsa {

class CupsPrinterStates final : public PrinterStates {
  public:
    PrinterState Stato(const std::string& stampante) override;
    int UltimoLavoro(const std::string& stampante, std::int64_t primaDi) override;
    std::vector<int> LavoriDopo(const std::string& stampante, int dopo) override;
    JobResult Esito(int lavoro) override;
};

}  // namespace vorsa
