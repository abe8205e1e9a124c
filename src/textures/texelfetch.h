#ifndef POLVANE_TEXELFETCH_H
#define POLVANE_TEXELFETCH_H

#include <cstdint>
#include <vector>

#include "console/consoleplan.h"

// One texel as the texture unit hands it to the combiner, 0 to 255 per channel.
struct Texel {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

// An RGBA 5-5-5-1 value (texel or palette entry) widened to 8 bits per channel.
Texel DecodeRgba5551(uint16_t value);

// The texel at column s, row t of the texture's console bytes (big-endian, rows of (width * bits + 7) / 8
// bytes). Intensity formats give the intensity as alpha too. A colour-indexed texel is looked up in `palette`
// when one is given (an index past its end reads as zero) and reads as an intensity otherwise, as texture
// memory without a lookup table would. Anything past the end of the bytes reads as zero.
Texel FetchTexel(const TexturePlan& texture, const std::vector<uint16_t>* palette, int s, int t);

#endif
