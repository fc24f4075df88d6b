// The rules that turn a printer's state and a job's outcome into the operator's notice, and
// the follower of a bill's jobs, on a scripted spooler.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "printing/print_watch.h"
#include "printing/printer_states.h"

namespace vorsa {
namespace {

using C = QueueState;
using E = JobResult;

struct Caso {
    C coda;
    bool accetta;
    E esito;
    bool avviso, ristampa;
    const char* frammento;  // a piece the notice must hold ("" when none)
};

TEST(Regola, NoticeAndOffer) {
    const Caso casi[] = {
        // Before the job.
        {C::Pronta, true, E::NonInviato, false, false, ""},
        {C::Assente, false, E::NonInviato, true, true, "non trovata"},
        {C::Pronta, false, E::NonInviato, true, true, "non accetta"},
        {C::Ferma, false, E::NonInviato, true, true, "non accetta"},
        // A stopped queue keeps the job and prints it when it restarts: no second copy.
        {C::Ferma, true, E::NonInviato, true, false, "In attesa"},
        // While the job runs.
        {C::Pronta, true, E::InCorso, false, false, ""},
        {C::Ferma, true, E::InCorso, true, false, "ferma"},
        {C::Assente, false, E::InCorso, true, false, "non trovata"},
        {C::Pronta, false, E::InCorso, true, false, "non accetta"},
        // After it.
        {C::Pronta, true, E::Annullato, true, true, "annullata"},
        {C::Pronta, true, E::Interrotto, true, true, "interrotta"},
        {C::Pronta, true, E::Fermato, true, false, "In attesa"},
        // Completed is never offered again, whatever the queue is doing now.
        {C::Assente, false, E::Completato, false, false, ""},
        // A spooler that does not answer: the operator looks; never printed twice blindly.
        {C::Sconosciuta, false, E::NonInviato, true, false, "non risponde"},
        {C::Sconosciuta, false, E::Interrotto, true, true, "interrotta"}};
    for (const Caso& c : casi) {
        const PrinterState s{c.coda, c.accetta, {}};
        const auto a = RegolaAvviso("Cucina1", "Comanda Primi", s, c.esito);
        ASSERT_EQ(a.has_value(), c.avviso) << "case " << (&c - casi);
        if (!a) continue;
        EXPECT_EQ(a->offriRistampa, c.ristampa) << a->testo;
        // Every notice names the printer and the slip.
        EXPECT_NE(a->testo.find("\"Cucina1\""), std::string::npos) << a->testo;
        EXPECT_NE(a->testo.find("Comanda Primi"), std::string::npos) << a->testo;
        EXPECT_NE(a->testo.find(c.frammento), std::string::npos) << a->testo;
    }
}

TEST(Motivi, OperatorWordsSlipNamesAndLights) {
    EXPECT_EQ(MotiviLeggibili({"none"}), "");
    EXPECT_EQ(MotiviLeggibili({"media-empty-error", "media-needed-warning"}), "carta esaurita");
    EXPECT_EQ(MotiviLeggibili({"offline-report", "media-jam-error"}),
              "non in linea, carta inceppata");
    EXPECT_EQ(MotiviLeggibili({"com.vendor-fuser-hot-warning"}), "com.vendor-fuser-hot");
    const auto a = RegolaAvviso("Banco", "Scontrino",
                                {C::Ferma, true, {"paused", "media-empty-error"}}, E::NonInviato);
    ASSERT_TRUE(a);
    EXPECT_NE(a->testo.find("(messa in pausa, carta esaurita)"), std::string::npos) << a->testo;
    // Unknown is not a guess either way.
    const std::pair<PrinterState, Light> luci[] = {
        {{C::Pronta, true, {}}, Light::Verde},   {{C::InStampa, true, {}}, Light::Ambra},
        {{C::Ferma, true, {}}, Light::Rossa},    {{C::Pronta, false, {}}, Light::Rossa},
        {{C::Assente, false, {}}, Light::Rossa}, {{C::Sconosciuta, true, {}}, Light::Grigia}};
    for (const auto& [stato, spia] : luci) EXPECT_EQ(SpiaDi(stato), spia);
}

/// A spooler scripted by the test: printers' states and jobs with their outcomes.
class Spooler : public PrinterStates {
  public:
    std::map<std::string, PrinterState> stampanti;
    std::map<int, std::tuple<std::string, E, std::int64_t>> lavori;  // printer, outcome, created
    std::int64_t ora = 1000;
    int chiamate = 0;

