#include "textures/texturescore.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "textures/texelfetch.h"

namespace {

// For one axis of the image, per pixel: the two texels it falls between and the weight of the second.
struct Taps {
    std::vector<int> first, second;
    std::vector<double> weight;
};

Taps AxisTaps(int pixels, int texels, bool clamp)
{
    Taps taps;
    for (int x = 0; x < pixels; ++x) {
        const double at = (x + 0.5) * texels / pixels - 0.5;
        const double below = std::floor(at);
        int a = int(below), b = a + 1;
        if (clamp) {
            a = std::min(std::max(a, 0), texels - 1);
            b = std::min(std::max(b, 0), texels - 1);
        } else {
            a = (a % texels + texels) % texels;
            b = (b % texels + texels) % texels;
        }
        taps.first.push_back(a);
        taps.second.push_back(b);
        taps.weight.push_back(at - below);
    }
    return taps;
}

}

double TextureError(const TexturePlan& texture, const Image& image, int frame)
{
    const size_t count = size_t(std::max(image.width, 0)) * size_t(std::max(image.height, 0));
    const int width = texture.width - 2 * frame, height = texture.height - 2 * frame;
    if (count == 0 || image.rgba.size() != count * 4 || width <= 0 || height <= 0 || frame < 0) {
        return -1.0;
    }
    const bool opaque = texture.format == TextureFormat::I4 || texture.format == TextureFormat::I8;
    std::vector<double> texels;
    texels.reserve(size_t(width) * size_t(height) * 4);
    for (int t = 0; t < height; ++t) {
        for (int s = 0; s < width; ++s) {
            const Texel texel = FetchTexel(texture, &texture.palette, s + frame, t + frame);
            texels.insert(texels.end(), {double(texel.r), double(texel.g), double(texel.b),
                                         opaque ? 255.0 : double(texel.a)});
        }
    }
    const Taps across = AxisTaps(image.width, width, texture.clampS);
    const Taps down = AxisTaps(image.height, height, texture.clampT);
    // Each texel row filtered across to the image's width first; each pixel then mixes two of those rows.
    const size_t rowValues = size_t(image.width) * 4;
    std::vector<float> rows(size_t(height) * rowValues);
    for (size_t t = 0; t < size_t(height); ++t) {
        const double* row = &texels[t * size_t(width) * 4];
        float* out = &rows[t * rowValues];
        for (size_t x = 0; x < size_t(image.width); ++x) {
            const size_t a = size_t(across.first[x]) * 4, b = size_t(across.second[x]) * 4;
            for (size_t c = 0; c < 4; ++c) {
                out[4 * x + c] = float(row[a + c] + (row[b + c] - row[a + c]) * across.weight[x]);
            }
        }
    }
    double sum = 0.0;
    double alphaSum = 0.0;
    for (int y = 0; y < image.height; ++y) {
        const float* top = &rows[size_t(down.first[size_t(y)]) * rowValues];
        const float* bottom = &rows[size_t(down.second[size_t(y)]) * rowValues];
        const float wy = float(down.weight[size_t(y)]);
        const uint8_t* pixel = &image.rgba[size_t(y) * rowValues];
        float rowSum = 0.0f, rowAlpha = 0.0f;
        for (size_t k = 0; k < rowValues; k += 4) {
            float difference[4];
            for (size_t c = 0; c < 4; ++c) {
                difference[c] = top[k + c] + (bottom[k + c] - top[k + c]) * wy - float(pixel[k + c]);
            }
            const float weight = float(pixel[k + 3]) * (1.0f / 255.0f);
            rowAlpha += weight;
            rowSum += weight * (difference[0] * difference[0] + difference[1] * difference[1] +
                                difference[2] * difference[2]) +
                      difference[3] * difference[3];
        }
        sum += double(rowSum);
        alphaSum += double(rowAlpha);
    }
    if (alphaSum <= 0.0) {
        return -1.0;
    }
    return sum / (4.0 * double(count));
}

double Psnr(double meanSquaredError)
{
    if (meanSquaredError <= 0.0) {
        return 99.0;
    }
    return std::min(99.0, 10.0 * std::log10(255.0 * 255.0 / meanSquaredError));
}
