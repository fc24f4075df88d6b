// The explanations behind lbl_info(i): which labels have one, and the password file named.
#include "layout/info_testi.h"

#include <gtest/gtest.h>

namespace vorsa {
namespace {

TEST(TestoInfo, OnlyTheLabelsThatExistHaveText) {
    for (int i : kIndiciInfo) EXPECT_FALSE(TestoInfo(i, "f").empty()) << i;
    for (int i : {-1, 7, 10}) EXPECT_EQ(TestoInfo(i, "f"), "") << i;
}

TEST(TestoInfo, PasswordLabelsShareTheirText) {
    EXPECT_EQ(TestoInfo(9, "C:\\x\\~abc"), TestoInfo(8, "C:\\x\\~abc"));
    EXPECT_NE(TestoInfo(9, "a"), TestoInfo(9, "b"));
    EXPECT_TRUE(TestoInfo(8, "/tmp/~xpwd").ends_with("qui: /tmp/~xpwd"));
}

}  // namespace
}  // namespace vorsa
