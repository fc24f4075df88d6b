// The rules that turn a printer's state and a job's outcome into the operator's notice, and
// the follower of a bill's jobs, on a scripted spooler.
#include <gtest/gtest.h>

#include <map>

#include "printing/sorveglianza_stampe.h"
#include "printing/stato_stampanti.h"

namespace vorsa {
namespace {

using C = StatoCoda;
using E = EsitoLavoro;

struct Caso {
    C coda;
    bool accetta;
    E esito;
    bool avviso;
    bool ristampa;
    const char* frammento;  // a piece the notice must hold ("" when none)
};

class Regola : public ::testing::TestWithParam<Caso> {};

TEST_P(Regola, NoticeAndOffer) {
    const Caso c = GetParam();
    const StatoStampante s{c.coda, c.accetta, {}};
    const auto a = RegolaAvviso("Cucina1", "Comanda Primi", s, c.esito);
    ASSERT_EQ(a.has_value(), c.avviso);
    if (!a) return;
    EXPECT_EQ(a->offriRistampa, c.ristampa);
    // Every notice names the printer and the slip.
    EXPECT_NE(a->testo.find("\"Cucina1\""), std::string::npos) << a->testo;
    EXPECT_NE(a->testo.find("Comanda Primi"), std::string::npos) << a->testo;
    EXPECT_NE(a->titolo.find("Cucina1"), std::string::npos);
    EXPECT_NE(a->testo.find(c.frammento), std::string::npos) << a->testo;
}

INSTANTIATE_TEST_SUITE_P(
    Tabella, Regola,
    ::testing::Values(
        // Before the job.
        Caso{C::Pronta, true, E::NonInviato, false, false, ""},
        Caso{C::InStampa, true, E::NonInviato, false, false, ""},
        Caso{C::Assente, false, E::NonInviato, true, true, "non trovata"},
        Caso{C::Assente, true, E::NonInviato, true, true, "non trovata"},
        Caso{C::Pronta, false, E::NonInviato, true, true, "non accetta"},
        Caso{C::Ferma, false, E::NonInviato, true, true, "non accetta"},
        // A stopped queue keeps the job and prints it when it restarts: no second copy.
        Caso{C::Ferma, true, E::NonInviato, true, false, "In attesa"},
        // While the job runs.
        Caso{C::Pronta, true, E::InCorso, false, false, ""},
        Caso{C::InStampa, true, E::InCorso, false, false, ""},
        Caso{C::Ferma, true, E::InCorso, true, false, "ferma"},
        Caso{C::Assente, false, E::InCorso, true, false, "non trovata"},
        Caso{C::Pronta, false, E::InCorso, true, false, "non accetta"},
        // After it.
        Caso{C::Pronta, true, E::Annullato, true, true, "annullata"},
        Caso{C::Ferma, false, E::Annullato, true, true, "annullata"},
        Caso{C::Pronta, true, E::Interrotto, true, true, "interrotta"},
        Caso{C::Assente, false, E::Interrotto, true, true, "interrotta"},
        Caso{C::Ferma, true, E::Fermato, true, false, "In attesa"},
        Caso{C::Pronta, true, E::Fermato, true, false, "In attesa"},
        // Completed is never offered again, whatever the queue is doing now.
        Caso{C::Pronta, true, E::Completato, false, false, ""},
        Caso{C::Ferma, false, E::Completato, false, false, ""},
        Caso{C::Assente, false, E::Completato, false, false, ""},
        // A spooler that does not answer: the operator looks; never printed twice blindly.
        Caso{C::Sconosciuta, false, E::NonInviato, true, false, "non risponde"},
        Caso{C::Sconosciuta, false, E::Interrotto, true, true, "interrotta"},
        Caso{C::Sconosciuta, false, E::Completato, false, false, ""}));

TEST(Motivi, OperatorWordsForKnownReasonsOnceEach) {
    EXPECT_EQ(MotiviLeggibili({"none"}), "");
    EXPECT_EQ(MotiviLeggibili({"media-empty-error", "media-needed-warning"}), "carta esaurita");
    EXPECT_EQ(MotiviLeggibili({"offline-report", "media-jam-error"}),
              "non in linea, carta inceppata");
    EXPECT_EQ(MotiviLeggibili({"com.vendor-fuser-hot-warning"}), "com.vendor-fuser-hot");
    const StatoStampante s{C::Ferma, true, {"paused", "media-empty-error"}};
    const auto a = RegolaAvviso("Banco", "Scontrino", s, E::NonInviato);
    ASSERT_TRUE(a);
    EXPECT_NE(a->testo.find("(messa in pausa, carta esaurita)"), std::string::npos) << a->testo;
}

TEST(Foglio, ReceiptAndKitchenOrderNames) {
    EXPECT_EQ(NomeFoglio(0, "Cucina"), "Scontrino");
    EXPECT_EQ(NomeFoglio(2, "Bar"), "Comanda Bar");
}

TEST(Spia, ColoursFollowTheQueue) {
    EXPECT_EQ(SpiaDi({C::Pronta, true, {}}), Spia::Verde);
    EXPECT_EQ(SpiaDi({C::InStampa, true, {}}), Spia::Ambra);
    EXPECT_EQ(SpiaDi({C::Ferma, true, {}}), Spia::Rossa);
    EXPECT_EQ(SpiaDi({C::Pronta, false, {}}), Spia::Rossa);
    EXPECT_EQ(SpiaDi({C::Assente, false, {}}), Spia::Rossa);
    // Unknown is not a guess either way.
    EXPECT_EQ(SpiaDi({C::Sconosciuta, false, {}}), Spia::Grigia);
    EXPECT_EQ(SpiaDi({C::Sconosciuta, true, {}}), Spia::Grigia);
}

/// A spooler scripted by the test: printers' states and jobs with their outcomes.
class Spooler : public StatoStampanti {
  public:
    std::map<std::string, StatoStampante> stampanti;
    std::map<int, std::pair<std::string, E>> lavori;
    std::map<int, std::int64_t> creati;
    std::int64_t ora = 1000;
    int chiamate = 0;

