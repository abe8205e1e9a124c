#ifndef POLVANE_PALETTEQUANTISER_H
#define POLVANE_PALETTEQUANTISER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "textures/image.h"

// How far a pixel is from a colour as the console shows it: the squared differences of red, green and blue
// weighted by the pixel's alpha (alpha / 255), plus the squared difference of alpha; scaled by 255 to stay whole.
int64_t WeightedDistance(const uint8_t pixel[4], const uint8_t colour[4]);

// A palette of at most `entries` RGBA 5-5-5-1 colours for the pixels. When their colours fit, each once in the
// order they first appear, top row first. Otherwise median cut (the box of colours spread widest along one
// channel is split at its median pixel) followed by a few k-means passes that move each entry to the mean of
// the pixels nearest to it. Works on the pixels' RGBA 5-5-5-1 histogram, so its memory is bounded whatever the
// image, and the same pixels always give the same palette.
std::vector<uint16_t> QuantisePalette(const Image& pixels, size_t entries);

// The entry of a palette nearest to a pixel by WeightedDistance (the first of equals), remembered per RGBA
// 5-5-5-1 colour.
class PaletteMatcher {
public:
    explicit PaletteMatcher(const std::vector<uint16_t>& palette);
    int operator()(const uint8_t pixel[4]);

private:
    std::vector<uint16_t> entries;
    std::vector<int> known;
};

#endif
