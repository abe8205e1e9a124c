#include "preview/texturesampler.h"

#include <algorithm>

namespace {

// How one axis of the tile turns a coordinate into a texel number.
struct TileAxis {
    int size;
    bool clamp;
    bool mirror;
    int mask;
    int origin = 0;  // the texel the tile starts at

    // Clamps the whole-texel part and its fraction (clamping zeroes the fraction, so the edge texel is not
    // blended with its neighbour).
    void ClampCoordinate(int32_t& whole, int32_t& fraction) const
    {
        if (!clamp) {
            return;
        }
        whole -= origin;
        if (whole < 0) {
            whole = 0;
            fraction = 0;
        } else if (whole >= size - 1) {
            whole = std::max(size - 1, 0);
            fraction = 0;
        }
        whole += origin;
    }

    int32_t Address(int32_t whole) const
    {
        if (clamp) {
            whole = origin + std::min(std::max(whole - origin, 0), std::max(size - 1, 0));
        }
        if (mask > 0) {
            if (mirror && ((whole >> mask) & 1)) {
                whole = ~whole;
            }
            whole &= (int32_t(1) << mask) - 1;
        }
        return whole;
    }
};

TileAxis AxisS(const TexturePlan& texture)
{
    const int mask = std::min(std::max(texture.maskS, 0), 10);
    return TileAxis{texture.width, texture.clampS || mask == 0, texture.mirrorS, mask};
}

TileAxis AxisT(const TexturePlan& texture)
{
    const int mask = std::min(std::max(texture.maskT, 0), 10);
    return TileAxis{texture.height, texture.clampT || mask == 0, texture.mirrorT, mask};
}

int Blend(int base, int towardS, int fractionS, int towardT, int fractionT)
{
    return base + ((fractionS * (towardS - base) + fractionT * (towardT - base) + 16) >> 5);
}

Texel Blend(const Texel& base, const Texel& towardS, int fractionS, const Texel& towardT, int fractionT)
{
    return Texel{uint8_t(Blend(base.r, towardS.r, fractionS, towardT.r, fractionT)),
                 uint8_t(Blend(base.g, towardS.g, fractionS, towardT.g, fractionT)),
                 uint8_t(Blend(base.b, towardS.b, fractionS, towardT.b, fractionT)),
                 uint8_t(Blend(base.a, towardS.a, fractionS, towardT.a, fractionT))};
}

} // namespace

Texel SampleTexture(const TexturePlan& texture, const std::vector<uint16_t>* palette, int32_t s, int32_t t,
                    const TileRectangle* tile)
{
    TileAxis axisS = AxisS(texture), axisT = AxisT(texture);
    if (tile) {
        axisS = TileAxis{tile->right - tile->left + 1, true, false, 0, tile->left};
        axisT = TileAxis{tile->bottom - tile->top + 1, true, false, 0, tile->top};
    }
    int32_t wholeS = s >> 5, fractionS = s & 31;
    int32_t wholeT = t >> 5, fractionT = t & 31;
    axisS.ClampCoordinate(wholeS, fractionS);
    axisT.ClampCoordinate(wholeT, fractionT);
    const int32_t s0 = axisS.Address(wholeS), s1 = axisS.Address(wholeS + 1);
    const int32_t t0 = axisT.Address(wholeT), t1 = axisT.Address(wholeT + 1);
    if (fractionS + fractionT < 32) {
        return Blend(FetchTexel(texture, palette, s0, t0), FetchTexel(texture, palette, s1, t0), fractionS,
                     FetchTexel(texture, palette, s0, t1), fractionT);
    }
    return Blend(FetchTexel(texture, palette, s1, t1), FetchTexel(texture, palette, s0, t1), 32 - fractionS,
                 FetchTexel(texture, palette, s1, t0), 32 - fractionT);
}
