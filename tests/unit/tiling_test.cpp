#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "plan/meshcutter.h"
#include "textures/tilegrid.h"

namespace {

using F = TextureFormat;

CutVertex At(double s, double t, double x)
{
    CutVertex v{{s, t}, {x, 0, 0, 0, 0, 1, 0, 0, 0}};
    return v;
}

bool Same(const CutVertex& a, const CutVertex& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Twice the texture-space area of a piece (positive for the winding of the tests' triangles).
double Area(const CutPiece& p)
{
    const CutVertex* c = p.corners;
    return (c[1].st[0] - c[0].st[0]) * (c[2].st[1] - c[0].st[1]) -
           (c[1].st[1] - c[0].st[1]) * (c[2].st[0] - c[0].st[0]);
}

// One wrapping axis of 64 texels in tiles of 32 on s; one clamped axis of tiles of 20 on t, 3 of them.
const CutGrid grid{{64.0, 0.0}, {32.0, 20.0}, {2, 3}};

}  // namespace

TEST(TileGrid, FewestTilesWhoseBorderedLoadFits)
{
    // RGBA16: 88 texels (22 words) x 22 rows = 484 of 512 words; 23 rows of 21 would need 3 x 13 tiles as well,
    // and evened out to 13 rows they are 20 high.
    const TileGrid rgba = ChooseTileGrid(F::RGBA16, 256, 256);
    EXPECT_EQ(rgba.columns, 3);
    EXPECT_EQ(rgba.rows, 13);
    EXPECT_EQ(rgba.width, 86);
    EXPECT_EQ(rgba.height, 20);
    // CI4 keeps to the lower half: 130 texels are 9 words, 28 rows fit in 256 words; 128 / 26 gives 5 rows,
    // where two columns of 66 (5 words, 51 rows) would need 3 rows, 6 tiles.
    const TileGrid ci = ChooseTileGrid(F::CI4, 128, 128);
    EXPECT_EQ(ci.columns * ci.rows, 5);
    EXPECT_EQ(ci.width, 128);
    EXPECT_EQ(ci.height, 26);
    // Nothing to cut, or beyond what tile corners can address.
    EXPECT_EQ(ChooseTileGrid(F::RGBA16, 0, 64).columns, 0);
    EXPECT_EQ(ChooseTileGrid(F::RGBA16, 1024, 64).columns, 0);
}

TEST(TileGrid, RectanglesCarryTheBorderAndStopAtTheImageEdge)
{
    const TileGrid g{3, 13, 86, 20};
    const TileRectangle first = TileRectangleOf(g, 256, 256, 0);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.right, 87);
    EXPECT_EQ(first.bottom, 21);
    // Column 2, row 12: texels 172..255 and 240..255 of the image, 173..256 and 241..256 framed, plus border.
    const TileRectangle last = TileRectangleOf(g, 256, 256, 2 + 12 * 3);
    EXPECT_EQ(last.left, 172);
    EXPECT_EQ(last.top, 240);
    EXPECT_EQ(last.right, 257);
    EXPECT_EQ(last.bottom, 257);
}

TEST(TileGrid, FrameWrapsOrRepeatsTheEdge)
{
    Image image;
    image.width = 2;
    image.height = 1;
    image.rgba = {10, 0, 0, 255, 20, 0, 0, 255};
    const Image wrapped = FramedImage(image, false, true);
    ASSERT_EQ(wrapped.width, 4);
    ASSERT_EQ(wrapped.height, 3);
    const uint8_t row[4] = {20, 10, 20, 10};  // the opposite edges on s
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(wrapped.rgba[size_t(4 * (4 + x))], row[x]);
        EXPECT_EQ(wrapped.rgba[size_t(4 * x)], row[x]);  // t clamps: the row above repeats the image's row
    }
    const Image clamped = FramedImage(image, true, true);
    EXPECT_EQ(clamped.rgba[0], 10);
    EXPECT_EQ(clamped.rgba[4 * 3], 20);
}

TEST(MeshCutter, SharedEdgeGetsTheSameNewVertexFromBothSides)
{
    // Two triangles share the edge (10, 5)-(50, 45), each listing it in its own order; the line s = 32 crosses it.
    const CutVertex a = At(10, 5, 0.8277681566457297), b = At(50, 45, 0.012381744486666624);
    const CutVertex left[3] = {a, b, At(10, 45, 0.1)};
    const CutVertex right[3] = {b, a, At(50, 5, 0.9)};
    std::vector<CutPiece> one, other;
    ASSERT_TRUE(CutTriangle(left, grid, one));
    ASSERT_TRUE(CutTriangle(right, grid, other));
    std::vector<CutVertex> fromOne, fromOther;
    const auto collect = [&a, &b](const std::vector<CutPiece>& pieces, std::vector<CutVertex>& out) {
        for (const CutPiece& p : pieces) {
            for (const CutVertex& v : p.corners) {
                // Points on the shared edge, s = t + 5, that the cutting made.
                if (v.st[0] == v.st[1] + 5.0 && v.values[0] != a.values[0] && v.values[0] != b.values[0]) {
                    out.push_back(v);
                }
            }
        }
    };
    collect(one, fromOne);
    collect(other, fromOther);
    // s = 32 and t = 20, 40 cross it; interpolated from either end, those positions would differ in the last bit.
    ASSERT_FALSE(fromOne.empty());
    ASSERT_FALSE(fromOther.empty());
    for (const CutVertex& v : fromOne) {
        bool found = false;
        for (const CutVertex& w : fromOther) {
            found = found || Same(v, w);
        }
        EXPECT_TRUE(found) << v.st[0] << " " << v.st[1];
    }
}

