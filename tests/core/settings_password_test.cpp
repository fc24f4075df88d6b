#include <gtest/gtest.h>

#include "settings/settings_store.h"

namespace vorsa {
namespace {

TEST(PasswordTest, RoundTripsAndHidesThePlainText) {
    for (const std::string& plain :
         {std::string(), std::string("a"), std::string("segreto"), std::string("Citt\xE0 2026"),
          std::string(40, 'z'), std::string("\x80\xFF\x01", 3)}) {
        const std::string stored = CodificaPassword(kChiavePassword, plain);
        EXPECT_EQ(stored.size(), 2 * (25 + plain.size()));
        EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos) << stored;
        EXPECT_EQ(DecodificaPassword(kChiavePassword, stored), plain);
    }
}

TEST(PasswordTest, PaddingDigitsAreOneToNineAndVary) {
    // XOR of the stored pairs with the key gives back digits 1..9 around the password.
    const std::string stored = CodificaPassword(kChiavePassword, "x");
    std::string padded;
    for (std::size_t i = 1; i <= stored.size() / 2; ++i) {
        const int v = std::stoi(stored.substr(2 * i - 2, 2), nullptr, 16);
        padded += static_cast<char>(v ^ kChiavePassword[i % kChiavePassword.size()]);
    }
    ASSERT_EQ(padded.size(), 26u);
    EXPECT_EQ(padded[15], 'x');
    for (std::size_t i = 0; i < padded.size(); ++i)
        if (i != 15) {
            EXPECT_TRUE(padded[i] >= '1' && padded[i] <= '9') << i;
        }
    EXPECT_NE(CodificaPassword(kChiavePassword, "x"), CodificaPassword(kChiavePassword, "x"));
}

TEST(PasswordTest, KnownStoredFormDecodes) {
    // 15 x '1', "ab", 10 x '2' scrambled under the key, computed by hand.
    const std::string key(kChiavePassword);
    std::string padded = std::string(15, '1') + "ab" + std::string(10, '2');
    std::string stored;
    char buf[3];
    for (std::size_t i = 1; i <= padded.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X",
                      static_cast<unsigned>(static_cast<unsigned char>(padded[i - 1]) ^
                                            static_cast<unsigned char>(key[i % key.size()])));
        stored += buf;
    }
    EXPECT_EQ(stored.substr(0, 4), "0545");  // '1' ^ '4', then '1' ^ 't'
    EXPECT_EQ(DecodificaPassword(kChiavePassword, stored), "ab");
}

TEST(PasswordTest, DamagedStoredFormMeansNoPassword) {
    for (const std::string& bad : {std::string(), std::string("ABC"), std::string("ZZ"),
                                   std::string(48, 'A'), std::string(51, 'A')})
        EXPECT_EQ(DecodificaPassword(kChiavePassword, bad), "") << bad;
    std::string s = CodificaPassword(kChiavePassword, "pw");
    s[10] = 'G';
    EXPECT_EQ(DecodificaPassword(kChiavePassword, s), "");
}

}  // namespace
}  // namespace vorsa
