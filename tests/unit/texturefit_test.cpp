#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "textures/texturefit.h"

namespace {

using F = TextureFormat;

// Grey pixels, all opaque or with alpha varying.
Image Grey(int width, int height, bool alpha)
{
    Image image;
    image.width = width;
    image.height = height;
    for (int k = 0; k < width * height; ++k) {
        const uint8_t v = uint8_t(k * 37);
        image.rgba.insert(image.rgba.end(), {v, v, v, uint8_t(alpha ? k * 53 : 255)});
    }
    return image;
}

// Exactly `colours` distinct RGBA 5-5-5-1 colours, repeated over the image.
Image Colours(int width, int height, int colours)
{
    Image image;
    image.width = width;
    image.height = height;
    const auto widen = [](int c) { return uint8_t(c << 3 | c >> 2); };
    for (int k = 0; k < width * height; ++k) {
        image.rgba.insert(image.rgba.end(), {widen(k % colours % 32), widen(k % colours / 32), 255, 255});
    }
    return image;
}

TEST(TextureMemory, FitsWhenItsPaddedRowsFit)
{
    struct Case {
        F format;
        int width, height, words;
        bool fits;
    } const cases[] = {
        {F::RGBA16, 32, 64, 512, true}, {F::RGBA16, 64, 64, 1024, false}, {F::RGBA16, 6, 10, 20, true},
        {F::RGBA32, 32, 32, 512, true}, {F::RGBA32, 32, 64, 1024, false}, {F::RGBA32, 6, 2, 8, true},
        {F::CI8, 64, 32, 256, true},    {F::CI8, 64, 64, 512, false},     {F::CI4, 64, 64, 256, true},
        {F::CI4, 128, 64, 512, false},  {F::I4, 128, 64, 512, true},      {F::IA8, 64, 64, 512, true},
        {F::I8, 2048, 1, 256, false},  // longer than a tile can address
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TmemWords(c.format, c.width, c.height), c.words) << TextureFormatName(c.format) << " " << c.width;
        EXPECT_EQ(FitsTmem(c.format, c.width, c.height), c.fits) << TextureFormatName(c.format) << " " << c.width;
    }
}

TEST(TextureMemory, BlockLoadsNeedWholeWordRowsAndACounterThatKeepsUp)
{
    struct Case {
        F format;
        int width, height;
        bool tile;
    } const cases[] = {
        {F::RGBA16, 32, 32, false}, {F::RGBA16, 2, 2, true}, {F::I4, 32, 4, false}, {F::I4, 24, 4, true},
        {F::I8, 12, 4, true},       {F::CI8, 8, 8, false},   {F::RGBA32, 4, 4, false}, {F::RGBA32, 2, 2, true},
        // 11 words a row: dxt 187 runs 9/2048 ahead per row and reaches the next row in the 21st.
        {F::RGBA16, 44, 20, false}, {F::RGBA16, 44, 21, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NeedsTileLoad(c.format, c.width, c.height), c.tile)
            << TextureFormatName(c.format) << " " << c.width << "x" << c.height;
    }
}

TEST(TextureMemory, SizeIsTheLargestThatFitsInTheShapeTheAxesAllow)
{
    struct Case {
        F format;
        int width, height;
        bool clamp;
        int fitWidth, fitHeight;
    } const cases[] = {
        {F::RGBA16, 211, 211, false, 32, 32}, {F::CI8, 211, 211, false, 32, 32},  {F::CI4, 211, 211, false, 64, 64},
        {F::I4, 256, 128, false, 128, 64},    {F::RGBA16, 3, 5, false, 4, 4},     {F::RGBA16, 6, 6, false, 8, 8},
        {F::RGBA16, 3, 5, true, 3, 5},        {F::RGBA16, 100, 100, true, 44, 44}, {F::I4, 33, 20, true, 32, 20},
        {F::I4, 2000, 4, true, 1024, 4},      {F::IA4, 1, 1, false, 2, 1},
    };
    for (const Case& c : cases) {
        const TextureSize size = FitTextureSize(c.format, c.width, c.height, c.clamp, c.clamp);
        EXPECT_EQ(size.width, c.fitWidth) << TextureFormatName(c.format) << " " << c.width << "x" << c.height;
        EXPECT_EQ(size.height, c.fitHeight) << TextureFormatName(c.format) << " " << c.width << "x" << c.height;
    }
}

TEST(ChooseTexture, AutomaticFormatKeepsTheMostDetail)
{
    struct Case {
        const char* what;
        Image image;
        F format;
        int width, height;
    } const cases[] = {
        {"grey", Grey(64, 64, false), F::I8, 64, 64},
        {"wide grey", Grey(128, 64, false), F::I4, 128, 64},
        {"grey with alpha", Grey(32, 64, true), F::IA16, 32, 64},
        {"larger grey with alpha", Grey(64, 64, true), F::IA8, 64, 64},
        {"colour that fits", Colours(32, 32, 1000), F::RGBA16, 32, 32},
        {"16 colours", Colours(64, 64, 16), F::CI4, 64, 64},
        {"17 colours", Colours(64, 64, 17), F::RGBA16, 32, 32},
        {"200 colours: CI8 holds no more texels than RGBA16", Colours(64, 64, 200), F::RGBA16, 32, 32},
    };
    for (const Case& c : cases) {
        TextureChoice choice;
        std::string error;
        ASSERT_TRUE(ChooseTexture(c.image, std::nullopt, false, false, "t.png", choice, error)) << c.what;
        EXPECT_EQ(TextureFormatName(choice.format), std::string(TextureFormatName(c.format))) << c.what;
        EXPECT_EQ(choice.width, c.width) << c.what;
        EXPECT_EQ(choice.height, c.height) << c.what;
    }
}

TEST(ChooseTexture, EachResizeIsOneWarningLine)
{
    struct Case {
        Image image;
        std::optional<F> format;
        bool clamp;
        const char* warning;
    } const cases[] = {
        {Colours(211, 211, 16), F::RGBA16, false,
         "t.png: warning: reduced from 211x211 to 32x32 to fit texture memory as RGBA16; CI4 would fit 64x64"},
        {Colours(3, 5, 15), std::nullopt, false,
         "t.png: warning: resized from 3x5 to 4x4 as RGBA16, since a repeating texture needs power-of-two sizes; "
         "-clamp on would keep 3x5"},
        {Grey(33, 20, false), F::I4, true,
         "t.png: warning: resized from 33x20 to 32x20 as I4, since 4-bit texels need an even width"},
        {Colours(3, 5, 15), std::nullopt, true, ""},
        {Colours(32, 64, 1000), std::nullopt, false, ""},
    };
    for (const Case& c : cases) {
        TextureChoice choice;
        std::string error;
        ASSERT_TRUE(ChooseTexture(c.image, c.format, c.clamp, c.clamp, "t.png", choice, error));
        EXPECT_EQ(choice.warning, c.warning);
    }
}

}
