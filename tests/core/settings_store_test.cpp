#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "settings_bench.h"

namespace vorsa {
namespace {

constexpr const char* kIni = "/p/Vorsa.ini";
constexpr const char* kLock = "/p/Vorsa.ini.lck";

/// A till between tills, on `files` shared with the others.
struct Station : test::Impostazioni {
    Station(MemoryFileAccess& shared, std::string identity) : Impostazioni(&shared) {
        store.lock.gMultiVorsa = true;
        store.lock.gIdentitaLock = std::move(identity);
    }
};

class SettingsStoreTest : public ::testing::Test {
  protected:
    MemoryFileAccess files;
    Station a{files, "ANNA12:34"};
    Station b{files, "BRUNO56:78"};
};

TEST_F(SettingsStoreTest, WritesTrimmedSingleLineValuesAndReadsThemCut) {
    const std::pair<const char*, const char*> cases[] = {
        {"A\r\nB", "K=A B"}, {"A\rB\nC", "K=A B C"}, {"  v  ", "K=v"}, {"\r\n", "K="}};
    for (const auto& [value, line] : cases) {
        files.files.clear();
        a.store.ScriviIni(" S ", "  K  ", value, kIni);
        EXPECT_EQ(files.files[kIni], std::string("[S]\r\n") + line + "\r\n") << value;
    }
    a.store.ScriviIni("S", "K", std::string(600, 'x'), kIni);
    EXPECT_EQ(a.store.LeggiIni("S", "K", kIni, true), std::string(511, 'x'));
    // A blank key deletes the whole section.
    files.files[kIni] = "[A]\r\nx=1\r\n[B]\r\ny=2\r\n";
    a.store.CancellaChiave("A", "   ", kIni);
    EXPECT_EQ(files.files[kIni], "[B]\r\ny=2\r\n");
    a.store.CancellaChiave("B", "y", kIni);
    EXPECT_EQ(files.files[kIni], "[B]\r\n");
}

TEST_F(SettingsStoreTest, ReadWaitsOutAForeignLockThenLogsUnlessMultiTillIsOff) {
    files.files[kIni] = "[S]\r\nK=5\r\n";
    files.files[kLock] = "[S]\r\nK-LOCKED=BRUNO56:78\r\n";
    a.store.lock.gMultiVorsa = false;
    EXPECT_EQ(a.store.LeggiIni("S", "K", kIni), "5");
    EXPECT_EQ(a.sleeper.count, 0);
    a.store.lock.gMultiVorsa = true;
    EXPECT_EQ(a.store.LeggiIni("S", "K", kIni), "5");
    EXPECT_EQ(a.sleeper.count, 200);
    EXPECT_EQ(a.sleeper.totalMs, 200 * 20);
    EXPECT_EQ(files.files[kLock],
              "[S]\r\nK-LOCKED=BRUNO56:78\r\n[ERRORI]\r\n06/12/2026 19:45:03=R - S - 5\r\n");
}

TEST_F(SettingsStoreTest, LockIsExclusiveBetweenTills) {
    EXPECT_TRUE(a.store.BloccaChiave("BERE", "3"));
    EXPECT_TRUE(a.store.BloccaChiave("BERE", "3"));  // held already: at once
    EXPECT_EQ(a.sleeper.count, 0);
    EXPECT_EQ(files.files[kLock], "[BERE]\r\n3-LOCKED=ANNA12:34\r\n");

    EXPECT_FALSE(b.store.BloccaChiave("BERE", "3"));
    EXPECT_EQ(b.sleeper.count, 200);
    EXPECT_NE(files.files[kLock].find("=L - BERE - 3\r\n"), std::string::npos);

    EXPECT_FALSE(b.store.SbloccaChiave("BERE", "3"));  // not its lock: unchanged
    EXPECT_NE(files.files[kLock].find("3-LOCKED=ANNA12:34"), std::string::npos);
    EXPECT_TRUE(a.store.SbloccaChiave("BERE", "3"));
    EXPECT_EQ(files.files[kLock].find("3-LOCKED"), std::string::npos);
    EXPECT_TRUE(b.store.BloccaChiave("BERE", "3"));
    // An unreachable lock file: waiting cannot make it writable.
    files.failWrites = true;
    b.sleeper.count = 0;
    EXPECT_FALSE(b.store.BloccaChiave("S", "K"));
    EXPECT_EQ(b.sleeper.count, 0);
}

TEST_F(SettingsStoreTest, UnlockNeverWaits) {
    // Waiting cannot turn a missing or foreign entry into this till's own: refuse at once.
    const char* const locks[] = {nullptr, "[S]\r\n", "[S]\r\nK-LOCKED=BRUNO56:78\r\n",
                                 "[S]\r\nK-LOCKED=\r\n"};
    for (const char* l : locks) {
        files.files.erase(kLock);
        if (l) files.files[kLock] = l;
        a.sleeper.count = 0;
        EXPECT_FALSE(a.store.SbloccaChiave("S", "K")) << (l ? l : "no lock file");
        EXPECT_EQ(a.sleeper.count, 0) << (l ? l : "no lock file");
        if (l) {
            EXPECT_EQ(files.files[kLock], l);
        }
        EXPECT_FALSE(files.files.count(kLock) &&
                     files.files[kLock].find("ERRORI") != std::string::npos);
    }
}

TEST_F(SettingsStoreTest, SeveralKeysAreTakenTogetherOrNotAtAll) {
    const std::vector<SettingsStore::SectionKey> chiavi = {
        {"STATISTICHE", "SCONTRINI"}, {"STATISTICHE", "101"}, {"MANGIARE", "1"}};
    // Another till holds one key: nothing is taken meanwhile, all of them once it is free.
    ASSERT_TRUE(b.store.BloccaChiave("STATISTICHE", "101"));
    a.sleeper.onSleep = [&](int n) {
        EXPECT_EQ(files.files[kLock].find("ANNA12:34"), std::string::npos) << n;
        if (n == 3) b.store.SbloccaChiave("STATISTICHE", "101");
    };
    EXPECT_EQ(a.store.BloccaChiavi(chiavi), std::vector<bool>({true, true, true}));
    EXPECT_EQ(a.sleeper.count, 3);
    EXPECT_EQ(files.files[kLock],
              "[STATISTICHE]\r\nSCONTRINI-LOCKED=ANNA12:34\r\n101-LOCKED=ANNA12:34\r\n"
              "[MANGIARE]\r\n1-LOCKED=ANNA12:34\r\n");
    // Released together, and only this till's own entries.
    ASSERT_TRUE(b.store.BloccaChiave("BERE", "2"));
    a.store.SbloccaChiavi({chiavi[0], chiavi[1], chiavi[2], {"BERE", "2"}});
    EXPECT_EQ(files.files[kLock],
              "[STATISTICHE]\r\n[MANGIARE]\r\n[BERE]\r\n2-LOCKED=BRUNO56:78\r\n");
    // A key held for good (a killed till's): after one whole wait it is taken over and logged,
    // so the next till to need it does not wait again.
    a.sleeper.onSleep = nullptr;
    a.sleeper.count = 0;
    EXPECT_EQ(a.store.BloccaChiavi({{"BERE", "2"}, {"BERE", "3"}}),
              std::vector<bool>({true, true}));
    EXPECT_EQ(a.sleeper.count, 200);
    EXPECT_NE(files.files[kLock].find("2-LOCKED=ANNA12:34\r\n3-LOCKED=ANNA12:34"),
              std::string::npos);
    EXPECT_NE(files.files[kLock].find("=L - BERE - 2\r\n"), std::string::npos);
    a.store.SbloccaChiavi({{"BERE", "2"}, {"BERE", "3"}});
    a.sleeper.count = 0;
    EXPECT_EQ(b.store.BloccaChiavi({{"BERE", "2"}}), std::vector<bool>({true}));
    EXPECT_EQ(b.sleeper.count, 0);
}

TEST_F(SettingsStoreTest, BatchedWritesLandBeforeTheLockIsReleased) {
    ASSERT_TRUE(a.store.BloccaChiave("STATISTICHE", "SCONTRINI"));
    a.store.IniziaBlocco();
    a.store.ScriviIni("STATISTICHE", "SCONTRINI", "8", kIni);
    EXPECT_EQ(files.files.count(kIni), 0u);  // still collected
    EXPECT_EQ(a.store.LeggiIni("STATISTICHE", "SCONTRINI", kIni, true), "8");
    // As soon as the other till can take the key, it must read the new value.
    b.sleeper.onSleep = [&](int n) {
        if (n == 1) a.store.SbloccaChiave("STATISTICHE", "SCONTRINI");
    };
    EXPECT_EQ(b.store.LeggiIni("STATISTICHE", "SCONTRINI", kIni), "8");
    EXPECT_EQ(b.sleeper.count, 1) << "the read goes on as soon as the key is free";
    EXPECT_EQ(files.files[kLock].find("ERRORI"), std::string::npos);
    EXPECT_TRUE(a.store.ChiudiBlocco());
}

TEST(PasswordTest, RoundTripsHidesThePlainTextAndRefusesDamage) {
    for (const std::string& plain : {std::string(), std::string("a"), std::string("Citt\xE0 2026"),
                                     std::string(40, 'z'), std::string("\x80\xFF\x01", 3)}) {
        const std::string stored = CodificaPassword(kChiavePassword, plain);
        EXPECT_EQ(stored.size(), 2 * (25 + plain.size()));
        EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos) << stored;
        EXPECT_EQ(DecodificaPassword(kChiavePassword, stored), plain);
    }
    // The padding around the password is drawn anew each time.
    EXPECT_NE(CodificaPassword(kChiavePassword, "x"), CodificaPassword(kChiavePassword, "x"));
    // Fifteen '1', "ab", ten '2', scrambled under the key by hand: the stored form of old files.
    EXPECT_EQ(DecodificaPassword(kChiavePassword,
                                 "05450343085C0441025A05450343080C57420159064600400B5F07"),
              "ab");
    std::string flipped = CodificaPassword(kChiavePassword, "pw");
    flipped[10] = 'G';
    for (const std::string& bad : {std::string(), std::string("ABC"), std::string("ZZ"),
                                   std::string(48, 'A'), std::string(51, 'A'), flipped})
        EXPECT_EQ(DecodificaPassword(kChiavePassword, bad), "") << bad;
}

TEST(FiltroNumericoTest, Keys) {
    struct Case {
        const char* text;
        int caret, key;
        bool passes;
    } cases[] = {
        {"", 0, '0', true},    {"", 0, 'a', false},  {"0", 1, '0', false},  {"0", 1, '5', true},
        {"12", 0, '0', false}, {"12", 2, '0', true}, {"05", 1, '0', false}, {"", 0, 8, true},
    };
    for (const auto& c : cases) {
        int k = c.key;
        FiltroNumerico(k, c.text, c.caret);
        // A key that passes is left as it was typed.
        EXPECT_EQ(k, c.passes ? c.key : 0)
            << "text '" << c.text << "' caret " << c.caret << " key " << c.key;
    }
}

}  // namespace
}  // namespace vorsa
