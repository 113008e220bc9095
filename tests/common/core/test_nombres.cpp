#include "nombres.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using nombres::val;
using nombres::vers_int32;

TEST(NombresLecture, ReadsTheLeadingNumberWithAPoint) {
    EXPECT_EQ(val("4"), 4);
    EXPECT_EQ(val("-1"), -1);
    EXPECT_EQ(val("4.7"), 4.7);
    EXPECT_EQ(val("  12abc"), 12);
    EXPECT_EQ(val("+3.5 cm"), 3.5);
    EXPECT_EQ(val(".5"), 0.5);
    EXPECT_EQ(val("7."), 7);
    EXPECT_EQ(val("2.2e1"), 22);
    EXPECT_EQ(val("3e"), 3);
    EXPECT_EQ(val("3e+x"), 3);
    EXPECT_EQ(val("1,5"), 1) << "a comma ends the number";
}

TEST(NombresLecture, TextsWithoutANumberGiveZero) {
    for (const char* texte : {"", " ", "abc", "-", ".", "-.e5", "e5", "true"})
        EXPECT_EQ(val(texte), 0) << texte;
}

TEST(NombresLecture, HugeExponentsGiveInfinityOrZero) {
    EXPECT_TRUE(std::isinf(val("1e400")));
    EXPECT_LT(val("-1e400"), 0);
    EXPECT_EQ(val("1e-400"), 0);
}

TEST(NombresEntiers, DropsTheFractionAndKeepsToTheRange) {
    EXPECT_EQ(vers_int32(4.7), 4);
    EXPECT_EQ(vers_int32(-4.7), -4);
    EXPECT_EQ(vers_int32(0.0), 0);
    EXPECT_EQ(vers_int32(3e10), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(vers_int32(-3e10), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(vers_int32(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(vers_int32(std::numeric_limits<double>::infinity()),
              std::numeric_limits<std::int32_t>::max());
}
