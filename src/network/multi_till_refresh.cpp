#include "network/multi_till_refresh.h"

namespace vorsa {

bool MultiTillRefresh::Tick(CatalogueView* view) {
    const std::optional<FileStamp> dati = files_.Stamp(paths_.gFileDati);
    if (!dati) {
        // Nothing to read (the main till is away): no refresh, and a full one when it is back.
        letto_ = false;
        return false;
    }
    const std::optional<FileStamp> lock = files_.Stamp(paths_.gFileLock);
    if (letto_ && dati == dati_ && lock == lock_) return false;
    // One change check per file for the whole refresh, not one per key read: the stamps just
    // taken.
    store_.profiles().BeginSnapshot();
    store_.profiles().SnapshotStamp(paths_.gFileDati, dati);
    store_.profiles().SnapshotStamp(paths_.gFileLock, lock);
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n)
        cat_.AggiornaArticolo(n, store_, opt_, paths_, view);
    store_.profiles().EndSnapshot();
    // Stamps taken before the reads: a change made meanwhile is read again at the next tick.
    dati_ = dati;
    lock_ = lock;
    letto_ = true;
    return true;
}

}  // namespace vorsa
