#ifndef POLVANE_TEXTURECONVERT_H
#define POLVANE_TEXTURECONVERT_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "console/consoleplan.h"
#include "textures/image.h"
#include "textures/texturefit.h"

// One pixel as an RGBA 5-5-5-1 texel: each colour round(c * 31 / 255), the alpha bit set from 128 on.
uint16_t ToRgba5551(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
// Intensity of the intensity formats: Rec. 709 luminance, (54 R + 183 G + 19 B) / 256 rounded, so grey stays.
uint8_t Luminance(uint8_t red, uint8_t green, uint8_t blue);
// The distinct colours of the image once converted to RGBA 5-5-5-1.
size_t CountRgba5551Colours(const Image& image);

// Fills plan (all but its name) with the image resized to choice's size (wrapping axes filtered across their
// edges) and converted to choice's format. A palette format gets the image's colours in the order they first
// appear, top row first; when there are more than it holds, a palette quantised from the resized texels
// (QuantisePalette) and warning is one line, "<file>: warning: ..." (empty otherwise).
void ConvertTexture(const Image& image, const TextureChoice& choice, bool clampS, bool clampT,
                    const std::string& fileName, TexturePlan& plan, std::string& warning);
// The same with the image already resized to choice's size (pixels), so that formats of one size share a resize;
// colours is CountRgba5551Colours(image).
void ConvertResizedTexture(const Image& image, size_t colours, const Image& pixels, const TextureChoice& choice,
                           bool clampS, bool clampT, const std::string& fileName, TexturePlan& plan,
                           std::string& warning);

// The texels as the console's texture unit reads them, widened to 8 bits per channel the way it widens them.
// Intensity formats give grey with the intensity as alpha (I) or their own alpha (IA).
Image DecodeTexture(const TexturePlan& plan);

// How the texture's alpha draws: all opaque, one bit (cut out) or graded (translucent). Intensity formats
// without alpha (I4, I8) count as opaque: their alpha only repeats the intensity.
enum class TextureAlpha { Opaque, Cutout, Translucent };
TextureAlpha AlphaOf(const TexturePlan& plan);

#endif
