#include "textures/textureconvert.h"

#include <algorithm>
#include <vector>

#include "diagnostics.h"
#include "textures/palettequantiser.h"
#include "textures/texelfetch.h"

namespace {

// round(value * levels / 255); value * levels / 255 is never halfway for the odd level counts used here.
int Quantise(uint8_t value, int levels)
{
    return (value * levels + 127) / 255;
}

int Log2(int n)
{
    int log = 0;
    while ((1 << (log + 1)) <= n) {
        ++log;
    }
    return log;
}

void PutNibble(std::vector<uint8_t>& bytes, size_t texel, int value)
{
    bytes[texel / 2] = uint8_t(bytes[texel / 2] | (texel % 2 == 0 ? value << 4 : value));
}

}

uint16_t ToRgba5551(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    return uint16_t(Quantise(red, 31) << 11 | Quantise(green, 31) << 6 | Quantise(blue, 31) << 1 |
                    (alpha >= 128 ? 1 : 0));
}

uint8_t Luminance(uint8_t red, uint8_t green, uint8_t blue)
{
    return uint8_t((54 * red + 183 * green + 19 * blue + 128) >> 8);
}

size_t CountRgba5551Colours(const Image& image)
{
    std::vector<bool> seen(65536, false);
    size_t count = 0;
    for (size_t k = 0; k + 3 < image.rgba.size(); k += 4) {
        const uint16_t colour = ToRgba5551(image.rgba[k], image.rgba[k + 1], image.rgba[k + 2], image.rgba[k + 3]);
        if (!seen[colour]) {
            seen[colour] = true;
            ++count;
        }
    }
    return count;
}

void ConvertTexture(const Image& image, const TextureChoice& choice, bool clampS, bool clampT,
                    const std::string& fileName, TexturePlan& plan, std::string& warning)
{
    ConvertResizedTexture(image, CountRgba5551Colours(image),
                          ResizeImage(image, choice.width, choice.height, !clampS, !clampT), choice, clampS, clampT,
                          fileName, plan, warning);
}

void ConvertResizedTexture(const Image& image, size_t colours, const Image& pixels, const TextureChoice& choice,
                           bool clampS, bool clampT, const std::string& fileName, TexturePlan& plan,
                           std::string& warning)
{
    const TextureFormat format = choice.format;
    const int width = choice.width, height = choice.height;
    warning.clear();
    plan.format = format;
    plan.width = width;
    plan.height = height;
    plan.clampS = clampS;
    plan.clampT = clampT;
    plan.mirrorS = plan.mirrorT = false;
    plan.maskS = clampS ? 0 : Log2(width);
    plan.maskT = clampT ? 0 : Log2(height);
    plan.loadAsTile = NeedsTileLoad(format, width, height);
    plan.palette.clear();

    if (IsColourIndexed(format)) {
        // The image's own colours when they fit, else a palette fitted to the texels as stored.
        const size_t entries = format == TextureFormat::CI4 ? 16 : 256;
        plan.palette = QuantisePalette(colours <= entries ? image : pixels, entries);
        if (colours > entries) {
            warning = WarningAt(fileName) + std::to_string(colours) + " colours quantised to " +
                      std::to_string(plan.palette.size()) + " for " + TextureFormatName(format);
        }
    }

    const size_t count = size_t(width) * size_t(height);
    std::vector<uint8_t>& bytes = plan.texels;
    bytes.assign((count * size_t(TexelBits(format)) + 63) / 64 * 8, 0);
    PaletteMatcher index(plan.palette);
    for (size_t k = 0; k < count; ++k) {
        const uint8_t* p = &pixels.rgba[4 * k];
        const uint8_t intensity = Luminance(p[0], p[1], p[2]);
        switch (format) {
        case TextureFormat::RGBA16: {
            const uint16_t texel = ToRgba5551(p[0], p[1], p[2], p[3]);
            bytes[2 * k] = uint8_t(texel >> 8);
            bytes[2 * k + 1] = uint8_t(texel);
            break;
        }
        case TextureFormat::RGBA32: std::copy(p, p + 4, &bytes[4 * k]); break;
        case TextureFormat::IA16:
            bytes[2 * k] = intensity;
            bytes[2 * k + 1] = p[3];
            break;
        case TextureFormat::IA8: bytes[k] = uint8_t(Quantise(intensity, 15) << 4 | Quantise(p[3], 15)); break;
        case TextureFormat::IA4: PutNibble(bytes, k, Quantise(intensity, 7) << 1 | (p[3] >= 128 ? 1 : 0)); break;
        case TextureFormat::I8: bytes[k] = intensity; break;
        case TextureFormat::I4: PutNibble(bytes, k, Quantise(intensity, 15)); break;
        case TextureFormat::CI8: bytes[k] = uint8_t(index(p)); break;
        case TextureFormat::CI4: PutNibble(bytes, k, index(p)); break;
        }
    }
    if (format == TextureFormat::CI4) {
        plan.palette.resize(16, 0);  // a 16-colour palette is loaded whole
    }
}

Image DecodeTexture(const TexturePlan& plan)
{
    Image image;
    image.width = std::max(plan.width, 0);
    image.height = std::max(plan.height, 0);
    image.rgba.reserve(size_t(image.width) * size_t(image.height) * 4);
    for (int t = 0; t < image.height; ++t) {
        for (int s = 0; s < image.width; ++s) {
            const Texel texel = FetchTexel(plan, &plan.palette, s, t);
            image.rgba.insert(image.rgba.end(), {texel.r, texel.g, texel.b, texel.a});
        }
    }
    return image;
}

TextureAlpha AlphaOf(const TexturePlan& plan)
{
    if (plan.format == TextureFormat::I8 || plan.format == TextureFormat::I4) {
        return TextureAlpha::Opaque;
    }
    const Image image = DecodeTexture(plan);
    TextureAlpha alpha = TextureAlpha::Opaque;
    for (size_t k = 3; k < image.rgba.size(); k += 4) {
        if (image.rgba[k] != 0 && image.rgba[k] != 255) {
            return TextureAlpha::Translucent;
        }
        if (image.rgba[k] == 0) {
            alpha = TextureAlpha::Cutout;
        }
    }
    return alpha;
}
