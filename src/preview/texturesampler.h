#ifndef POLVANE_TEXTURESAMPLER_H
#define POLVANE_TEXTURESAMPLER_H

#include <cstdint>
#include <vector>

#include "console/consoleplan.h"
#include "textures/texelfetch.h"
#include "textures/tilegrid.h"

// Samples the texture at s, t in 1/32 texels (10.5 fixed point) as the console's bilinear filter does: texel
// centres lie on whole coordinates, and of the four texels around the point the three nearest it (the triangle
// chosen by whether the fractions add up to a whole texel) are blended. Each axis first clamps (clamp on, or
// mask 0) to the texture's size, then wraps at 2^mask texels, mirrored every other period when the tile says so.
// With a tile, the tile holds only that rectangle of the texture and clamps at its edges.
Texel SampleTexture(const TexturePlan& texture, const std::vector<uint16_t>* palette, int32_t s, int32_t t,
                    const TileRectangle* tile = nullptr);

#endif