TEST(MeshCutter, SeamSidesMeetAtTheSamePoints)
{
    // Positions p (x 0) and q (x 1) are shared; each side maps the edge to different texels, so each is cut at
    // its own lines and must add the other's points. Values 0 and 1 hold the position.
    const auto corner = [](double s, double t, double x, double y) {
        CutVertex v{{s, t}, {x, y, 0, 0, 0, 1, 0, 0, 0}};
        return v;
    };
    const CutVertex sideA[3] = {corner(5, 5, 0, 0), corner(60, 55, 1, 1), corner(60, 5, 1, 0)};
    const CutVertex sideB[3] = {corner(3, 1, 1, 1), corner(40, 58, 0, 0), corner(3, 58, 0, 1)};
    // Both sides' crossings of the shared edge, from p to q.
    std::vector<double> at;
    EdgeCrossings(sideA[0], sideA[1], grid, at);
    EdgeCrossings(sideB[1], sideB[0], grid, at);
    CutEdges edgesA, edgesB;
    edgesA.at[0] = edgesB.at[0] = at.data();
    edgesA.count[0] = edgesB.count[0] = at.size();
    edgesB.reversed[0] = true;
    std::vector<CutPiece> a, b;
    ASSERT_TRUE(CutTriangle(sideA, grid, a, &edgesA));
    ASSERT_TRUE(CutTriangle(sideB, grid, b, &edgesB));
    // Positions on the edge (x = y) each side's pieces have.
    const auto onEdge = [](const std::vector<CutPiece>& pieces) {
        std::vector<std::pair<double, double>> points;
        for (const CutPiece& p : pieces) {
            for (const CutVertex& v : p.corners) {
                if (v.values[0] == v.values[1]) {
                    points.emplace_back(v.values[0], v.values[1]);
                }
            }
        }
        std::sort(points.begin(), points.end());
        points.erase(std::unique(points.begin(), points.end()), points.end());
        return points;
    };
    const std::vector<std::pair<double, double>> pointsA = onEdge(a), pointsB = onEdge(b);
    EXPECT_EQ(pointsA, pointsB);
    EXPECT_GT(pointsA.size(), at.size());  // the ends and every crossing of either side
    // A neighbour that is not cut (another material) gets the same points, and still covers itself once.
    const CutVertex sideC[3] = {corner(0, 0, 1, 1), corner(0, 0, 0, 0), corner(0, 0, 0, 2)};
    std::vector<CutPiece> c;
    SplitAtEdgePoints(sideC, edgesB, c);
    EXPECT_EQ(onEdge(c), pointsA);
    double area = 0.0;
    for (const CutPiece& p : c) {
        const CutVertex* v = p.corners;
        area += (v[1].values[0] - v[0].values[0]) * (v[2].values[1] - v[0].values[1]) -
                (v[1].values[1] - v[0].values[1]) * (v[2].values[0] - v[0].values[0]);
    }
    EXPECT_DOUBLE_EQ(area, -2.0);  // the triangle's own: twice its area, clockwise in x, y
}

TEST(MeshCutter, PiecesCoverTheTriangleOnceAndMoveIntoTheFirstRepeat)
{
    // s 48..80 wraps at 64: the piece past it moves back by 64 into column 0.
    const CutVertex triangle[3] = {At(48, 2, 0), At(80, 2, 0), At(80, 18, 0)};
    std::vector<CutPiece> pieces;
    ASSERT_TRUE(CutTriangle(triangle, grid, pieces));
    double area = 0.0;
    for (const CutPiece& p : pieces) {
        area += Area(p);
        const double s0 = p.tile == 0 ? 0.0 : 32.0;
        for (const CutVertex& v : p.corners) {
            EXPECT_GE(v.st[0], s0);
            EXPECT_LE(v.st[0], s0 + 32.0);
        }
    }
    EXPECT_DOUBLE_EQ(area, 32.0 * 16.0);  // twice the area, as the cross product gives it
    EXPECT_EQ(pieces.size(), 3u);  // a triangle in column 1, a quadrilateral (two) in column 0
}

TEST(MeshCutter, TouchingALineMakesNoSliverAndFlatTrianglesStay)
{
    const CutVertex touching[3] = {At(0, 1, 0), At(32, 1, 0), At(16, 9, 0)};
    std::vector<CutPiece> pieces;
    ASSERT_TRUE(CutTriangle(touching, grid, pieces));
    EXPECT_EQ(pieces.size(), 1u);
    // All corners on one texel: nothing to cut, the triangle is drawn as it is.
    const CutVertex flat[3] = {At(5, 5, 0), At(5, 5, 1), At(5, 5, 2)};
    pieces.clear();
    ASSERT_TRUE(CutTriangle(flat, grid, pieces));
    EXPECT_EQ(pieces.size(), 1u);
}

TEST(MeshCutter, BadCoordinatesNeverHang)
{
    std::vector<CutPiece> pieces;
    const CutVertex huge[3] = {At(0, 0, 0), At(1e12, 0, 0), At(0, 5, 0)};
    EXPECT_FALSE(CutTriangle(huge, grid, pieces));
    const CutVertex spread[3] = {At(0, 0, 0), At(64.0 * 5000, 0, 0), At(0, 5, 0)};
    EXPECT_FALSE(CutTriangle(spread, grid, pieces));
    EXPECT_TRUE(pieces.empty());
    // A NaN coordinate counts as 0, as it does without tiles.
    const CutVertex nan[3] = {At(std::nan(""), 3, 0), At(10, 3, 0), At(10, 8, 0)};
    ASSERT_TRUE(CutTriangle(nan, grid, pieces));
    EXPECT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].corners[0].st[0], 0.0);
}
