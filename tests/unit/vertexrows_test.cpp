#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "output/vertexrows.h"

namespace {

// What no OBJ text reaches directly: NaN and infinities (a normal of a tiny triangle), and the last fractions.
TEST(Clamp, TruncatesTowardZeroClampsAndMapsNaNToZero)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double cases16[][2] = {{1.9, 1}, {-1.9, -1}, {32767.9, 32767}, {-32768.5, -32768}, {std::nan(""), 0}};
    for (const auto& c : cases16) {
        EXPECT_EQ(ClampToInt16(c[0]), c[1]) << c[0];
    }
    const double cases8[][2] = {{128.0, 127}, {-128.0, -128}, {90.5088, 90}, {inf, 127}, {-inf, -128},
                                {std::nan(""), 0}};
    for (const auto& c : cases8) {
        EXPECT_EQ(ClampToInt8(c[0]), c[1]) << c[0];
    }
}

}
