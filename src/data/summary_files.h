#pragma once
// The statistics report files in the folder Statistiche: "Riepilogo_del_dd-mm-yyyy.txt",
// Windows-1252 text with CR LF line ends, written atomically; list, rename, delete, open.
#include <string>
#include <string_view>
#include <vector>

#include "data/statistics.h"
#include "platform/file_access.h"
#include "platform/system.h"

namespace vorsa {

/// The panel's texts a report copies as they are shown.
struct SummaryData {
    std::string titolo;              // txt_Stat_Commento
    std::string ultimaData;          // lbl_stat_ult_ins(0)
    std::string totale;              // lbl_totale_incasso
    std::string scontrini;           // lblTotaleScontrini
    std::string stornati;            // lblTotaleScontriniStornati
    std::vector<std::string> righe;  // lst_statistica
    /// One line per till (RigheCasse); printed only when more than one till sold.
    std::vector<std::string> casse;
};

/// "domenica 06/12/2026 ore 19:45".
std::string DataOraEstrazione(const DateTime& t);
/// The whole report, CR LF line ends.
std::string TestoRiepilogo(const SummaryData& d, const DateTime& adesso);

/// True when `nome` (at most 26 characters already) can name a report inside the folder: no
/// path separators, no "..", no NUL, not blank.
bool NomeRiepilogoValido(std::string_view nome);

class SummaryFiles {
  public:
    SummaryFiles(FileAccess& files, Shell& shell, Clock& clock, std::string cartella)
        : files_(files), shell_(shell), clock_(clock), cartella_(std::move(cartella)) {}

    /// FillStatisticsFileList: report names without ".txt", sorted.
    std::vector<std::string> Elenco();
    /// SaveStatisticsReport. False when nothing was written (empty list, No, write failed).
    bool Salva(const SummaryData& d, Prompter& domande);
    /// RenameStatisticsReport of `nome` as listed. True when renamed.
    bool Rinomina(const std::string& nome, Prompter& domande);
    /// DeleteStatisticsReport. True when deleted.
    bool Cancella(const std::string& nome, Prompter& domande);
    /// Opens the report with the desktop's program for text files.
    void Apri(const std::string& nome);

    /// Writes `bytes` atomically as "<prefisso>_del_dd-mm-yyyy_ore_hh-mm-ss<estensione>" in the
    /// folder ("_2", "_3" before the extension when that exists) and opens it with the
    /// desktop's program. The path written, empty when it failed.
    std::string SalvaEApri(std::string_view prefisso, std::string_view estensione,
                           std::string_view bytes);

    std::string Percorso(std::string_view nome) const;
    const std::string& cartella() const { return cartella_; }

  private:
    FileAccess& files_;
    Shell& shell_;
    Clock& clock_;
    std::string cartella_;
};

}  // namespace vorsa
