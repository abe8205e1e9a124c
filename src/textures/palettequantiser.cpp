#include "textures/palettequantiser.h"

#include <algorithm>
#include <array>

#include "textures/texelfetch.h"
#include "textures/textureconvert.h"

namespace {

// One RGBA 5-5-5-1 colour of the image: how many pixels have it and the sums of their 8-bit channels, colour
// channels weighted by alpha so that nearly transparent pixels pull an entry little.
struct Bin {
    uint16_t colour = 0;
    uint64_t count = 0;
    uint64_t alphaSum = 0;          // sum of alpha: the weight of the colour sums
    uint64_t colourSums[3] = {0, 0, 0};  // sum of alpha * channel
};

uint16_t ColourOf(const uint8_t* p)
{
    return ToRgba5551(p[0], p[1], p[2], p[3]);
}

// The bins in the order their colours first appear, top row first.
std::vector<Bin> Histogram(const Image& pixels)
{
    std::vector<int32_t> slot(65536, -1);
    std::vector<Bin> bins;
    for (size_t k = 0; k + 3 < pixels.rgba.size(); k += 4) {
        const uint8_t* p = &pixels.rgba[k];
        const uint16_t colour = ColourOf(p);
        if (slot[colour] < 0) {
            slot[colour] = int32_t(bins.size());
            bins.emplace_back();
            bins.back().colour = colour;
        }
        Bin& bin = bins[size_t(slot[colour])];
        ++bin.count;
        bin.alphaSum += p[3];
        for (int c = 0; c < 3; ++c) {
            bin.colourSums[c] += uint64_t(p[3]) * p[c];
        }
    }
    return bins;
}

// A bin's 5-bit channel (red, green, blue) or its alpha bit as a full 5-bit channel.
int Channel(uint16_t colour, int axis)
{
    switch (axis) {
    case 0: return colour >> 11 & 31;
    case 1: return colour >> 6 & 31;
    case 2: return colour >> 1 & 31;
    default: return (colour & 1) * 31;
    }
}

// The RGBA 5-5-5-1 colour nearest to the mean of some bins: alpha-weighted mean colour, the alpha bit of most
// pixels. Bins that are all transparent lend their plain mean colour.
uint16_t MeanColour(const std::vector<const Bin*>& bins)
{
    uint64_t count = 0, weight = 0, opaque = 0;
    uint64_t sums[3] = {0, 0, 0};
    uint64_t plain[3] = {0, 0, 0};
    for (const Bin* bin : bins) {
        count += bin->count;
        weight += bin->alphaSum;
        opaque += (bin->colour & 1) ? bin->count : 0;
        for (int c = 0; c < 3; ++c) {
            sums[c] += bin->colourSums[c];
            plain[c] += uint64_t(Channel(bin->colour, c)) * bin->count;
        }
    }
    uint8_t channel[3];
    for (int c = 0; c < 3; ++c) {
        channel[c] = weight > 0 ? uint8_t((2 * sums[c] + weight) / (2 * weight))
                                : uint8_t(((2 * plain[c] + count) / (2 * count)) * 255 / 31);
    }
    return ToRgba5551(channel[0], channel[1], channel[2], 2 * opaque >= count ? 255 : 0);
}

int Range(const std::vector<const Bin*>& box, int axis)
{
    int low = 31, high = 0;
    for (const Bin* bin : box) {
        low = std::min(low, Channel(bin->colour, axis));
        high = std::max(high, Channel(bin->colour, axis));
    }
    return high - low;
}

std::vector<std::vector<const Bin*>> MedianCut(const std::vector<Bin>& bins, size_t entries)
{
    std::vector<std::vector<const Bin*>> boxes(1);
    for (const Bin& bin : bins) {
        boxes[0].push_back(&bin);
    }
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
        std::vector<const Bin*>& box = boxes[widest];
        std::sort(box.begin(), box.end(), [&](const Bin* a, const Bin* b) {
            const int ca = Channel(a->colour, widestAxis), cb = Channel(b->colour, widestAxis);
            return ca != cb ? ca < cb : a->colour < b->colour;
        });
        uint64_t total = 0;
        for (const Bin* bin : box) {
            total += bin->count;
        }
        size_t split = 1;
        for (uint64_t below = box[0]->count; split + 1 < box.size() && 2 * below < total; ++split) {
            below += box[split]->count;
        }
        std::vector<const Bin*> upper(box.begin() + std::ptrdiff_t(split), box.end());
        box.resize(split);
        boxes.push_back(std::move(upper));
    }
    return boxes;
}

