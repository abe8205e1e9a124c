#include <vector>

#include <gtest/gtest.h>

#include "textures/texelfetch.h"
#include "preview/texturesampler.h"

namespace {

TexturePlan Texture(TextureFormat format, int width, int height, std::vector<uint8_t> texels)
{
    TexturePlan texture;
    texture.format = format;
    texture.width = width;
    texture.height = height;
    texture.texels = std::move(texels);
    return texture;
}

TEST(TexelFetch, EachFormatDecodesItsBigEndianBytes)
{
    struct Case {
        TextureFormat format;
        int width;
        std::vector<uint8_t> bytes;
        int s, t;
        Texel expected;
    };
    const std::vector<uint16_t> palette = {0x0001, 0xF801, 0x07C0};
    const Case cases[] = {
        {TextureFormat::RGBA16, 2, {0, 0, 0x08, 0x43}, 1, 0, {8, 8, 8, 255}},      // 1, 1, 1, alpha 1
        {TextureFormat::RGBA32, 1, {1, 2, 3, 4}, 0, 0, {1, 2, 3, 4}},
        {TextureFormat::IA16, 2, {0, 0, 0x80, 0x40}, 1, 0, {0x80, 0x80, 0x80, 0x40}},
        {TextureFormat::IA8, 2, {0, 0x3C}, 1, 0, {0x33, 0x33, 0x33, 0xCC}},
        {TextureFormat::IA4, 2, {0x0B}, 1, 0, {0xB6, 0xB6, 0xB6, 255}},            // intensity 5 of 7, alpha on
        {TextureFormat::I8, 1, {0, 0x7F}, 0, 1, {0x7F, 0x7F, 0x7F, 0x7F}},           // second row
        {TextureFormat::I4, 3, {0x12, 0x30, 0x45}, 1, 1, {0x55, 0x55, 0x55, 0x55}},  // rows of two bytes
        {TextureFormat::CI8, 2, {0, 2}, 1, 0, {0, 255, 0, 0}},
        {TextureFormat::CI4, 2, {0x01}, 1, 0, {255, 0, 0, 255}},
        {TextureFormat::CI4, 2, {0x0F}, 1, 0, {0, 0, 0, 0}},                        // past the palette's end
        {TextureFormat::RGBA16, 2, {0xFF, 0xFF}, 1, 0, {0, 0, 0, 0}},                // past the bytes' end
    };
    for (const Case& test : cases) {
        const TexturePlan texture = Texture(test.format, test.width, 2, test.bytes);
        const Texel texel = FetchTexel(texture, &palette, test.s, test.t);
        EXPECT_EQ((std::vector<int>{texel.r, texel.g, texel.b, texel.a}),
                  (std::vector<int>{test.expected.r, test.expected.g, test.expected.b, test.expected.a}))
            << "format " << int(test.format) << " at " << test.s << ", " << test.t;
    }
    const TexturePlan indexed = Texture(TextureFormat::CI4, 2, 1, {0x0A});
    EXPECT_EQ(FetchTexel(indexed, nullptr, 1, 0).r, 0xAA) << "without a lookup table an index is an intensity";
}

// A 2x1 I8 texture, 0 and 255, sampled at whole texels -1 to 4 and half way between the two.
TEST(TextureSampler, ClampWrapAndMirrorRepeatTheTexelsAsTheTileSays)
{
    struct Case {
        bool clamp, mirror;
        int mask;
        std::vector<int> expected;  // at s = -1, 0, 1, 2, 3, 4 texels
    };
    const Case cases[] = {
        {true, false, 0, {0, 0, 255, 255, 255, 255}},
        {false, false, 0, {0, 0, 255, 255, 255, 255}},  // mask 0 clamps
        {false, false, 1, {255, 0, 255, 0, 255, 0}},
        {false, true, 1, {0, 0, 255, 255, 0, 0}},
    };
    for (const Case& test : cases) {
        TexturePlan texture = Texture(TextureFormat::I8, 2, 1, {0, 255, 0, 0, 0, 0, 0, 0});
        texture.clampS = test.clamp;
        texture.mirrorS = test.mirror;
        texture.maskS = test.mask;
        std::vector<int> sampled;
        for (int s = -1; s <= 4; ++s) {
            sampled.push_back(SampleTexture(texture, nullptr, s * 32, 0).r);
        }
        EXPECT_EQ(sampled, test.expected) << "clamp " << test.clamp << " mirror " << test.mirror << " mask "
                                          << test.mask;
    }
}

TEST(TextureSampler, ThreePointFilterBlendsTheTriangleOfTexelsNearestThePoint)
{
    // 2x2 I8: 0, 64 / 128, 255, clamped.
    const TexturePlan texture = Texture(TextureFormat::I8, 2, 2, {0, 64, 128, 255, 0, 0, 0, 0});
    EXPECT_EQ(SampleTexture(texture, nullptr, 16, 0).r, 32);     // half way along the top row
    EXPECT_EQ(SampleTexture(texture, nullptr, 8, 8).r, 48);      // lower triangle: 0 + (8*64 + 8*128 + 16) / 32
    EXPECT_EQ(SampleTexture(texture, nullptr, 24, 24).r, 176);  // upper: 255 + (8*(128-255) + 8*(64-255) + 16) >> 5
}

} // namespace
