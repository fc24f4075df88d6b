// Any void list reads without harm, and what the till writes of it reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/records.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char sep = static_cast<char>(data[0]) == ',' ? ',' : ';';
    const std::string list(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto storni = vorsa::LeggiStorni(list, sep);
    const std::string written = vorsa::TestoStorni(storni, sep);
    const auto again = vorsa::LeggiStorni(written, sep);
    FUZZ_CHECK(again.size() == storni.size());
    for (std::size_t i = 0; i < storni.size(); ++i)
        FUZZ_CHECK(again[i].numero == storni[i].numero &&
                   again[i].revocabile == storni[i].revocabile);
    FUZZ_CHECK(vorsa::TestoStorni(again, sep) == written);
    // Making every void final keeps every number and drops every star.
    const auto definitivi = vorsa::LeggiStorni(vorsa::StorniDefinitivi(written), sep);
    FUZZ_CHECK(definitivi.size() == storni.size());
    for (std::size_t i = 0; i < storni.size(); ++i)
        FUZZ_CHECK(definitivi[i].numero == storni[i].numero && !definitivi[i].revocabile);
    return 0;
}
