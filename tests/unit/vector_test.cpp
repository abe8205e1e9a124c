#include <cmath>
#include <limits>
#include <sstream>

#include <gtest/gtest.h>

#include "model/vector2d.h"
#include "model/vector3d.h"
#include "model/vector4d.h"

namespace {

TEST(Vector3D, NormalizeRoundsThroughTheReciprocal)
{
    const Vector3D v(3.0f, 0.0f, 4.0f);
    const Vector3D n = v.Normalize();
    EXPECT_EQ(n.x, 0.6f);
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_EQ(n.z, 0.8f);
    EXPECT_EQ(v, Vector3D(3.0f, 0.0f, 4.0f));
    EXPECT_EQ(Vector3D(3.0f, 4.0f, 12.0f).Length(), 13.0f);
}

TEST(Vector3D, ZeroAndTinyVectorsNormalizeToNaNAndInfinity)
{
    const Vector3D zero;
    const Vector3D n = zero.Normalize();
    EXPECT_TRUE(std::isnan(n.x) && std::isnan(n.y) && std::isnan(n.z));
    EXPECT_EQ(zero, Vector3D(0.0f, 0.0f, 0.0f));

    // The squared length of 1e-23 rounds to 0 in single precision.
    const Vector3D tiny = Vector3D(1e-23f, 0.0f, -1e-23f).Normalize();
    EXPECT_EQ(tiny.x, std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(tiny.y));
    EXPECT_EQ(tiny.z, -std::numeric_limits<float>::infinity());
}

TEST(Vector3D, DotSumsInDoubleAndRoundsOnce)
{
    // In float arithmetic each +1 would be lost against 2^24.
    EXPECT_EQ(Vector3D(16777216.0f, 1.0f, 1.0f).Dot(Vector3D(1.0f, 1.0f, 1.0f)), 16777218.0f);
    EXPECT_EQ(Vector4D(16777216.0f, 1.0f, 1.0f, 0.0f).Dot(Vector4D(1.0f, 1.0f, 1.0f, 1.0f)), 16777218.0f);
}

TEST(Vector3D, CrossFollowsTheRightHandRule)
{
    EXPECT_EQ(Vector3D::UnitX.Cross(Vector3D::UnitY), Vector3D::UnitZ);
    EXPECT_EQ(Vector3D::UnitY.Cross(Vector3D::UnitX), Vector3D(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(Vector2D(1.0f, 0.0f).Cross(Vector2D(0.0f, 1.0f)), 1.0f);
    EXPECT_EQ(Vector2D(0.0f, 1.0f).Cross(Vector2D(1.0f, 0.0f)), -1.0f);
}

TEST(Vector3D, ComparisonFollowsFloatEquality)
{
    EXPECT_TRUE(Vector3D(0.0f, 0.0f, 0.0f) == Vector3D(-0.0f, 0.0f, 0.0f));
    const Vector3D withNaN(std::nanf(""), 0.0f, 0.0f);
    EXPECT_FALSE(withNaN == withNaN);
    EXPECT_TRUE(withNaN != withNaN);
}

TEST(Vector3D, DivisionByZeroGivesInfinitiesAndNaN)
{
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(Vector3D(1.0f, 2.0f, 3.0f) / 0.0f, Vector3D(inf, inf, inf));
    const Vector3D v = Vector3D(0.0f, 1.0f, 0.0f) / 0.0f;
    EXPECT_TRUE(std::isnan(v.x));
    EXPECT_EQ(v.y, inf);
    EXPECT_TRUE(std::isnan(v.z));
}

TEST(Vector3D, ArithmeticAndScalarFirstProduct)
{
    const Vector3D a(1.0f, 2.0f, 3.0f);
    const Vector3D b(0.5f, -1.0f, 4.0f);
    EXPECT_EQ(a + b, Vector3D(1.5f, 1.0f, 7.0f));
    EXPECT_EQ(a - b, Vector3D(0.5f, 3.0f, -1.0f));
    EXPECT_EQ(0.1f * a, a * 0.1f);
    Vector3D c = a;
    c += b;
    c -= a;
    EXPECT_EQ(c, b);
    EXPECT_EQ(a.Distance(Vector3D(1.0f, 5.0f, 7.0f)), 5.0f);
    EXPECT_EQ(a.ToVector2D(), Vector2D(1.0f, 2.0f));
    EXPECT_EQ(Vector4D(a, 9.0f).ToVector3D(), a);
}

TEST(Vectors, TextOutputUsesTheStreamsFormatting)
{
    std::ostringstream out;
    out << Vector2D(0.25f, 4.0f) << Vector3D(1.0f, 0.5f, -2.0f) << Vector4D(1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_EQ(out.str(), "(0.25, 4)(1, 0.5, -2)(1, 2, 3, 4)");
}

TEST(Vectors, IndexReachesComponents)
{
    Vector4D v(1.0f, 2.0f, 3.0f, 4.0f);
    v[3] = 8.0f;
    EXPECT_EQ(v.w, 8.0f);
    const Vector2D u(5.0f, 6.0f);
    EXPECT_EQ(u[1], 6.0f);
}

TEST(VectorsDeathTest, IndexOutsideTheComponentsStopsWithTheCondition)
{
    Vector3D v;
    Vector2D u;
    Vector4D w;
    EXPECT_DEATH(v[3], "index == 0 \\|\\| index == 1 \\|\\| index == 2, file .*vector3d.cpp");
    EXPECT_DEATH(u[2], "index == 0 \\|\\| index == 1, file .*vector2d.cpp");
    EXPECT_DEATH(w[-1], "index == 0 \\|\\| index == 1 \\|\\| index == 2 \\|\\| index == 3, file .*vector4d.cpp");
}

}
