#include "printing/print_watch.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace vorsa {

PrintWatch::PrintWatch(PrinterStates& stato, Notify avvisa, TimeSource adesso)
    : stato_(stato), avvisa_(std::move(avvisa)), adesso_(std::move(adesso)) {
    if (!adesso_) adesso_ = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
}

void PrintWatch::PrimaDiStampare(const std::vector<Sheet>& fogli) {
    PrimaDiStampare(fogli, adesso_());
}

void PrintWatch::PrimaDiStampare(const std::vector<Sheet>& fogli, std::int64_t prima) {
    fogli_.clear();
    ultimi_.clear();
    std::map<std::string, PrinterState> visti;
    for (const Sheet& f : fogli) {
        auto it = visti.find(f.stampante);
        if (it == visti.end()) {
            it = visti.emplace(f.stampante, stato_.Stato(f.stampante)).first;
            const QueueState c = it->second.stato;
            if (c != QueueState::Assente && c != QueueState::Sconosciuta)
                ultimi_[f.stampante] = stato_.UltimoLavoro(f.stampante, prima);
        }
        if (const auto a = RegolaAvviso(f.stampante, f.nome, it->second, JobResult::NonInviato))
            avvisa_(*a, f);
        else
            fogli_.push_back(f);  // told once: its job is not followed for the same fault
    }
}

void PrintWatch::DopoAverStampato() {
    std::map<std::string, std::vector<Sheet>> perStampante;
    for (const Sheet& f : fogli_) perStampante[f.stampante].push_back(f);
    int soglia = 0;
    for (const auto& [stampante, ultimo] : ultimi_) {
        soglia = soglia == 0 ? ultimo : std::min(soglia, ultimo);
        std::vector<int> nuovi;
        // A job of the same second already given to an earlier bill is not this bill's.
        for (const int id : stato_.LavoriDopo(stampante, ultimo))
            if (visti_.insert(id).second) nuovi.push_back(id);
        const auto fogli = perStampante.find(stampante);
        if (fogli == perStampante.end()) continue;  // told before the job: not followed
        const std::vector<Sheet>& fs = fogli->second;
        // One job per slip in the order sent; extra jobs (a receipt's copies) belong to the
        // last slip of that printer.
        for (std::size_t i = 0; i < nuovi.size(); ++i)
            lavori_.push_back({nuovi[i], fs[std::min(i, fs.size() - 1)], 0});
    }
    // Jobs below every printer's mark are never asked about again.
    visti_.erase(visti_.begin(), visti_.lower_bound(soglia));
    fogli_.clear();
    ultimi_.clear();
}

void PrintWatch::Segui() {
    std::vector<Tracked> restano;
    for (Tracked& l : lavori_) {
        const JobResult e = stato_.Esito(l.id);
        if (e == JobResult::Completato) continue;
        if (e == JobResult::InCorso) {
            if (++l.giri < kGiriMassimi) restano.push_back(l);
            continue;
        }
        if (const auto a = RegolaAvviso(l.foglio.stampante, l.foglio.nome,
                                        stato_.Stato(l.foglio.stampante), e))
            avvisa_(*a, l.foglio);
    }
    lavori_ = std::move(restano);
}

}  // namespace vorsa
