#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "textures/textureconvert.h"

namespace {

using F = TextureFormat;
using Bytes = std::vector<uint8_t>;

Image Fixture(const char* name)
{
    Image image;
    std::string reason;
    EXPECT_EQ(LoadImage(std::string(TEXTURE_DATA_DIR "/") + name, image, reason), ImageLoad::Ok) << name;
    return image;
}

TexturePlan Convert(const Image& image, F format, bool clamp, std::string* warning = nullptr)
{
    TextureChoice choice;
    choice.format = format;
    choice.width = image.width;
    choice.height = image.height;
    TexturePlan plan;
    std::string ignored;
    ConvertTexture(image, choice, clamp, clamp, "t.png", plan, warning ? *warning : ignored);
    return plan;
}

TEST(ConvertTexture, TexelsAreTheConsolesBytes)
{
    // grey-alpha-4x2: (I, A) = (0,255) (85,255) (170,0) (255,128) / (17,34) (68,119) (136,204) (238,240).
    // checker-2x2: red, green / blue, white.
    struct Case {
        const char* file;
        F format;
        Bytes texels;
        std::vector<uint16_t> palette;
    } const cases[] = {
        {"grey-alpha-4x2.png", F::IA16,
         {0x00, 0xFF, 0x55, 0xFF, 0xAA, 0x00, 0xFF, 0x80, 0x11, 0x22, 0x44, 0x77, 0x88, 0xCC, 0xEE, 0xF0}, {}},
        {"grey-alpha-4x2.png", F::IA8, {0x0F, 0x5F, 0xA0, 0xF8, 0x12, 0x47, 0x8C, 0xEE}, {}},
        {"grey-alpha-4x2.png", F::IA4, {0x15, 0xAF, 0x04, 0x9F, 0, 0, 0, 0}, {}},
        {"grey-alpha-4x2.png", F::I8, {0x00, 0x55, 0xAA, 0xFF, 0x11, 0x44, 0x88, 0xEE}, {}},
        {"grey-alpha-4x2.png", F::I4, {0x05, 0xAF, 0x14, 0x8E, 0, 0, 0, 0}, {}},
        {"checker-2x2.png", F::RGBA16, {0xF8, 0x01, 0x07, 0xC1, 0x00, 0x3F, 0xFF, 0xFF}, {}},
        {"checker-2x2.png", F::RGBA32,
         {0xFF, 0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {}},
        {"checker-2x2.png", F::CI8, {0, 1, 2, 3, 0, 0, 0, 0}, {0xF801, 0x07C1, 0x003F, 0xFFFF}},
        {"checker-2x2.png", F::CI4, {0x01, 0x23, 0, 0, 0, 0, 0, 0},
         {0xF801, 0x07C1, 0x003F, 0xFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const TexturePlan plan = Convert(Fixture(c.file), c.format, true);
        EXPECT_EQ(plan.texels, c.texels) << TextureFormatName(c.format);
        EXPECT_EQ(plan.palette, c.palette) << TextureFormatName(c.format);
    }
}

TEST(ConvertTexture, ChannelsRoundToTheNearestLevel)
{
    Image image;
    image.width = 2;
    image.height = 1;
    // 132 * 31 / 255 = 16.05, 4 -> 0.49, 5 -> 0.61; alpha 127 clears the bit, 128 sets it.
    image.rgba = {132, 4, 5, 127, 0, 0, 0, 128};
    EXPECT_EQ(Convert(image, F::RGBA16, true).texels, (Bytes{0x80, 0x02, 0x00, 0x01, 0, 0, 0, 0}));
    // Luminance (54 R + 183 G + 19 B) / 256: pure red 54, green 182, blue 19.
    image.rgba = {255, 0, 0, 255, 0, 255, 0, 255};
    EXPECT_EQ(Convert(image, F::I8, true).texels, (Bytes{54, 182, 0, 0, 0, 0, 0, 0}));
}

TEST(ConvertTexture, WrappingAxesRepeatAtTheirSizeAndClampedOnesDoNot)
{
    const TexturePlan wraps = Convert(Fixture("grey-alpha-4x2.png"), F::IA16, false);
    EXPECT_EQ(wraps.maskS, 2);
    EXPECT_EQ(wraps.maskT, 1);
    EXPECT_FALSE(wraps.clampS || wraps.clampT || wraps.loadAsTile);
    const TexturePlan clamps = Convert(Fixture("checker-2x2.png"), F::RGBA16, true);
    EXPECT_EQ(clamps.maskS, 0);
    EXPECT_EQ(clamps.maskT, 0);
    EXPECT_TRUE(clamps.clampS && clamps.clampT && clamps.loadAsTile);
}

TEST(ConvertTexture, TooManyColoursForAPaletteAreQuantised)
{
    // Seventeen greys one 5-bit step apart, two pixels each: sixteen palette entries keep sixteen of them and
    // merge one pair into its upper colour.
    Image image;
    image.width = 34;
    image.height = 1;
    for (int k = 0; k < 34; ++k) {
        const uint8_t v = uint8_t(k / 2 << 3 | k / 2 >> 2);
        image.rgba.insert(image.rgba.end(), {v, v, v, 255});
    }
    std::string warning;
    const TexturePlan plan = Convert(image, F::CI4, true, &warning);
    EXPECT_EQ(warning, "warning: t.png: 17 colours quantised to 16 for CI4");
    ASSERT_EQ(plan.palette.size(), 16u);
    const Image decoded = DecodeTexture(plan);
    int exact = 0;
    for (int k = 0; k < 34; ++k) {
        const int level = decoded.rgba[4 * size_t(k)] >> 3;
        EXPECT_LE(std::abs(level - k / 2), 1);
        exact += level == k / 2 ? 1 : 0;
    }
    EXPECT_EQ(exact, 32);
}

TEST(DecodeTexture, WidensTexelsAsTheConsoleDoes)
{
    struct Case {
        F format;
        Bytes texels;
        std::vector<uint16_t> palette;
        Bytes rgba;  // two texels
    } const cases[] = {
        {F::RGBA16, {0xF8, 0x01, 0x84, 0x42}, {}, {255, 0, 0, 255, 132, 140, 8, 0}},
        {F::IA16, {0x40, 0x80, 0xFF, 0x00}, {}, {64, 64, 64, 128, 255, 255, 255, 0}},
        {F::IA8, {0x8F, 0x30}, {}, {136, 136, 136, 255, 51, 51, 51, 0}},
        {F::IA4, {0x5E}, {}, {73, 73, 73, 255, 255, 255, 255, 0}},
        {F::I8, {0x40, 0xFF}, {}, {64, 64, 64, 64, 255, 255, 255, 255}},
        {F::I4, {0xA3}, {}, {170, 170, 170, 170, 51, 51, 51, 51}},
        {F::CI8, {1, 0}, {0xF801, 0x07C1}, {0, 255, 0, 255, 255, 0, 0, 255}},
        {F::CI4, {0x10}, {0xF801, 0x07C1}, {0, 255, 0, 255, 255, 0, 0, 255}},
    };
    for (const Case& c : cases) {
        TexturePlan plan;
        plan.format = c.format;
        plan.width = 2;
        plan.height = 1;
        plan.texels = c.texels;
        plan.palette = c.palette;
        EXPECT_EQ(DecodeTexture(plan).rgba, c.rgba) << TextureFormatName(c.format);
    }
}

TEST(AlphaOf, TellsOpaqueCutoutAndTranslucentAfterConversion)
{
    struct Case {
        const char* file;
        F format;
        TextureAlpha alpha;
    } const cases[] = {
        {"checker-2x2.png", F::RGBA16, TextureAlpha::Opaque},
        {"cutout-2x2.png", F::RGBA16, TextureAlpha::Cutout},
        {"translucent-2x2.png", F::RGBA32, TextureAlpha::Translucent},
        {"translucent-2x2.png", F::RGBA16, TextureAlpha::Cutout},  // 128 keeps the bit, 64 loses it
        {"grey-alpha-4x2.png", F::I8, TextureAlpha::Opaque},
        {"grey-alpha-4x2.png", F::IA8, TextureAlpha::Translucent},
        {"grey-alpha-4x2.png", F::IA4, TextureAlpha::Cutout},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AlphaOf(Convert(Fixture(c.file), c.format, true)), c.alpha) << c.file << " "
                                                                              << TextureFormatName(c.format);
    }
}

}
