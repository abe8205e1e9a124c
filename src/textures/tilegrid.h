#ifndef POLVANE_TILEGRID_H
#define POLVANE_TILEGRID_H

#include "console/consoleplan.h"
#include "console/textureformat.h"
#include "textures/image.h"

// The longest side a tiled image keeps: its frame's far texel has to lie below texel 1024, which neither a
// tile's corner (10.2 fixed point) nor a vertex's texture coordinate (10.5) can reach.
constexpr int maxTiledSide = 1022;

// The grid of equal tiles that draws a width x height image (its frame not counted) with the fewest loads:
// each tile with a one-texel border on every side fits one load of texture memory (the lower half for
// colour-indexed texels); a 4-bit tile has an even width. Of the grids with the fewest tiles, the one with the
// squarest tiles (the least width + height), then the one wasting the fewest texels past the image's edge. A grid with no columns when the image is empty or no tile fits.
TileGrid ChooseTileGrid(TextureFormat format, int width, int height);

// A texture's tile as its load names it: texels left to right inclusive, in the framed image.
struct TileRectangle {
    int left = 0, top = 0, right = 0, bottom = 0;
};
TileRectangle TileRectangleOf(const TileGrid& grid, int imageWidth, int imageHeight, int tile);

// The image with a one-texel frame: each side gets the opposite edge's texels where the axis wraps and its own
// edge's where it clamps.
Image FramedImage(const Image& image, bool clampS, bool clampT);

#endif
