#ifndef POLVANE_RASTERISER_H
#define POLVANE_RASTERISER_H

#include <cstdint>
#include <vector>

#include "console/consoleplan.h"

// A triangle corner on the picture: x right and y down in pixels, the inverse of its depth (larger is nearer),
// its texture coordinate in 1/32 texels and its shade, 0 to 1 per channel.
struct RasterVertex {
    float x, y, invDepth;
    float s, t;
    float shade[4];
};

// Colours one pixel of a triangle from its texture coordinate (interpolated with perspective) and its shade
// (interpolated across the picture, as the console's Gouraud shading does).
class FragmentShader {
public:
    virtual ~FragmentShader() = default;
    virtual void Shade(float s, float t, const float shade[4], float colour[4]) const = 0;
};

// A picture with a depth buffer, cleared to a dark grey gradient (or a light one), drawn into triangle by triangle.
class Rasteriser {
public:
    Rasteriser(int width, int height, bool lightBackground = false);

    // Of the pixels the model covers with depth, how many are dark (as dark as the dark background) and how many
    // light (as light as the light one).
    void CountCovered(uint64_t& dark, uint64_t& light) const;

    // Draws the triangle when its corners run counter-clockwise on the picture (back faces are culled, and a
    // triangle without area draws nothing). Pixels whose centres lie inside are drawn, the top and left edges
    // included, when nearer than what is there. Opaque: colour and depth written; Cutout: the same, pixels of
    // alpha below one half left out; Translucent: blended over by alpha, depth kept.
    void Draw(const RasterVertex& v0, const RasterVertex& v1, const RasterVertex& v2, RenderMode mode,
              const FragmentShader& shader);

    // RGBA, 8 bits per channel, top row first.
    const std::vector<uint8_t>& Pixels() const { return pixels; }
    std::vector<uint8_t> TakePixels() { return std::move(pixels); }

private:
    int width, height;
    std::vector<uint8_t> pixels;
    std::vector<float> nearest;  // inverse depth of what each pixel shows; 0 for the background
};

#endif
