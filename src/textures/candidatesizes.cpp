#include "textures/candidatesizes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

int FloorPowerOfTwo(int n)
{
    int power = 1;
    while (power * 2 <= n) {
        power *= 2;
    }
    return power;
}

constexpr size_t sameCountKept = 2;

}

std::vector<TextureSize> CandidateSizes(TextureFormat format, int width, int height, bool clampS, bool clampT)
{
    std::vector<TextureSize> sizes;
    if (width <= 0 || height <= 0) {
        return sizes;
    }
    const TextureSize shaped = ShapedTextureSize(format, width, height, clampS, clampT);
    const int widthLimit = std::min(shaped.width, maxTextureSide);
    const int heightLimit = std::min(shaped.height, maxTextureSide);
    const bool fourBit = TexelBits(format) == 4;
    const double aspect = double(width) / double(height);

    struct Found {
        TextureSize size;
        double skew;
    };
    std::vector<Found> best;
    int64_t bestTexels = 0;
    for (int w = fourBit ? 2 : 1; w <= widthLimit; w += fourBit ? 2 : 1) {
        if (!clampS && FloorPowerOfTwo(w) != w) {
            continue;
        }
        // The tallest height texture memory and the aspect allow, then a power of two below it when wrapping.
        const int rowWords = std::max(1, TmemWords(format, w, 1));
        int h = std::min({heightLimit, int(std::floor(2.0 * w / aspect + 1e-9)), TmemWordLimit(format) / rowWords});
        if (h <= 0) {
            continue;
        }
        if (!clampT) {
            h = FloorPowerOfTwo(h);
        }
        const double ratio = double(w) / double(h);
        if (ratio > 2.0 * aspect + 1e-9) {
            continue;  // too wide for the image
        }
        const int64_t texels = int64_t(w) * h;
        const double skew = std::fabs(std::log2(ratio / aspect));
        if (texels > bestTexels) {
            best.clear();
            bestTexels = texels;
        }
        if (texels == bestTexels) {
            best.push_back({{w, h}, skew});
        }
    }
    std::stable_sort(best.begin(), best.end(), [](const Found& a, const Found& b) { return a.skew < b.skew; });
    for (size_t k = 0; k < best.size() && k < sameCountKept; ++k) {
        sizes.push_back(best[k].size);
    }
    const TextureSize fitted = FitTextureSize(format, width, height, clampS, clampT);
    if (std::find(sizes.begin(), sizes.end(), fitted) == sizes.end()) {
        sizes.push_back(fitted);
    }
    return sizes;
}
