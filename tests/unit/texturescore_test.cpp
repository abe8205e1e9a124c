#include <gtest/gtest.h>

#include <initializer_list>

#include "textures/alphameaning.h"
#include "textures/candidatesizes.h"
#include "textures/texturescore.h"

namespace {

Image Row(std::initializer_list<uint8_t> rgba)
{
    Image image;
    image.rgba = rgba;
    image.width = int(image.rgba.size() / 4);
    image.height = 1;
    return image;
}

// Two RGBA32 texels side by side: black, then grey 200, both opaque.
TexturePlan BlackThenGrey(bool clamp)
{
    TexturePlan texture;
    texture.format = TextureFormat::RGBA32;
    texture.width = 2;
    texture.height = 1;
    texture.clampS = texture.clampT = clamp;
    texture.texels = {0, 0, 0, 255, 200, 200, 200, 255};
    return texture;
}

// Filtered to 4 pixels, the pixels' centres fall at texel coordinates -0.25, 0.25, 0.75 and 1.25 from the first
// texel's centre.
TEST(TextureScore, BilinearAtHalfTexelCentresAlphaWeighted)
{
    // Clamped: 0, 50, 150, 200. The third pixel is transparent: its colour does not count, its alpha (0 against
    // 255) does: 255^2 / (4 channels * 4 pixels).
    const Image image = Row({0, 0, 0, 255, 50, 50, 50, 255, 9, 9, 9, 0, 200, 200, 200, 255});
    EXPECT_DOUBLE_EQ(TextureError(BlackThenGrey(true), image), 65025.0 / 16.0);
    // Wrapping, the edge pixels mix in the opposite texel: the first is 200 * 0.25 = 50 against 0, the last
    // 200 * 0.75 = 150 against 200, each on three channels.
    EXPECT_DOUBLE_EQ(TextureError(BlackThenGrey(false), image), (65025.0 + 6 * 50.0 * 50.0) / 16.0);
}

TEST(TextureScore, PsnrOfTheErrorAndNothingToMeasure)
{
    EXPECT_NEAR(Psnr(65025.0 / 16.0), 12.04, 0.01);  // 10 log10(16)
    EXPECT_DOUBLE_EQ(Psnr(0.0), 99.0);
    EXPECT_LT(TextureError(BlackThenGrey(true), Row({0, 0, 0, 0, 5, 5, 5, 0})), 0.0);
    EXPECT_LT(TextureError(BlackThenGrey(true), Image()), 0.0);
    // Intensity without alpha draws opaque: a grey image at alpha 255 matches I8 exactly.
    TexturePlan grey;
    grey.format = TextureFormat::I8;
    grey.width = grey.height = 1;
    grey.texels = {100, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_DOUBLE_EQ(TextureError(grey, Row({100, 100, 100, 255})), 0.0);
}

TEST(CandidateSizes, MostTexelsOneLoadHoldsWithinTwoToOne)
{
    using Sizes = std::vector<TextureSize>;
    // Wrapping 1024x1024: powers of two; RGBA16 2048 texels, either way round, then today's square 32x32.
    EXPECT_EQ(CandidateSizes(TextureFormat::RGBA16, 1024, 1024, false, false), (Sizes{{32, 64}, {64, 32}, {32, 32}}));
    EXPECT_EQ(CandidateSizes(TextureFormat::CI4, 1024, 1024, false, false), (Sizes{{64, 64}}));
    // Clamped: any size, never enlarged; rows padded to whole words: CI4 44 wide takes 3 words a row, so 85 rows
    // (3740 texels) lose to 32x128 (4096); today's shape-keeping 18x128 follows.
    EXPECT_EQ(CandidateSizes(TextureFormat::RGBA16, 48, 40, true, true), (Sizes{{48, 40}}));
    EXPECT_EQ(CandidateSizes(TextureFormat::CI4, 45, 300, true, true), (Sizes{{32, 128}, {18, 128}}));
    // 3:1 may go to 2:1 (64x32) but not to 8:1 (128x16).
    EXPECT_EQ(CandidateSizes(TextureFormat::RGBA16, 300, 100, true, true).front(), (TextureSize{64, 32}));
}

TEST(AlphaMeaning, FewPartlyTransparentPixelsDoNotMakeATranslucentSurface)
{
    Image image = Row({});
    image.width = 40;
    for (int k = 0; k < 40; ++k) {
        image.rgba.insert(image.rgba.end(), {1, 2, 3, 255});
    }
    image.rgba[3] = 200;  // 1 of 40 partly transparent: 2.5 %
    EXPECT_EQ(ReadAlpha(image).meaning, AlphaMeaning::Opaque);
    image.rgba[7] = 0;  // and one hole
    EXPECT_EQ(ReadAlpha(image).meaning, AlphaMeaning::Cutout);
    EXPECT_EQ(ApplyAlphaMeaning(image, AlphaMeaning::Cutout).rgba[3], 255);
    image.rgba[11] = 100;  // 2 of 40: 5 %
    EXPECT_EQ(ReadAlpha(image).meaning, AlphaMeaning::Translucent);
}

}
