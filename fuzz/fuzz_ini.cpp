// Any bytes parse; serializing is stable after one round and keeps every value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/ini_document.h"
#include "platform/text.h"

using vorsa::IniDocument;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const IniDocument first = IniDocument::Parse(in);
    const std::string once = first.Serialize();
    IniDocument second = IniDocument::Parse(once);
    FUZZ_CHECK(second.Serialize() == once);

    // Every section the file names reads the same after the round trip.
    std::size_t start = 0;
    while (start < once.size()) {
        std::size_t end = once.find("\r\n", start);
        if (end == std::string::npos) end = once.size();
        const std::string line = vorsa::Trim(std::string_view(once).substr(start, end - start));
        start = end + 2;
        if (line.empty() || line.front() != '[') continue;
        const std::size_t close = line.find(']');
        if (close == std::string::npos) continue;
        const std::string section = line.substr(1, close - 1);
        FUZZ_CHECK(first.Entries(section) == second.Entries(section));
    }

    // A value written into whatever the file holds reads back, also after a round trip.
    second.Set("VORSA_FUZZ", "CHIAVE", "1;2,5");
    FUZZ_CHECK(second.Get("VORSA_FUZZ", "CHIAVE") == "1;2,5");
    FUZZ_CHECK(IniDocument::Parse(second.Serialize()).Get("VORSA_FUZZ", "CHIAVE") == "1;2,5");
    return 0;
}