// The bin's mean pixel, the alpha that of its alpha bit's side.
void MeanPixel(const Bin& bin, uint8_t pixel[4])
{
    for (int c = 0; c < 3; ++c) {
        pixel[c] = bin.alphaSum > 0 ? uint8_t((2 * bin.colourSums[c] + bin.alphaSum) / (2 * bin.alphaSum))
                                    : uint8_t(Channel(bin.colour, c) * 255 / 31);
    }
    pixel[3] = uint8_t((2 * bin.alphaSum + bin.count) / (2 * bin.count));
}

constexpr int kMeansPasses = 4;

}

int64_t WeightedDistance(const uint8_t pixel[4], const uint8_t colour[4])
{
    int64_t colourPart = 0;
    for (int c = 0; c < 3; ++c) {
        const int64_t d = int64_t(pixel[c]) - colour[c];
        colourPart += d * d;
    }
    const int64_t alpha = int64_t(pixel[3]) - colour[3];
    return colourPart * pixel[3] + 255 * alpha * alpha;
}

std::vector<uint16_t> QuantisePalette(const Image& pixels, size_t entries)
{
    const std::vector<Bin> bins = Histogram(pixels);
    std::vector<uint16_t> palette;
    if (bins.size() <= entries) {
        for (const Bin& bin : bins) {
            palette.push_back(bin.colour);
        }
        return palette;
    }
    std::vector<std::vector<const Bin*>> boxes = MedianCut(bins, entries);
    for (const std::vector<const Bin*>& box : boxes) {
        palette.push_back(MeanColour(box));
    }
    std::vector<std::array<uint8_t, 4>> means(bins.size());
    for (size_t b = 0; b < bins.size(); ++b) {
        MeanPixel(bins[b], means[b].data());
    }
    for (int pass = 0; pass < kMeansPasses; ++pass) {
        PaletteMatcher nearest(palette);
        std::vector<std::vector<const Bin*>> members(palette.size());
        for (size_t b = 0; b < bins.size(); ++b) {
            members[size_t(nearest(means[b].data()))].push_back(&bins[b]);
        }
        bool moved = false;
        for (size_t e = 0; e < palette.size(); ++e) {
            if (!members[e].empty()) {
                const uint16_t mean = MeanColour(members[e]);
                moved = moved || mean != palette[e];
                palette[e] = mean;
            }
        }
        if (!moved) {
            break;
        }
    }
    return palette;
}

PaletteMatcher::PaletteMatcher(const std::vector<uint16_t>& palette)
    : entries(palette), known(palette.empty() ? 0 : 65536, -1)
{
    for (size_t i = entries.size(); i-- > 0;) {
        known[entries[i]] = int(i);
    }
}

int PaletteMatcher::operator()(const uint8_t pixel[4])
{
    if (entries.empty()) {
        return 0;
    }
    const uint16_t colour = ColourOf(pixel);
    if (known[colour] < 0) {
        int best = 0;
        int64_t bestDistance = -1;
        for (size_t i = 0; i < entries.size(); ++i) {
            const Texel texel = DecodeRgba5551(entries[i]);
            const uint8_t decoded[4] = {texel.r, texel.g, texel.b, texel.a};
            const int64_t distance = WeightedDistance(pixel, decoded);
            if (bestDistance < 0 || distance < bestDistance) {
                best = int(i);
                bestDistance = distance;
            }
        }
        known[colour] = best;
    }
    return known[colour];
}
