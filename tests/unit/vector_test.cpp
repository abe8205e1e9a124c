#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "model/vector2d.h"
#include "model/vector3d.h"
#include "model/vector4d.h"

namespace {

// Normals are made of these operations; each rounds once, as the written numbers depend on it. (Normalize, Cross
// and subtraction of 3D vectors: every normals-* golden case.)
TEST(Vectors, ArithmeticRoundsOnceAndFollowsTheRightHandRule)
{
    // In float arithmetic each +1 would be lost against 2^24.
    EXPECT_EQ(Vector3D(16777216.0f, 1.0f, 1.0f).Dot(Vector3D(1.0f, 1.0f, 1.0f)), 16777218.0f);
    EXPECT_EQ(Vector4D(16777216.0f, 1.0f, 1.0f, 0.0f).Dot(Vector4D(1.0f, 1.0f, 1.0f, 1.0f)), 16777218.0f);
    EXPECT_EQ(Vector2D(0.0f, 1.0f).Cross(Vector2D(1.0f, 0.0f)), -1.0f);
    EXPECT_EQ(Vector4D(1.0f, 2.0f, 3.0f, 4.0f) - Vector4D(0.5f, -1.0f, 4.0f, 1.0f), Vector4D(0.5f, 3.0f, -1.0f, 3.0f));
    EXPECT_EQ(Vector4D(1.0f, 2.0f, 3.0f, 0.0f).Distance(Vector4D(1.0f, 5.0f, 7.0f, 0.0f)), 5.0f);
    EXPECT_EQ(Vector3D(1.0f, 2.0f, 3.0f).Distance(Vector3D(1.0f, 5.0f, 7.0f)), 5.0f);
    // The squared length of a zero or tiny vector is 0: NaN and infinite components, never a crash.
    const Vector3D tiny = Vector3D(1e-23f, 0.0f, -1e-23f).Normalize();
    EXPECT_EQ(tiny.x, std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(tiny.y));
}

TEST(VectorsDeathTest, IndexReachesEachComponentAndStopsOutside)
{
    // Not const: the writable access is a function of its own.
    Vector2D u(5.0f, 6.0f);
    Vector3D v(1.0f, 2.0f, 3.0f);
    Vector4D w(1.0f, 2.0f, 3.0f, 4.0f);
    w[3] = 8.0f;
    EXPECT_EQ(u[0] + u[1], 11.0f);
    EXPECT_EQ(v[0] * 100 + v[1] * 10 + v[2], 123.0f);
    EXPECT_EQ(w.w, 8.0f);
    EXPECT_DEATH(v[3], "index == 0 \\|\\| index == 1 \\|\\| index == 2, file .*vector3d.cpp");
    EXPECT_DEATH(u[2], "index == 0 \\|\\| index == 1, file .*vector2d.cpp");
}

}
