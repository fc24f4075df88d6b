#pragma once
// Sales waiting for the shared data file. When the main till or its share is away, a sale is
// kept here, in the till's own folder, and printed at once with a provisional number; it reaches
// the shared file later, in order, through the same transaction as any sale.
#include <optional>
#include <string>
#include <vector>

#include "platform/file_access.h"
#include "platform/ini_document.h"

namespace vorsa {

/// One waiting sale as kept: its archive record is the one the shared file will hold.
struct PendingSale {
    long long id = 0;      // this till's own sequence, never reused
    std::string record;    // SCONTRINI/<n> record, built when the sale was made
    std::string commento;  // SCONTRINI/<n>_commento
    std::string data;      // "dd/mm/yyyy hh:mm:ss" of the sale

    /// The number printed on its receipt and tickets: "P12".
    std::string Provvisorio() const { return "P" + std::to_string(id); }
};

inline constexpr const char* kFileAttesa = "VorsaAttesa.ini";

class PendingSales {
  public:
    PendingSales(FileAccess& files, std::string path);

    /// Keeps a sale, with the next id; nullopt when the file could not be written (nothing
    /// was kept then). Written whole and atomically: a kill leaves the old list or the new one.
    std::optional<PendingSale> Accoda(const std::string& record, const std::string& commento,
                                      const std::string& data);
    /// The waiting sales, oldest first.
    std::vector<PendingSale> Elenco();
    std::size_t Quante() { return Elenco().size(); }
    /// Drops every sale up to `id`, delivered; false when the file could not be written.
    bool Togli(long long id);
    /// The last id given; the next one is above it and above `minimo`, which lets the shared
    /// file's record of delivered ids win over a list whose counter went back.
    long long Ultimo();
    bool Rinumera(long long minimo);

  private:
    IniDocument& Doc();
    bool Scrivi(const IniDocument& doc);

    FileAccess& files_;
    std::string path_;
    IniDocument doc_;
    std::optional<FileStamp> stamp_;
    bool letto_ = false;
};

}  // namespace vorsa
