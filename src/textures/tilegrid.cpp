#include "textures/tilegrid.h"

#include <algorithm>
#include <cstdint>

#include "textures/texturefit.h"

TileGrid ChooseTileGrid(TextureFormat format, int width, int height)
{
    TileGrid best;
    if (width <= 0 || height <= 0 || width > maxTiledSide || height > maxTiledSide) {
        return best;
    }
    const bool fourBit = TexelBits(format) == 4;
    int64_t bestWaste = 0;
    // Every column count, each with the fewest rows whose tiles still fit: the tile width is the image's width
    // shared out (rounded up, and to even for 4-bit texels), the height the most that fits beside it.
    for (int columns = 1; columns <= width; ++columns) {
        int tileWidth = (width + columns - 1) / columns;
        if (fourBit && tileWidth % 2 != 0) {
            ++tileWidth;
        }
        if ((width + tileWidth - 1) / tileWidth != columns) {
            continue;  // the same tile width as a smaller column count
        }
        int tallest = 0;
        for (int h = 1; h <= height && FitsTmem(format, tileWidth + 2, h + 2); ++h) {
            tallest = h;
        }
        if (tallest == 0) {
            continue;  // too wide for even one row: more columns make the tiles narrower
        }
        const int rows = (height + tallest - 1) / tallest;
        const int tileHeight = (height + rows - 1) / rows;
        const int64_t waste = int64_t(columns) * tileWidth * rows * tileHeight - int64_t(width) * height;
        const int64_t tiles = int64_t(columns) * rows;
        const int64_t bestTiles = int64_t(best.columns) * best.rows;
        // Of equal counts, the squarer tiles: fewer grid lines cross the mesh, so cutting adds fewer triangles.
        const int around = tileWidth + tileHeight, bestAround = best.width + best.height;
        if (best.columns == 0 || tiles < bestTiles ||
            (tiles == bestTiles && (around < bestAround || (around == bestAround && waste < bestWaste)))) {
            best = TileGrid{columns, rows, tileWidth, tileHeight};
            bestWaste = waste;
        }
    }
    return best;
}

TileRectangle TileRectangleOf(const TileGrid& grid, int imageWidth, int imageHeight, int tile)
{
    TileRectangle rectangle;
    if (grid.columns <= 0 || grid.rows <= 0 || tile < 0 || tile >= grid.columns * grid.rows) {
        return rectangle;
    }
    const int column = tile % grid.columns, row = tile / grid.columns;
    // In the framed image the tile's first texel sits at column * width + 1; its border one before it.
    rectangle.left = column * grid.width;
    rectangle.top = row * grid.height;
    rectangle.right = std::min((column + 1) * grid.width, imageWidth) + 1;
    rectangle.bottom = std::min((row + 1) * grid.height, imageHeight) + 1;
    return rectangle;
}

Image FramedImage(const Image& image, bool clampS, bool clampT)
{
    Image framed;
    if (image.width <= 0 || image.height <= 0) {
        return framed;
    }
    framed.width = image.width + 2;
    framed.height = image.height + 2;
    framed.rgba.resize(size_t(framed.width) * size_t(framed.height) * 4);
    const auto source = [](int k, int size, bool clamp) {
        if (k < 0) {
            return clamp ? 0 : size - 1;
        }
        if (k >= size) {
            return clamp ? size - 1 : 0;
        }
        return k;
    };
    for (int y = 0; y < framed.height; ++y) {
        const int sy = source(y - 1, image.height, clampT);
        for (int x = 0; x < framed.width; ++x) {
            const int sx = source(x - 1, image.width, clampS);
            std::copy_n(&image.rgba[(size_t(sy) * size_t(image.width) + size_t(sx)) * 4], 4,
                        &framed.rgba[(size_t(y) * size_t(framed.width) + size_t(x)) * 4]);
        }
    }
    return framed;
}
