#ifndef POLVANE_TEXTURESCORE_H
#define POLVANE_TEXTURESCORE_H

#include "console/consoleplan.h"
#include "textures/image.h"

// How far a texture, as the console stores it, is from the image it was made of: its texels decoded, filtered
// bilinearly to the image's size as the texture unit filters them (texel centres half a texel in, a wrapping axis
// filtered across its edge, a clamped one held at it), then the mean squared error over red, green, blue and
// alpha in 8-bit values, each pixel's colour weighted by its alpha (alpha / 255). Formats without alpha (I4, I8)
// count as opaque. Negative when there is nothing to measure: no pixels, or every pixel transparent. A frame
// of texels around the stored texture (a tiled texture's, which only its tiles' borders read) is no part of it.
double TextureError(const TexturePlan& texture, const Image& image, int frame = 0);

// Peak signal-to-noise ratio in dB of a mean squared error in 8-bit values; a perfect copy reads 99 dB.
double Psnr(double meanSquaredError);

#endif
