// Waiting sales reaching the data file: each once, whatever the list beside them says.
#include <gtest/gtest.h>

#include "sale_harness.h"

namespace vorsa {
namespace {

const std::string kUno = "101-2-7;06/12/2026 20:15:00-7--cassiere12345-0-0-0";
const std::string kDue = "201-1-1;06/12/2026 20:16:00-1-T4-cassiere12345-0-0-0";
const std::string kDueAttese =
    "[ATTESA]\r\nULTIMO=2\r\n[P1]\r\nSCONTRINO=" + kUno + "\r\n[P2]\r\nSCONTRINO=" + kDue + "\r\n";

TEST(AttesaTest, EachWaitingSaleReachesTheFileOnce) {
    const struct {
        const char* name;
        std::string lista;                // the till's list of waiting sales
        long long consegnate;             // what the data file says of them
        std::vector<std::string> attesi;  // the receipts the file holds afterwards
    } casi[] = {
        {"both", kDueAttese, 0, {kUno, kDue}},
        // Killed after the shared write, before the list was emptied.
        {"first-already-in", kDueAttese, 1, {kDue}},
        // A list whose counter went back (its file copied over): its sales are new ones.
        {"counter-back", kDueAttese, 7, {kUno, kDue}},
        // Damaged entries are passed over, never delivered as empty sales.
        {"damaged",
         "[P]\r\nSCONTRINO=x\r\n[Px1]\r\nSCONTRINO=x\r\n[P3]\r\nDATA=1\r\n[P4]\r\nSCONTRINO=" +
             kDue + "\r\n",
         0,
         {kDue}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.name);
        MemoryFileAccess files;
        test::Cassa cassa(
            files, std::string(test::kCatalogo) + "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n");
        Till& t = *cassa.till;
        files.ReplaceAll("/p/" + std::string(kFileAttesa), c.lista);
        t.settings.Write(keys::Consegnate, std::to_string(c.consegnate), Idx(t.opt.gIdentitaLock));

        const auto n = static_cast<int>(c.attesi.size());
        EXPECT_EQ(cassa.vendita->ConsegnaInAttesa(), n);
        EXPECT_EQ(cassa.vendita->ConsegnaInAttesa(), 0);
        EXPECT_EQ(cassa.Dati("STATISTICHE", "SCONTRINI"), std::to_string(n));
        for (int r = 1; r <= n; ++r)
            EXPECT_EQ(cassa.Dati("SCONTRINI", std::to_string(r)), c.attesi[r - 1]);
        EXPECT_EQ(t.attesa.Quante(), 0u);
        // The next waiting sale never takes an id the file counts as delivered.
        EXPECT_GT(t.attesa.Accoda(kUno, "", "")->id, c.consegnate);
    }
}

}  // namespace
}  // namespace vorsa
