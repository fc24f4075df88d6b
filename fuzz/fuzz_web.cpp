// What the web pages take from outside: a code a scanner or a phone sent for a ready mark is a
// receipt number or nothing; and any text, from the files or from Qt, becomes a JSON string
// that is valid UTF-8 and can close no tag, script or string.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "web/ready_marks.h"
#include "web/web_evening.h"

namespace {

bool Utf8Valido(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

void ControllaJson(const std::string& j) {
    FUZZ_CHECK(j.size() >= 2 && j.front() == '"' && j.back() == '"');
    FUZZ_CHECK(Utf8Valido(j));
    FUZZ_CHECK(j.find_first_of("<>&") == std::string::npos);
    for (std::size_t i = 1; i + 1 < j.size(); ++i) {
        const auto c = static_cast<unsigned char>(j[i]);
        FUZZ_CHECK(c >= 0x20 && c != 0x7F);
        if (j[i] == '\\') {
            ++i;  // an escape: the next character is its letter
            FUZZ_CHECK(i + 1 < j.size());
            continue;
        }
        FUZZ_CHECK(j[i] != '"');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto n = vorsa::NumeroScansionato(text)) {
        FUZZ_CHECK(*n >= 1);
        FUZZ_CHECK(vorsa::NumeroScansionato(std::to_string(*n)) == n);
    }
    ControllaJson(vorsa::JsonUtf8(text));
    ControllaJson(vorsa::JsonTesto(text));
    return 0;
}