    StatoStampante Stato(const std::string& s) override {
        ++chiamate;
        const auto it = stampanti.find(s);
        return it == stampanti.end() ? StatoStampante{} : it->second;
    }
    int UltimoLavoro(const std::string& s, std::int64_t primaDi) override {
        int u = 0;
        for (const auto& [id, l] : lavori)
            if (l.first == s && creati[id] < primaDi) u = id;
        return u;
    }
    std::vector<int> LavoriDopo(const std::string& s, int dopo) override {
        std::vector<int> v;
        for (const auto& [id, l] : lavori)
            if (l.first == s && id > dopo) v.push_back(id);
        return v;
    }
    E Esito(int id) override {
        const auto it = lavori.find(id);
        return it == lavori.end() ? E::Completato : it->second.second;
    }
    int Invia(const std::string& s, E e) {
        const int id = lavori.empty() ? 1 : lavori.rbegin()->first + 1;
        lavori[id] = {s, e};
        creati[id] = ora;
        return id;
    }
};

struct Detto {
    AvvisoStampa avviso;
    Foglio foglio;
};

class Sorveglianza : public ::testing::Test {
  protected:
    Spooler sp;
    std::vector<Detto> detti;
    SorveglianzaStampe sorv{sp,
                            [this](const AvvisoStampa& a, const Foglio& f) {
                                detti.push_back({a, f});
                            },
                            [this] { return sp.ora; }};
    const Foglio scontrino{"Banco", "Scontrino", 0};
    const Foglio primi{"Cucina", "Comanda Primi", 1};
    const Foglio bar{"Cucina", "Comanda Bar", 2};
};

TEST_F(Sorveglianza, AllReadyAndCompletedSaysNothing) {
    sp.stampanti = {{"Banco", {C::Pronta, true, {}}}, {"Cucina", {C::Pronta, true, {}}}};
    sp.Invia("Banco", E::Completato);  // an older job of another bill
    sorv.PrimaDiStampare({scontrino, primi});
    sp.Invia("Banco", E::InCorso);
    sp.Invia("Cucina", E::InCorso);
    sorv.DopoAverStampato();
    EXPECT_TRUE(sorv.Seguendo());
    sorv.Segui();
    EXPECT_TRUE(sorv.Seguendo());
    sp.lavori[2].second = E::Completato;
    sp.lavori[3].second = E::Completato;
    sorv.Segui();
    EXPECT_FALSE(sorv.Seguendo());
    EXPECT_TRUE(detti.empty());
}

TEST_F(Sorveglianza, MissingPrinterToldBeforeWithItsSlipOnly) {
    sp.stampanti = {{"Banco", {C::Pronta, true, {}}}};
    sorv.PrimaDiStampare({scontrino, primi, bar});
    ASSERT_EQ(detti.size(), 2u);
    EXPECT_EQ(detti[0].foglio, primi);
    EXPECT_EQ(detti[1].foglio, bar);
    EXPECT_TRUE(detti[0].avviso.offriRistampa);
    // One state read per printer, however many slips it prints.
    EXPECT_EQ(sp.chiamate, 2);
}

TEST_F(Sorveglianza, JobsMatchSlipsInOrderAndOnlyFailuresAreTold) {
    sp.stampanti = {{"Banco", {C::Pronta, true, {}}}, {"Cucina", {C::Pronta, true, {}}}};
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

TEST_F(Sorveglianza, StoppedQueueToldOnceAndItsJobNotFollowed) {
    sp.stampanti = {{"Banco", {C::Ferma, true, {"paused"}}}};
    sorv.PrimaDiStampare({scontrino});
    sp.Invia("Banco", E::InCorso);
    sorv.DopoAverStampato();
    ASSERT_EQ(detti.size(), 1u);
    EXPECT_FALSE(detti[0].avviso.offriRistampa);
    EXPECT_FALSE(sorv.Seguendo());
}

TEST_F(Sorveglianza, AJobThatNeverEndsIsDroppedAfterTheLastPoll) {
    sp.stampanti = {{"Banco", {C::Pronta, true, {}}}};
    sorv.PrimaDiStampare({scontrino});
    sp.Invia("Banco", E::InCorso);
    sorv.DopoAverStampato();
    for (int i = 0; i < SorveglianzaStampe::kGiriMassimi; ++i) sorv.Segui();
    EXPECT_FALSE(sorv.Seguendo());
    EXPECT_TRUE(detti.empty());
}

TEST_F(Sorveglianza, AJobSentBeforeThePrinterWasAskedIsStillTheBills) {
    sp.stampanti = {{"Cucina", {C::Pronta, true, {}}}};
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
    sp.stampanti = {{"Cucina", {C::Pronta, true, {}}}};
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

TEST_F(Sorveglianza, ASpoolerThatDoesNotAnswerIsToldWithoutAnOffer) {
    sp.stampanti = {{"Banco", {C::Sconosciuta, false, {}}}};
    sorv.PrimaDiStampare({scontrino});
    sorv.DopoAverStampato();
    ASSERT_EQ(detti.size(), 1u);
    EXPECT_NE(detti[0].avviso.testo.find("Scontrino"), std::string::npos);
    EXPECT_FALSE(detti[0].avviso.offriRistampa);
    EXPECT_FALSE(sorv.Seguendo());
}

}  // namespace
}  // namespace vorsa
