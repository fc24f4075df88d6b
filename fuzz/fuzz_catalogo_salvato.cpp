// Any saved catalogue loads without harm: the till's other data stays as it was, the saved
// file is never written, and the data file holds one whole catalogue whose sizes agree with
// its article lines.
#include <cstddef>
#include <cstdint>
#include <string>

#include "editor_harness.h"
#include "fuzz_check.h"
#include "platform/text.h"

namespace {

constexpr const char* kMenu =
    "[MANGIARE]\r\nDIMENSIONE=2\r\n1=Panino;3,5;1;0;-1;1;-1;0\r\n2=\r\n[BERE]\r\nDIMENSIONE=1\r\n"
    "1=Acqua;1;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n1=\r\n[STATISTICHE]\r\n"
    "SCONTRINI=0\r\n[APPUNTI]\r\nnon toccare=1\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string saved(reinterpret_cast<const char*>(data), size);
    vorsa::MemoryFileAccess files;
    vorsa::test::CassaEditor t(files, kMenu);
    files.files["/p/Dati/x.txt"] = saved;
    t.editor.OpenCatalogueEditor();
    t.view.salvato = 0;
    t.cassa.prompter.confirmations = {true};
    const std::string before = t.Dati();
    t.editor.ComandoB(2);

    FUZZ_CHECK(files.files["/p/Dati/x.txt"] == saved);
    FUZZ_CHECK(vorsa::test::SenzaCatalogo(t.Dati()) == vorsa::test::SenzaCatalogo(before));
    const vorsa::IniDocument after = vorsa::IniDocument::Parse(t.Dati());
    int total = 0;
    for (const char* section : {"MANGIARE", "BERE", "VARIE"}) {
        const std::string d = after.Get(section, "DIMENSIONE").value_or("");
        FUZZ_CHECK(vorsa::IsInteger(d));
        const long long n = vorsa::Val(d);
        FUZZ_CHECK(n >= 1 && n <= 80);
        for (long long k = 1; k <= n; ++k)
            FUZZ_CHECK(after.Get(section, std::to_string(k)).has_value());
        FUZZ_CHECK(!after.Get(section, std::to_string(n + 1)).has_value());
        total += static_cast<int>(n);
    }
    FUZZ_CHECK(t.cat().gNumeroArticoli == total);
    return 0;
}
