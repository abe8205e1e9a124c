#include "preview/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

const uint8_t darkTop[3] = {66, 68, 74};
const uint8_t darkBottom[3] = {30, 31, 35};
const uint8_t lightTop[3] = {214, 217, 224};
const uint8_t lightBottom[3] = {160, 164, 172};

// Corners are snapped to 1/16 pixel, as the console's edge walker keeps its coordinates in fixed point, so
// that edge tests are exact: a pixel on an edge two triangles share belongs to exactly one of them.
constexpr int64_t subpixels = 16;

struct FixedPoint {
    int64_t x, y;
};

FixedPoint Snap(const RasterVertex& vertex)
{
    const float limit = 1 << 20;  // far beyond any picture; the camera keeps every corner inside it
    return FixedPoint{int64_t(std::lround(std::min(std::max(vertex.x, -limit), limit) * subpixels)),
                      int64_t(std::lround(std::min(std::max(vertex.y, -limit), limit) * subpixels))};
}

// One edge a -> b of a triangle wound clockwise on the picture (y down): twice the signed area of a, b and a
// point, positive inside. A top edge runs to the right along a row, a left edge runs upward; points exactly on
// them are inside, on the others outside.
struct EdgeFunction {
    EdgeFunction(FixedPoint a, FixedPoint b)
        : stepX(a.y - b.y), stepY(b.x - a.x), origin(a), topOrLeft((a.y == b.y && b.x > a.x) || b.y < a.y)
    {
    }
    int64_t At(int64_t x, int64_t y) const { return stepY * (y - origin.y) + stepX * (x - origin.x); }
    bool Inside(int64_t value) const { return value > 0 || (value == 0 && topOrLeft); }

    int64_t stepX, stepY;  // change per subpixel along x and along y
    FixedPoint origin;
    bool topOrLeft;
};

uint8_t ToByte(float value) { return uint8_t(std::min(std::max(value, 0.0f), 1.0f) * 255.0f + 0.5f); }

// The pixel whose centre is the first at or after the fixed-point coordinate.
int64_t FirstPixel(int64_t coordinate) { return (coordinate - subpixels / 2 + subpixels - 1) / subpixels; }

} // namespace

Rasteriser::Rasteriser(int pictureWidth, int pictureHeight, bool lightBackground)
    : width(std::max(pictureWidth, 1)), height(std::max(pictureHeight, 1)),
      pixels(size_t(width) * size_t(height) * 4), nearest(size_t(width) * size_t(height), 0.0f)
{
    const uint8_t* backgroundTop = lightBackground ? lightTop : darkTop;
    const uint8_t* backgroundBottom = lightBackground ? lightBottom : darkBottom;
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

void Rasteriser::CountCovered(uint64_t& dark, uint64_t& light) const
{
    dark = 0;
    light = 0;
    for (size_t i = 0; i < nearest.size(); ++i) {
        if (nearest[i] > 0.0f) {
            const uint8_t* pixel = pixels.data() + i * 4;
            const unsigned brightness = (unsigned(pixel[0]) * 2 + unsigned(pixel[1]) * 5 + unsigned(pixel[2])) / 8;
            dark += brightness < 90 ? 1 : 0;
            light += brightness > 140 ? 1 : 0;
        }
    }
}

void Rasteriser::Draw(const RasterVertex& v0, const RasterVertex& first, const RasterVertex& second,
                      RenderMode mode, const FragmentShader& shader)
{
    if (!(v0.invDepth > 0 && first.invDepth > 0 && second.invDepth > 0)) {
        return;
    }
    const FixedPoint p0 = Snap(v0), pFirst = Snap(first), pSecond = Snap(second);
    // Counter-clockwise as seen (y up) is clockwise on the picture (y down): a negative area here.
    const int64_t area = -((pFirst.x - p0.x) * (pSecond.y - p0.y) - (pSecond.x - p0.x) * (pFirst.y - p0.y));
    if (area <= 0) {
        return;
    }
    const RasterVertex& v1 = second;  // clockwise on the picture from here on
    const RasterVertex& v2 = first;
    const FixedPoint p1 = pSecond, p2 = pFirst;
    const EdgeFunction edge0(p1, p2), edge1(p2, p0), edge2(p0, p1);

    // Bounds stay well inside int range: Snap limits every coordinate.
    const int minX = int(std::max<int64_t>(0, FirstPixel(std::min({p0.x, p1.x, p2.x}))));
    const int maxX = int(std::min<int64_t>(width - 1, FirstPixel(std::max({p0.x, p1.x, p2.x}) + 1) - 1));
    const int minY = int(std::max<int64_t>(0, FirstPixel(std::min({p0.y, p1.y, p2.y}))));
    const int maxY = int(std::min<int64_t>(height - 1, FirstPixel(std::max({p0.y, p1.y, p2.y}) + 1) - 1));
    if (minX > maxX || minY > maxY) {
        return;
    }
    const float inverseArea = 1.0f / float(area);
    // Texture coordinates over depth interpolate linearly across the picture.
    const float s0 = v0.s * v0.invDepth, s1 = v1.s * v1.invDepth, s2 = v2.s * v2.invDepth;
    const float t0 = v0.t * v0.invDepth, t1 = v1.t * v1.invDepth, t2 = v2.t * v2.invDepth;

    for (int y = minY; y <= maxY; ++y) {
        const int64_t py = int64_t(y) * subpixels + subpixels / 2;
        const int64_t px = int64_t(minX) * subpixels + subpixels / 2;
        int64_t e0 = edge0.At(px, py), e1 = edge1.At(px, py), e2 = edge2.At(px, py);
        bool entered = false;
        for (int x = minX; x <= maxX;
             ++x, e0 += edge0.stepX * subpixels, e1 += edge1.stepX * subpixels, e2 += edge2.stepX * subpixels) {
            if (!edge0.Inside(e0) || !edge1.Inside(e1) || !edge2.Inside(e2)) {
                if (entered) {
                    break;  // a triangle covers one run of each row
                }
                continue;
            }
            entered = true;
            const float w0 = float(e0) * inverseArea, w1 = float(e1) * inverseArea, w2 = float(e2) * inverseArea;
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
