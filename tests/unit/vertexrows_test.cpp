#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "output/vertexrows.h"

namespace {

TEST(Clamp, TruncatesTowardZeroAndClampsUpperBoundFirst)
{
    EXPECT_EQ(ClampToInt16(1.9), 1);
    EXPECT_EQ(ClampToInt16(-1.9), -1);
    EXPECT_EQ(ClampToInt16(40000.0), 32767);
    EXPECT_EQ(ClampToInt16(-40000.0), -32768);
    EXPECT_EQ(ClampToInt16(32767.9), 32767);
    EXPECT_EQ(ClampToInt16(-32768.5), -32768);
    EXPECT_EQ(ClampToInt8(128.0), 127);
    EXPECT_EQ(ClampToInt8(-128.0), -128);
    EXPECT_EQ(ClampToInt8(90.5088), 90);
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ClampToInt8(inf), 127);
    EXPECT_EQ(ClampToInt8(-inf), -128);
    EXPECT_EQ(ClampToInt16(std::nan("")), 0);
    EXPECT_EQ(ClampToInt8(std::nan("")), 0);
}

std::string Rows(const std::string& obj, const ConversionSettings& settings)
{
    std::istringstream in(obj);
    const ObjFile model(in, "rows.obj");
    std::ostringstream text;
    {
        OutputText out(text);
        WriteVertexRows(out, model, settings);
    }
    return text.str();
}

std::string FirstRow(const std::string& rows)
{
    return rows.substr(0, rows.find('\n'));
}

TEST(VertexRows, PositionTextureAndNormalAreScaledAndClamped)
{
    const std::string obj = "v 1.5 -2.25 100000\nv 0 0 0\nv 0.257 -0.257 40000\n"
                            "vt 0.25 0.75\nvt 20 1\nvt -20 0.5\n"
                            "vn 0 1 0\nvn 0.5 -0.5 0.7071\nvn 0 0 -1\n"
                            "f 1/1/1 2/2/2 3/3/3\n";
    EXPECT_EQ(Rows(obj, ConversionSettings()), "    { 1, -2, 32767, 0, 512, 512, 0, 127, 0, 0xff },\n"
                                               "    { 0, 0, 0, 0, 32767, 0, 64, -64, 90, 0xff },\n"
                                               "    { 0, 0, 32767, 0, -32768, 1024, 0, 0, -128, 0xff },\n");
    ConversionSettings scaled;
    scaled.scale = 100.0f;
    scaled.sScale = 2.0f;
    scaled.tScale = 0.5f;
    scaled.alpha = 16;
    // The triangle has no area, so its vertices get no normal direction.
    EXPECT_EQ(FirstRow(Rows("v 0.257 1 -1\nv 0 0 0\nv 0 0 0\nvt 0.75 0.25\nf 1/1 2/1 3/1\n", scaled)),
              "    { 25, 100, -100, 0, 3072, 768, 0, 0, 0, 0x10 },");
}

TEST(VertexRows, ColourReplacesTheNormalInHexadecimal)
{
    ConversionSettings coloured;
    coloured.useNormals = false;
    coloured.red = 255;
    coloured.green = 128;
    coloured.blue = 0;
    coloured.alpha = 0;
    EXPECT_EQ(FirstRow(Rows("v 0 0 0\nv -1 0 0\nv 0 1 0\nf 1 2 3\n", coloured)),
              "    { 0, 0, 0, 0, 0, 2048, 0xff, 0x80, 0x0, 0x0 },");
}

}
