#include "printing/sorveglianza_stampe.h"

#include <utility>

namespace vorsa {

SorveglianzaStampe::SorveglianzaStampe(StatoStampanti& stato, Avvisa avvisa)
    : stato_(stato), avvisa_(std::move(avvisa)) {}

void SorveglianzaStampe::PrimaDiStampare(const std::vector<Foglio>& fogli) {
    fogli_.clear();
    ultimi_.clear();
    std::map<std::string, StatoStampante> visti;
    for (const Foglio& f : fogli) {
        auto it = visti.find(f.stampante);
        if (it == visti.end()) {
            it = visti.emplace(f.stampante, stato_.Stato(f.stampante)).first;
            if (it->second.stato != StatoCoda::Assente)
                ultimi_[f.stampante] = stato_.UltimoLavoro(f.stampante);
        }
        if (const auto a = RegolaAvviso(f.stampante, f.nome, it->second, EsitoLavoro::NonInviato))
            avvisa_(*a, f);
        else
            fogli_.push_back(f);  // told once: its job is not followed for the same fault
    }
}

void SorveglianzaStampe::DopoAverStampato() {
    std::map<std::string, std::vector<Foglio>> perStampante;
    for (const Foglio& f : fogli_) perStampante[f.stampante].push_back(f);
    for (const auto& [stampante, fogli] : perStampante) {
        const auto u = ultimi_.find(stampante);
        if (u == ultimi_.end()) continue;
        const std::vector<int> nuovi = stato_.LavoriDopo(stampante, u->second);
        // One job per slip in the order sent; extra jobs (a receipt's copies) belong to the
        // last slip of that printer.
        for (std::size_t i = 0; i < nuovi.size(); ++i)
            lavori_.push_back({nuovi[i], fogli[std::min(i, fogli.size() - 1)], 0});
    }
    fogli_.clear();
}

void SorveglianzaStampe::Segui() {
    std::vector<Seguito> restano;
    for (Seguito& l : lavori_) {
        const EsitoLavoro e = stato_.Esito(l.id);
        if (e == EsitoLavoro::Completato) continue;
        if (e == EsitoLavoro::InCorso) {
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
