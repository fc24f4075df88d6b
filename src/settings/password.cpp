#include <random>

#include "settings/settings_store.h"

namespace vorsa {
namespace {

unsigned char CarattereChiave(std::string_view key, std::size_t i) {
    return static_cast<unsigned char>(key[i % key.size()]);  // i is 1-based
}

std::string CifreCasuali(std::mt19937& rng, int count) {
    std::uniform_int_distribution<int> d(1, 9);
    std::string s;
    for (int n = 0; n < count; ++n) s += static_cast<char>('0' + d(rng));
    return s;
}

int Esadecimale(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string CodificaPassword(std::string_view key, std::string_view plain) {
    if (key.empty()) return std::string(plain);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::mt19937 rng(std::random_device{}());
    const std::string padded = CifreCasuali(rng, 15) + std::string(plain) + CifreCasuali(rng, 10);
    std::string out;
    out.reserve(padded.size() * 2);
    for (std::size_t i = 1; i <= padded.size(); ++i) {
        const unsigned v = static_cast<unsigned char>(padded[i - 1]) ^ CarattereChiave(key, i);
        out += kHex[(v >> 4) & 0xF];
        out += kHex[v & 0xF];
    }
    return out;
}

std::string DecodificaPassword(std::string_view key, std::string_view stored) {
    // A damaged stored form reads as no password rather than as one nobody can type.
    if (key.empty() || stored.size() % 2 != 0 || stored.size() < 50) return {};
    std::string padded;
    for (std::size_t i = 1; i <= stored.size() / 2; ++i) {
        const int hi = Esadecimale(stored[2 * i - 2]);
        const int lo = Esadecimale(stored[2 * i - 1]);
        if (hi < 0 || lo < 0) return {};
        padded += static_cast<char>(static_cast<unsigned>(hi * 16 + lo) ^ CarattereChiave(key, i));
    }
    return padded.substr(15, padded.size() - 25);
}

}  // namespace vorsa
