#include <gtest/gtest.h>

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

TexturePlan Convert(const Image& image, F format, bool clamp)
{
    TextureChoice choice;
    choice.format = format;
    choice.width = image.width;
    choice.height = image.height;
    TexturePlan plan;
    std::string warning;
    ConvertTexture(image, choice, clamp, clamp, "t.png", plan, warning);
    return plan;
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