    PrinterState Stato(const std::string& s) override {
        ++chiamate;
        return stampanti.contains(s) ? stampanti[s] : PrinterState{};
    }
    int UltimoLavoro(const std::string& s, std::int64_t primaDi) override {
        int u = 0;
        for (const auto& [id, l] : lavori)
            if (std::get<0>(l) == s && std::get<2>(l) < primaDi) u = id;
        return u;
    }
    std::vector<int> LavoriDopo(const std::string& s, int dopo) override {
        std::vector<int> v;
        for (const auto& [id, l] : lavori)
            if (std::get<0>(l) == s && id > dopo) v.push_back(id);
        return v;
    }
    E Esito(int id) override {
        return lavori.contains(id) ? std::get<1>(lavori[id]) : E::Completato;
    }
    void Invia(const std::string& s, E e) {
        lavori[lavori.empty() ? 1 : lavori.rbegin()->first + 1] = {s, e, ora};
    }
};

class Sorveglianza : public ::testing::Test {
  protected:
    Spooler sp;
    struct Detto {
        PrintNotice avviso;
        Sheet foglio;
    };
    std::vector<Detto> detti;
    PrintWatch sorv{sp,
                    [this](const PrintNotice& a, const Sheet& f) {
                        detti.push_back({a, f});
                    },
                    [this] { return sp.ora; }};
    const Sheet scontrino{"Banco", "Scontrino", 0};
    const Sheet primi{"Cucina", "Comanda Primi", 1};
    const Sheet bar{"Cucina", "Comanda Bar", 2};
    const PrinterState pronta{C::Pronta, true, {}};
};

TEST_F(Sorveglianza, GoodJobsAreFollowedUntilTheyEndOrTheLastPollAndNothingIsSaid) {
    sp.stampanti = {{"Banco", pronta}, {"Cucina", pronta}};
    sp.Invia("Banco", E::Completato);  // an older job of another bill
    sorv.PrimaDiStampare({scontrino, primi});
    sp.Invia("Banco", E::InCorso);
    sp.Invia("Cucina", E::InCorso);
    sorv.DopoAverStampato();
    EXPECT_TRUE(sorv.Seguendo());
    sorv.Segui();
    EXPECT_TRUE(sorv.Seguendo());
    std::get<1>(sp.lavori[2]) = std::get<1>(sp.lavori[3]) = E::Completato;
    sorv.Segui();
    EXPECT_FALSE(sorv.Seguendo());
    // A job that never ends is dropped after the last poll.
    sorv.PrimaDiStampare({scontrino});
    sp.Invia("Banco", E::InCorso);
    sorv.DopoAverStampato();
    for (int i = 0; i < PrintWatch::kGiriMassimi; ++i) sorv.Segui();
    EXPECT_FALSE(sorv.Seguendo());
    EXPECT_TRUE(detti.empty());
}

TEST_F(Sorveglianza, MissingPrinterToldBeforeWithItsSlipOnly) {
    sp.stampanti = {{"Banco", pronta}};
    sorv.PrimaDiStampare({scontrino, primi, bar});
    ASSERT_EQ(detti.size(), 2u);
    EXPECT_EQ(detti[0].foglio, primi);
    EXPECT_EQ(detti[1].foglio, bar);
    EXPECT_TRUE(detti[0].avviso.offriRistampa);
    // One state read per printer, however many slips it prints.
    EXPECT_EQ(sp.chiamate, 2);
}

TEST_F(Sorveglianza, JobsMatchSlipsInOrderAndOnlyFailuresAreTold) {
    sp.stampanti = {{"Banco", pronta}, {"Cucina", pronta}};
    sorv.PrimaDiStampare({scontrino, primi, bar});
    sp.Invia("Banco", E::Completato);
    sp.Invia("Cucina", E::Completato);
    sp.Invia("Cucina", E::Interrotto);
    sorv.DopoAverStampato();
    sorv.Segui();
    ASSERT_EQ(detti.size(), 1u);
    EXPECT_EQ(detti[0].foglio, bar);
    EXPECT_TRUE(detti[0].avviso.offriRistampa);
    EXPECT_FALSE(sorv.Seguendo());
    sorv.Segui();
    EXPECT_EQ(detti.size(), 1u);  // told once
}

TEST_F(Sorveglianza, AJobSentBeforeThePrinterWasAskedIsStillTheBills) {
    sp.stampanti = {{"Cucina", pronta}};
    sp.Invia("Cucina", E::Completato);  // an older bill, a second earlier
    ++sp.ora;
    // The worker asks only after the job went out: the job's time says it is this bill's.
    const std::int64_t prima = sp.ora;
    sp.Invia("Cucina", E::Interrotto);
    sorv.PrimaDiStampare({primi}, prima);
    sorv.DopoAverStampato();
    sorv.Segui();
    ASSERT_EQ(detti.size(), 1u);
    EXPECT_EQ(detti[0].foglio, primi);
}

TEST_F(Sorveglianza, TwoBillsInOneSecondEachFollowOnlyTheirJobs) {
    sp.stampanti = {{"Cucina", pronta}};
    sorv.PrimaDiStampare({primi});
    sp.Invia("Cucina", E::Interrotto);
    sorv.DopoAverStampato();
    sorv.PrimaDiStampare({bar});  // same second: the first bill's job is newer than the mark
    sp.Invia("Cucina", E::InCorso);
    sorv.DopoAverStampato();
    sorv.Segui();
    // The aborted job is the first bill's, told once, for its own slip.
    ASSERT_EQ(detti.size(), 1u);
    EXPECT_EQ(detti[0].foglio, primi);
    EXPECT_TRUE(sorv.Seguendo());
}

TEST_F(Sorveglianza, AStoppedQueueOrASilentSpoolerIsToldOnceWithoutAnOfferNorFollowed) {
    for (const PrinterState& stato :
         {PrinterState{C::Ferma, true, {"paused"}}, PrinterState{C::Sconosciuta, false, {}}}) {
        detti.clear();
        sp.stampanti = {{"Banco", stato}};
        sorv.PrimaDiStampare({scontrino});
        sp.Invia("Banco", E::InCorso);
        sorv.DopoAverStampato();
        ASSERT_EQ(detti.size(), 1u);
        EXPECT_NE(detti[0].avviso.testo.find("Scontrino"), std::string::npos);
        EXPECT_FALSE(detti[0].avviso.offriRistampa);
        EXPECT_FALSE(sorv.Seguendo());
    }
}

}  // namespace
}  // namespace vorsa
