// Any article line loads, and the line the till writes back for it loads to the same article.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/catalogue.h"
#include "fuzz_check.h"
#include "settings/settings_store.h"
#include "support/fakes.h"

namespace {

constexpr const char* kIni = "/p/Vorsa.ini";

struct Till {
    Till() : store(files, clock, sleeper, shell, "/p") {
        paths.gFileIni = paths.gFileDati = kIni;
        paths.gFileLock = std::string(kIni) + ".lck";
        store.lock.gFileLock = paths.gFileLock;
    }
    std::string Load(const std::string& line) {
        files.files.clear();
        files.files[kIni] = "[MANGIARE]\r\nDIMENSIONE=1\r\n1=" + line +
                            "\r\n[BERE]\r\nDIMENSIONE=1\r\n[VARIE]\r\nDIMENSIONE=1\r\n";
        cat.CaricaDimensioni(store, kIni);
        cat.CaricaProdotti(store, opt, paths);
        return cat.RigaArticolo(1, opt.gSeparatore);
    }
    vorsa::MemoryFileAccess files;
    vorsa::test::FakeClock clock;
    vorsa::test::FakeSleeper sleeper;
    vorsa::test::FakeShell shell;
    vorsa::SettingsStore store;
    vorsa::Options opt;
    vorsa::Paths paths;
    vorsa::Catalogue cat;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';  // one line of the file
    static Till till;
    const std::string written = till.Load(line);
    const vorsa::Article first = till.cat.gArticoli[1];
    const std::string rewritten = till.Load(written);
    FUZZ_CHECK(till.Load(rewritten) == rewritten);
    if (first.name.empty()) return 0;  // an empty position: its other fields mean nothing
    till.Load(written);
    const vorsa::Article& again = till.cat.gArticoli[1];
    FUZZ_CHECK(rewritten == written);
    FUZZ_CHECK(again.name == first.name && again.price == first.price &&
               again.active == first.active && again.pieces == first.pieces &&
               again.referencePieces == first.referencePieces &&
               again.threshold == first.threshold && again.printGroup == first.printGroup &&
               again.separatePrint == first.separatePrint);
    return 0;
}
