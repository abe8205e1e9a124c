#include "textures/textureconvert.h"

#include <algorithm>
#include <vector>

#include "diagnostics.h"
#include "textures/texelfetch.h"

namespace {

// round(value * levels / 255); value * levels / 255 is never halfway for the odd level counts used here.
int Quantise(uint8_t value, int levels)
{
    return (value * levels + 127) / 255;
}

// Channel axis of an RGBA 5-5-5-1 colour: red, green, blue, and the alpha bit weighted as a full channel.
int Channel(uint16_t colour, int axis)
{
    switch (axis) {
    case 0: return colour >> 11 & 31;
    case 1: return colour >> 6 & 31;
    case 2: return colour >> 1 & 31;
    default: return (colour & 1) * 31;
    }
}

int Distance(uint16_t a, uint16_t b)
{
    int sum = 0;
    for (int axis = 0; axis < 4; ++axis) {
        const int d = Channel(a, axis) - Channel(b, axis);
        sum += d * d;
    }
    return sum;
}

struct ColourCount {
    uint16_t colour;
    uint32_t count;
};

// The image's RGBA 5-5-5-1 colours in the order they first appear, top row first, with their pixel counts.
std::vector<ColourCount> Histogram(const Image& image)
{
    std::vector<int32_t> slot(65536, -1);
    std::vector<ColourCount> colours;
    for (size_t k = 0; k + 3 < image.rgba.size(); k += 4) {
        const uint16_t colour = ToRgba5551(image.rgba[k], image.rgba[k + 1], image.rgba[k + 2], image.rgba[k + 3]);
        if (slot[colour] < 0) {
            slot[colour] = int32_t(colours.size());
            colours.push_back({colour, 0});
        }
        ++colours[size_t(slot[colour])].count;
    }
    return colours;
}

int Range(const std::vector<ColourCount>& box, int axis)
{
    int low = 31, high = 0;
    for (const ColourCount& c : box) {
        low = std::min(low, Channel(c.colour, axis));
        high = std::max(high, Channel(c.colour, axis));
    }
    return high - low;
}

// The pixel-weighted mean colour of a box; its alpha bit is the one most of its pixels have.
uint16_t MeanColour(const std::vector<ColourCount>& box)
{
    uint64_t total = 0, sums[4] = {0, 0, 0, 0};
    for (const ColourCount& c : box) {
        total += c.count;
        for (int axis = 0; axis < 3; ++axis) {
            sums[axis] += uint64_t(Channel(c.colour, axis)) * c.count;
        }
        sums[3] += (c.colour & 1) * c.count;
    }
    const auto mean = [&](int axis) { return uint16_t((2 * sums[axis] + total) / (2 * total)); };
    return uint16_t(mean(0) << 11 | mean(1) << 6 | mean(2) << 1 | (2 * sums[3] >= total ? 1 : 0));
}

// Median cut: the box whose colours spread widest along one channel is split where half its pixels lie on
// either side, until there are as many boxes as entries; each box gives its mean colour.
std::vector<uint16_t> MedianCut(const std::vector<ColourCount>& colours, size_t entries)
{
    std::vector<std::vector<ColourCount>> boxes = {colours};
    while (boxes.size() < entries) {
        size_t widest = 0;
        int widestAxis = 0, widestRange = 0;
        for (size_t b = 0; b < boxes.size(); ++b) {
            for (int axis = 0; axis < 4; ++axis) {
                const int range = Range(boxes[b], axis);
                if (range > widestRange) {
                    widest = b;
                    widestAxis = axis;
                    widestRange = range;
                }
            }
        }
        if (widestRange == 0) {
            break;  // every box holds one colour
        }
        std::vector<ColourCount>& box = boxes[widest];
        std::sort(box.begin(), box.end(), [&](const ColourCount& a, const ColourCount& b) {
            const int ca = Channel(a.colour, widestAxis), cb = Channel(b.colour, widestAxis);
            return ca != cb ? ca < cb : a.colour < b.colour;
        });
        uint64_t total = 0;
        for (const ColourCount& c : box) {
            total += c.count;
        }
        size_t split = 1;
        for (uint64_t below = box[0].count; split + 1 < box.size() && 2 * below < total; ++split) {
            below += box[split].count;
        }
        std::vector<ColourCount> upper(box.begin() + std::ptrdiff_t(split), box.end());
        box.resize(split);
        boxes.push_back(std::move(upper));
    }
    std::vector<uint16_t> palette;
    for (const std::vector<ColourCount>& box : boxes) {
        palette.push_back(MeanColour(box));
    }
    return palette;
}

// Index of the palette entry nearest to each colour, remembered once found.
class PaletteIndex {
public:
    explicit PaletteIndex(const std::vector<uint16_t>& entries)
        : palette(entries), known(entries.empty() ? 0 : 65536, -1)
    {
        for (size_t i = palette.size(); i-- > 0;) {
            known[palette[i]] = int(i);
        }
    }

    int operator()(uint16_t colour)
    {
        if (known[colour] < 0) {
            int best = 0;
            for (size_t i = 1; i < palette.size(); ++i) {
                if (Distance(colour, palette[i]) < Distance(colour, palette[size_t(best)])) {
                    best = int(i);
                }
            }
            known[colour] = best;
        }
        return known[colour];
    }

private:
    const std::vector<uint16_t>& palette;
    std::vector<int> known;
};

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
        const size_t entries = format == TextureFormat::CI4 ? 16 : 256;
        const std::vector<ColourCount> colours = Histogram(image);
        if (colours.size() <= entries) {
            for (const ColourCount& c : colours) {
                plan.palette.push_back(c.colour);
            }
        } else {
            plan.palette = MedianCut(colours, entries);
            warning = WarningAt(fileName) + std::to_string(colours.size()) + " colours quantised to " +
                      std::to_string(plan.palette.size()) + " for " + TextureFormatName(format);
        }
    }

    const Image pixels = ResizeImage(image, width, height, !clampS, !clampT);
    const size_t count = size_t(width) * size_t(height);
    std::vector<uint8_t>& bytes = plan.texels;
    bytes.assign((count * size_t(TexelBits(format)) + 63) / 64 * 8, 0);
    PaletteIndex index(plan.palette);
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
        case TextureFormat::CI8: bytes[k] = uint8_t(index(ToRgba5551(p[0], p[1], p[2], p[3]))); break;
        case TextureFormat::CI4: PutNibble(bytes, k, index(ToRgba5551(p[0], p[1], p[2], p[3]))); break;
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
