#include "textures/alphameaning.h"

#include <cstdio>

#include "diagnostics.h"

AlphaReading ReadAlpha(const Image& image)
{
    AlphaReading reading;
    size_t partly = 0, count = 0;
    bool belowHalf = false;
    for (size_t k = 3; k < image.rgba.size(); k += 4) {
        const uint8_t alpha = image.rgba[k];
        ++count;
        partly += alpha != 0 && alpha != 255 ? 1 : 0;
        belowHalf = belowHalf || alpha < 128;
    }
    reading.partlyTransparent = count > 0 ? double(partly) / double(count) : 0.0;
    if (count > 0 && reading.partlyTransparent >= translucentShare) {
        reading.meaning = AlphaMeaning::Translucent;
    } else {
        reading.meaning = belowHalf ? AlphaMeaning::Cutout : AlphaMeaning::Opaque;
    }
    return reading;
}

Image ApplyAlphaMeaning(const Image& image, AlphaMeaning meaning)
{
    Image meant = image;
    if (meaning == AlphaMeaning::Translucent) {
        return meant;
    }
    for (size_t k = 3; k < meant.rgba.size(); k += 4) {
        meant.rgba[k] = meaning == AlphaMeaning::Opaque || meant.rgba[k] >= 128 ? 255 : 0;
    }
    return meant;
}

std::string AlphaWarning(const AlphaReading& reading, const std::string& fileName)
{
    if (reading.meaning == AlphaMeaning::Translucent || reading.partlyTransparent <= 0.0) {
        return "";
    }
    char share[32];
    std::snprintf(share, sizeof share, "%.1f", reading.partlyTransparent * 100.0);
    return WarningAt(fileName) + "only " + share + " % of the pixels are partly transparent; drawn " +
           (reading.meaning == AlphaMeaning::Opaque ? "opaque" : "cut out at half alpha");
}
