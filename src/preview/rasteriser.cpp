#include "preview/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const uint8_t backgroundTop[3] = {66, 68, 74};
const uint8_t backgroundBottom[3] = {30, 31, 35};

// Twice the signed area of a, b, p: positive when p lies to the inside of the edge a -> b for a triangle
// wound clockwise on the picture (y down).
float Edge(const RasterVertex& a, const RasterVertex& b, float px, float py)
{
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

// A top edge runs to the right along a row; a left edge runs upward.
bool TopOrLeft(const RasterVertex& a, const RasterVertex& b)
{
    return (a.y == b.y && b.x > a.x) || b.y < a.y;
}

bool Inside(float edge, bool topOrLeft) { return edge > 0 || (edge == 0 && topOrLeft); }

uint8_t ToByte(float value) { return uint8_t(std::min(std::max(value, 0.0f), 1.0f) * 255.0f + 0.5f); }

int PixelIndex(float coordinate, int limit)
{
    return int(std::min(std::max(coordinate, -1.0f), float(limit)));
}

} // namespace

Rasteriser::Rasteriser(int pictureWidth, int pictureHeight)
    : width(std::max(pictureWidth, 1)), height(std::max(pictureHeight, 1)),
      pixels(size_t(width) * size_t(height) * 4), nearest(size_t(width) * size_t(height), 0.0f)
{
    for (int y = 0; y < height; ++y) {
        const float along = height > 1 ? float(y) / float(height - 1) : 0.0f;
        uint8_t colour[4] = {0, 0, 0, 255};
        for (int c = 0; c < 3; ++c) {
            colour[c] = uint8_t(backgroundTop[c] + (backgroundBottom[c] - backgroundTop[c]) * along + 0.5f);
        }
        uint8_t* row = pixels.data() + size_t(y) * size_t(width) * 4;
        for (int x = 0; x < width; ++x) {
            std::copy(colour, colour + 4, row + size_t(x) * 4);
        }
    }
}

void Rasteriser::Draw(const RasterVertex& v0, const RasterVertex& first, const RasterVertex& second,
                      RenderMode mode, const FragmentShader& shader)
{
    if (!(v0.invDepth > 0 && first.invDepth > 0 && second.invDepth > 0)) {
        return;
    }
    // Counter-clockwise as seen (y up) is clockwise on the picture (y down): a negative area here.
    const float area = -((first.x - v0.x) * (second.y - v0.y) - (second.x - v0.x) * (first.y - v0.y));
    if (!(area > 0)) {
        return;
    }
    const RasterVertex& v1 = second;  // clockwise on the picture from here on
    const RasterVertex& v2 = first;

    const int minX = std::max(0, PixelIndex(std::floor(std::min({v0.x, v1.x, v2.x}) - 0.5f), width));
    const int maxX = std::min(width - 1, PixelIndex(std::ceil(std::max({v0.x, v1.x, v2.x}) - 0.5f), width));
    const int minY = std::max(0, PixelIndex(std::floor(std::min({v0.y, v1.y, v2.y}) - 0.5f), height));
    const int maxY = std::min(height - 1, PixelIndex(std::ceil(std::max({v0.y, v1.y, v2.y}) - 0.5f), height));
    if (minX > maxX || minY > maxY) {
        return;
    }
    const bool edge0TopLeft = TopOrLeft(v1, v2), edge1TopLeft = TopOrLeft(v2, v0), edge2TopLeft = TopOrLeft(v0, v1);
    const float inverseArea = 1.0f / area;
    // Texture coordinates over depth interpolate linearly across the picture.
    const float s0 = v0.s * v0.invDepth, s1 = v1.s * v1.invDepth, s2 = v2.s * v2.invDepth;
    const float t0 = v0.t * v0.invDepth, t1 = v1.t * v1.invDepth, t2 = v2.t * v2.invDepth;

    for (int y = minY; y <= maxY; ++y) {
        const float py = float(y) + 0.5f;
        for (int x = minX; x <= maxX; ++x) {
            const float px = float(x) + 0.5f;
            const float e0 = Edge(v1, v2, px, py), e1 = Edge(v2, v0, px, py), e2 = Edge(v0, v1, px, py);
            if (!Inside(e0, edge0TopLeft) || !Inside(e1, edge1TopLeft) || !Inside(e2, edge2TopLeft)) {
                continue;
            }
            const float w0 = e0 * inverseArea, w1 = e1 * inverseArea, w2 = e2 * inverseArea;
            const float invDepth = w0 * v0.invDepth + w1 * v1.invDepth + w2 * v2.invDepth;
            const size_t at = size_t(y) * size_t(width) + size_t(x);
            if (!(invDepth > nearest[at])) {
                continue;
            }
            const float s = (w0 * s0 + w1 * s1 + w2 * s2) / invDepth;
            const float t = (w0 * t0 + w1 * t1 + w2 * t2) / invDepth;
            float shade[4];
            for (int c = 0; c < 4; ++c) {
                shade[c] = w0 * v0.shade[c] + w1 * v1.shade[c] + w2 * v2.shade[c];
            }
            float colour[4];
            shader.Shade(s, t, shade, colour);
            uint8_t* pixel = pixels.data() + at * 4;
            if (mode == RenderMode::Translucent) {
                const float alpha = std::min(std::max(colour[3], 0.0f), 1.0f);
                for (int c = 0; c < 3; ++c) {
                    pixel[c] = ToByte(colour[c] * alpha + pixel[c] / 255.0f * (1 - alpha));
                }
                continue;
            }
            if (mode == RenderMode::Cutout && colour[3] < 0.5f) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                pixel[c] = ToByte(colour[c]);
            }
            nearest[at] = invDepth;
        }
    }
}
