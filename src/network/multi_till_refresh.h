#pragma once
// The refresh of the product buttons from the shared files (tmrMultivorsa). Other tills change
// stock and held pieces; a tick reads every article again, but only when the data file or the
// lock file changed since the last refresh: an unchanged pair costs two metadata checks, not
// 480 reads across the network.
#include <optional>

#include "data/catalogue.h"
#include "platform/file_access.h"
#include "settings/options.h"
#include "settings/settings_store.h"

namespace vorsa {

/// The timer's interval.
inline constexpr int kIntervalloMultiVorsaMs = 2000;

class MultiTillRefresh {
  public:
    MultiTillRefresh(FileAccess& files, SettingsStore& store, Catalogue& cat, const Options& opt,
                     const Paths& paths)
        : files_(files), store_(store), cat_(cat), opt_(opt), paths_(paths) {}

    /// One tick: refreshes every article 1..total with AggiornaArticolo (repainting through
    /// `view`) when a shared file changed. True when it did.
    bool Tick(CatalogueView* view);

  private:
    FileAccess& files_;
    SettingsStore& store_;
    Catalogue& cat_;
    const Options& opt_;
    const Paths& paths_;
    bool letto_ = false;
    std::optional<FileStamp> dati_;
    std::optional<FileStamp> lock_;
};

}  // namespace vorsa
