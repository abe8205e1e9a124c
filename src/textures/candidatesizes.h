#ifndef POLVANE_CANDIDATESIZES_H
#define POLVANE_CANDIDATESIZES_H

#include <vector>

#include "textures/texturefit.h"

// The sizes worth trying for a width x height image in a format: those with the most texels that one load of
// texture memory holds, never larger on an axis than ShapedTextureSize, a power of two on a wrapping axis and any
// size on a clamped one, their aspect ratio within 2:1 of the image's. The one closest to the image's aspect
// comes first, then at most one other of the same texel count, then FitTextureSize's size when it differs.
std::vector<TextureSize> CandidateSizes(TextureFormat format, int width, int height, bool clampS, bool clampT);

#endif
