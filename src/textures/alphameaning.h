#ifndef POLVANE_ALPHAMEANING_H
#define POLVANE_ALPHAMEANING_H

#include <string>

#include "textures/image.h"

// What an image's alpha is for. Translucent when at least translucentShare of its pixels are partly transparent
// (alpha 1 to 254): enough of it is meant to be seen through. Otherwise a few soft pixels (an antialiased edge,
// a faded border) do not make the whole surface translucent: cut out when some pixel is less than half opaque,
// opaque when none is.
enum class AlphaMeaning { Opaque, Cutout, Translucent };

constexpr double translucentShare = 0.05;

struct AlphaReading {
    AlphaMeaning meaning = AlphaMeaning::Opaque;
    double partlyTransparent = 0.0;  // share of the pixels with alpha 1 to 254
};

AlphaReading ReadAlpha(const Image& image);

// The image as its alpha's meaning draws it: all opaque, cut out at alpha 128 (0 or 255), or unchanged.
Image ApplyAlphaMeaning(const Image& image, AlphaMeaning meaning);

// "<file>: warning: ..." when partly transparent pixels were made opaque or cut out; empty otherwise.
std::string AlphaWarning(const AlphaReading& reading, const std::string& fileName);

#endif
