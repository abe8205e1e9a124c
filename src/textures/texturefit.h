#ifndef POLVANE_TEXTUREFIT_H
#define POLVANE_TEXTUREFIT_H

#include <optional>
#include <string>

#include "console/textureformat.h"
#include "textures/image.h"

// Texture memory: 4 KB in 64-bit words. Colour-indexed texels may use only the lower half; the palette lives in
// the upper one.
constexpr int tmemWordCount = 512;
// The longest side a tile can address and the longest period it can repeat.
constexpr int maxTextureSide = 1024;

// Words a width x height texture takes, each row padded to whole words. RGBA32 keeps red and green in the lower
// half and blue and alpha in the upper one, 16 bits per texel in each.
int TmemWords(TextureFormat format, int width, int height);
int TmemWordLimit(TextureFormat format);
bool FitsTmem(TextureFormat format, int width, int height);
// A block load needs rows of whole 64-bit words, and a line counter (1.11 fixed point per word) that does not
// drift into the next row before the last one; otherwise the texture is loaded as a tile.
bool NeedsTileLoad(TextureFormat format, int width, int height);

struct TextureSize {
    int width = 0;
    int height = 0;
};
inline bool operator==(const TextureSize& a, const TextureSize& b)
{
    return a.width == b.width && a.height == b.height;
}

// The size before texture memory is considered: the nearest power of two on a wrapping axis (ties go up), an even
// width for 4-bit texels.
TextureSize ShapedTextureSize(TextureFormat format, int width, int height, bool clampS, bool clampT);

// The size a width x height image takes in this format: a wrapping axis goes to the nearest power of two (ties
// go up), a clamped one keeps its size, a 4-bit width becomes even; then, when that does not fit texture memory
// or exceeds maxTextureSide, the largest size below it that fits, its aspect ratio kept as far as the powers of
// two allow. With a side budget (above 0) the size has to fit budget x budget texels instead of texture memory.
TextureSize FitTextureSize(TextureFormat format, int width, int height, bool clampS, bool clampT, int budget = 0);

// True when every pixel's red, green and blue are equal.
bool IsGrey(const Image& image);

struct TextureChoice {
    TextureFormat format = TextureFormat::RGBA16;
    int width = 0;
    int height = 0;
    std::string warning;  // one line, "<file>: warning: ...", when the image is resized; empty otherwise
};

// Picks the format (forced, or automatically when forced is empty) and the size the image is converted at.
// fileName is named in the warning and the error. False, with an error line, for an image without pixels.
// With a side budget (above 0) the format is the one a single load would take and the size fits budget x
// budget texels instead (the caller then draws it in tiles; no warning is made).
bool ChooseTexture(const Image& image, std::optional<TextureFormat> forced, bool clampS, bool clampT,
                   const std::string& fileName, TextureChoice& choice, std::string& error, int budget = 0);

#endif
