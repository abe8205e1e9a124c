#ifndef POLVANE_FUZZ_TEXTUREHARNESS_H
#define POLVANE_FUZZ_TEXTUREHARNESS_H

// The checks behind the image and texture fuzz targets, shared with the corpus replay test. Each returns an
// empty string when every property holds, otherwise a description of the first one broken.

#include <cstddef>
#include <cstdint>
#include <string>

// Decodes the bytes as an image file, up to 1024x1024 pixels. A decoded image has a size within the limit and all
// its pixels; a refused one gives one of the loader's reasons. Every so often (a property of the input) the bytes
// are also written to scratchFolder and loaded from there, which must give the same result; small images go on
// through the texture checks below.
std::string CheckImageLoader(const uint8_t* data, size_t size, const std::string& scratchFolder);

// Builds a small image from the bytes (width and height up to 128, a format or automatic, clamp flags, grey or
// few colours or raw pixels), then chooses, converts and decodes it: the size fits texture memory, wrapping
// axes are powers of two, 4-bit widths even, the bytes and palette have their lengths, and converting the
// decoded texels again gives the same texels. Automatic choices also go through the chooser by measured quality
// and its quantiser: a texture one load holds, indices inside the palette, and the same bytes on a second run.
std::string CheckTexture(const uint8_t* data, size_t size);

// Builds a tile grid and a triangle from the bytes (any doubles, NaN and huge ones included) and cuts it: a
// triangle cut or refused never hangs; pieces name existing tiles, lie inside their cell once moved into the
// first repeat, and cover the triangle's texture area exactly once. The grid a small image is tiled with fits
// every bordered tile into one load and covers the image.
std::string CheckCutting(const uint8_t* data, size_t size);

#endif
