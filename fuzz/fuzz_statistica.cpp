// Any statistics record reads without harm; a record read is written back to the same values.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/records.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string record(reinterpret_cast<const char*>(data), size);
    const auto s = vorsa::LeggiStatistica(record, ';');
    if (!s) return 0;
    const std::string written = vorsa::TestoStatistica(*s, ';');
    const auto again = vorsa::LeggiStatistica(written, ';');
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->quantity == s->quantity && again->amount == s->amount);
    FUZZ_CHECK(vorsa::TestoStatistica(*again, ';') == written);
    return 0;
}
