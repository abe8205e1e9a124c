#include <gtest/gtest.h>

#include "model/weldmap.h"

namespace {

TEST(WeldMap, NumbersCornersInOrderOfFirstAppearanceWhateverTheirStorage)
{
    WeldMap map;
    // Forty corners at one position: more than one chain holds, so they move to the hash table.
    for (int32_t t = 0; t < 40; ++t) {
        EXPECT_EQ(map.Weld(ObjAttribute(0, t, -1), 2), uint32_t(t));
    }
    EXPECT_EQ(map.Weld(ObjAttribute(0, 5, -1), 2), 5u);
    EXPECT_EQ(map.Weld(ObjAttribute(0, 39, -1), 2), 39u);
    EXPECT_EQ(map.Weld(ObjAttribute(1, 0, -1), 2), 40u);
    EXPECT_EQ(map.Weld(ObjAttribute(1, 0, 3), 2), 41u);
    EXPECT_EQ(map.Weld(ObjAttribute(0, 40, -1), 2), 42u);
    // A position not read yet: everything is hashed from here on.
    EXPECT_EQ(map.Weld(ObjAttribute(9, 0, -1), 2), 43u);
    EXPECT_EQ(map.Weld(ObjAttribute(1, 0, 3), 2), 41u);
    EXPECT_EQ(map.Weld(ObjAttribute(0, 12, -1), 10), 12u);
    EXPECT_EQ(map.Weld(ObjAttribute(9, 0, -1), 10), 43u);
    EXPECT_EQ(map.Weld(ObjAttribute(-3, -1, -1), 10), 44u);
    ASSERT_EQ(map.Size(), 45u);
    EXPECT_EQ(map.Keys()[41], ObjAttribute(1, 0, 3));
    EXPECT_EQ(map.Keys()[44], ObjAttribute(-3, -1, -1));
}

TEST(WeldMap, ManyVerticesSurviveTableGrowth)
{
    WeldMap map;
    for (int32_t p = 0; p < 5000; ++p) {
        for (int32_t n = 0; n < 20; ++n) {
            map.Weld(ObjAttribute(p, -1, n), 5000);
        }
    }
    EXPECT_EQ(map.Size(), 100000u);
    EXPECT_EQ(map.Weld(ObjAttribute(4321, -1, 17), 5000), 4321u * 20u + 17u);
    EXPECT_EQ(map.Weld(ObjAttribute(7, -1, 3), 5000), 143u);
}

}
