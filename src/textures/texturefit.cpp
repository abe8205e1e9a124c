#include "textures/texturefit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "diagnostics.h"
#include "textures/textureconvert.h"

// True when every pixel's red, green and blue are equal.
bool IsGrey(const Image& image)
{
    for (size_t k = 0; k + 3 < image.rgba.size(); k += 4) {
        if (image.rgba[k] != image.rgba[k + 1] || image.rgba[k] != image.rgba[k + 2]) {
            return false;
        }
    }
    return true;
}

namespace {

bool IsPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

// The power of two nearest n; from 3 (halfway between 2 and 4) on, ties go up.
int NearestPowerOfTwo(int n)
{
    int below = 1;
    while (below * 2 <= n) {
        below *= 2;
    }
    return 2 * n >= 3 * below ? 2 * below : below;
}

// The sizes one axis may take, at most limit: powers of two when it wraps, any size when it clamps; 4-bit
// widths even, since two texels share a byte.
struct Axis {
    bool powerOfTwo;
    bool even;
    int limit;

    int Smallest() const { return even ? 2 : 1; }

    bool Allows(int n) const
    {
        return n >= Smallest() && n <= std::max(limit, Smallest()) && (!powerOfTwo || IsPowerOfTwo(n)) &&
               (!even || n % 2 == 0);
    }

    // The allowed size nearest to ideal.
    int Nearest(double ideal) const
    {
        const int top = std::max(limit, Smallest());
        if (powerOfTwo) {
            int below = Smallest();
            while (below * 2 <= top && below * 2 <= ideal) {
                below *= 2;
            }
            return below * 2 <= top && 2 * ideal >= 3 * below ? below * 2 : below;
        }
        int n = int(std::lround(std::min(ideal, double(top))));
        if (even && n % 2 != 0) {
            n = n + 1 <= top && ideal >= n ? n + 1 : n - 1;
        }
        return std::max(n, Smallest());
    }
};

}

TextureSize ShapedTextureSize(TextureFormat format, int width, int height, bool clampS, bool clampT)
{
    const bool fourBit = TexelBits(format) == 4;
    TextureSize size{clampS ? width : NearestPowerOfTwo(width), clampT ? height : NearestPowerOfTwo(height)};
    if (fourBit && size.width % 2 != 0) {
        size.width = size.width == 1 ? 2 : size.width - 1;
    }
    return size;
}

namespace {

int64_t Area(const TextureSize& size)
{
    return int64_t(size.width) * size.height;
}

bool HasAlpha(const Image& image)
{
    for (size_t k = 3; k < image.rgba.size(); k += 4) {
        if (image.rgba[k] != 255) {
            return true;
        }
    }
    return false;
}

// Alpha between fully transparent and fully opaque somewhere: RGBA16's one alpha bit would lose it.
bool HasGradedAlpha(const Image& image)
{
    for (size_t k = 3; k < image.rgba.size(); k += 4) {
        if (image.rgba[k] != 255 && image.rgba[k] != 0) {
            return true;
        }
    }
    return false;
}

std::string SizeText(int width, int height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

// The formats that keep what the image holds, most bits per texel first: colour indices only when its colours
// fit a palette, intensity formats only for a grey image, and then with alpha only when it has some.
std::vector<TextureFormat> FaithfulFormats(bool grey, bool alpha, size_t colours)
{
    std::vector<TextureFormat> formats = {TextureFormat::RGBA32, TextureFormat::RGBA16};
    if (grey) {
        formats.push_back(alpha ? TextureFormat::IA16 : TextureFormat::I8);
    }
    if (colours <= 256) {
        formats.push_back(TextureFormat::CI8);
    }
    if (grey) {
        formats.push_back(alpha ? TextureFormat::IA8 : TextureFormat::I4);
    }
    if (colours <= 16) {
        formats.push_back(TextureFormat::CI4);
    }
    if (grey && alpha) {
        formats.push_back(TextureFormat::IA4);
    }
    return formats;
}

// Of the candidates, the first whose size has the largest area.
TextureFormat Largest(const std::vector<TextureFormat>& candidates, const Image& image, bool clampS, bool clampT)
{
    TextureFormat best = candidates.front();
    int64_t bestArea = -1;
    for (const TextureFormat format : candidates) {
        const int64_t area = Area(FitTextureSize(format, image.width, image.height, clampS, clampT));
        if (area > bestArea) {
            best = format;
            bestArea = area;
        }
    }
    return best;
}

// The most detail that fits: intensity for a grey image; RGBA32 for graded alpha; otherwise RGBA16, or a palette
// format when the image's colours allow one and it fits a larger size than RGBA16.
TextureFormat AutomaticFormat(const Image& image, bool clampS, bool clampT, bool grey, bool alpha, size_t colours)
{
    if (grey) {
        return alpha ? Largest({TextureFormat::IA16, TextureFormat::IA8, TextureFormat::IA4}, image, clampS, clampT)
                     : Largest({TextureFormat::I8, TextureFormat::I4}, image, clampS, clampT);
    }
    // Only RGBA32 keeps alpha between transparent and opaque: in the others a translucent texture would be cut
    // out instead.
    if (alpha && HasGradedAlpha(image)) {
        return TextureFormat::RGBA32;
    }
    std::vector<TextureFormat> candidates = {TextureFormat::RGBA16};
    if (colours <= 256) {
        candidates.push_back(TextureFormat::CI8);
    }
    if (colours <= 16) {
        candidates.push_back(TextureFormat::CI4);
    }
    return Largest(candidates, image, clampS, clampT);
}

}

int TmemWords(TextureFormat format, int width, int height)
{
    if (format == TextureFormat::RGBA32) {
        return 2 * ((width + 3) / 4) * height;
    }
    const int texelsPerWord = 64 / TexelBits(format);
    return (width + texelsPerWord - 1) / texelsPerWord * height;
}

int TmemWordLimit(TextureFormat format)
{
    return IsColourIndexed(format) ? tmemWordCount / 2 : tmemWordCount;
}

bool FitsTmem(TextureFormat format, int width, int height)
{
    return width > 0 && height > 0 && width <= maxTextureSide && height <= maxTextureSide &&
           TmemWords(format, width, height) <= TmemWordLimit(format);
}

bool NeedsTileLoad(TextureFormat format, int width, int height)
{
    // RGBA32 rows are split into 16-bit halves, so their whole words hold 4 texels.
    const int rowTexels = format == TextureFormat::RGBA32 ? 4 : 64 / TexelBits(format);
    if (width % rowTexels != 0) {
        return true;
    }
    // The counter adds dxt = ceil(2048 / words per row) per word loaded and starts a row at each whole number;
    // rounding dxt up makes it run ahead, and the last word must still fall into the last row.
    const int64_t rowWords = std::max(1, width * TexelBits(format) / 64);
    const int64_t dxt = (2048 + rowWords - 1) / rowWords;
    const int64_t drift = dxt * rowWords - 2048;
    return drift * (height * rowWords - 1) >= 2048;
}

TextureSize FitTextureSize(TextureFormat format, int width, int height, bool clampS, bool clampT, int budget)
{
    const TextureSize shaped = ShapedTextureSize(format, width, height, clampS, clampT);
    const Axis s{!clampS, TexelBits(format) == 4, std::min(shaped.width, maxTextureSide)};
    const Axis t{!clampT, false, std::min(shaped.height, maxTextureSide)};
    const double targetWidth = shaped.width;
    const double targetHeight = shaped.height;
    const double aspect = std::log2(targetWidth / targetHeight);

    TextureSize best{s.Smallest(), 1};
    double bestSkew = 0.0;
    bool found = false;
    const auto consider = [&](int w, int h) {
        if (budget > 0 ? w > budget || h > budget : !FitsTmem(format, w, h)) {
            return;
        }
        const TextureSize size{w, h};
        const double skew = std::abs(std::log2(double(w) / h) - aspect);
        if (!found || Area(size) > Area(best) || (Area(size) == Area(best) && skew < bestSkew)) {
            best = size;
            bestSkew = skew;
            found = true;
        }
    };
    // Each width with the height that keeps the shape, and each height with its width.
    for (int w = s.Smallest(); w <= std::max(s.limit, s.Smallest()); ++w) {
        if (s.Allows(w)) {
            consider(w, t.Nearest(w * targetHeight / targetWidth));
        }
    }
    for (int h = 1; h <= t.limit; ++h) {
        if (t.Allows(h)) {
            consider(s.Nearest(h * targetWidth / targetHeight), h);
        }
    }
    return best;
}

bool ChooseTexture(const Image& image, std::optional<TextureFormat> forced, bool clampS, bool clampT,
                   const std::string& fileName, TextureChoice& choice, std::string& error, int budget)
{
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) {
        error = fileName + ": the image holds no pixels";
        return false;
    }
    const bool grey = IsGrey(image);
    const bool alpha = HasAlpha(image);
    const size_t colours = CountRgba5551Colours(image);
    choice.format = forced ? *forced : AutomaticFormat(image, clampS, clampT, grey, alpha, colours);
    const TextureSize size = FitTextureSize(choice.format, image.width, image.height, clampS, clampT, budget);
    choice.width = size.width;
    choice.height = size.height;
    choice.warning.clear();
    if (budget > 0) {
        return true;
    }
    const TextureSize original{image.width, image.height};
    if (size == original) {
        return true;
    }

    const std::string name = TextureFormatName(choice.format);
    const std::string prefix = WarningAt(fileName);
    const std::string sizes =
        " from " + SizeText(image.width, image.height) + " to " + SizeText(size.width, size.height);
    const bool powerOfTwo = (!clampS && !IsPowerOfTwo(image.width)) || (!clampT && !IsPowerOfTwo(image.height));
    if (size == ShapedTextureSize(choice.format, image.width, image.height, clampS, clampT)) {
        // Only the shape changed: to powers of two for wrapping, or to an even 4-bit width.
        choice.warning = prefix + "resized" + sizes + " as " + name +
                         (powerOfTwo ? ", since a repeating texture needs power-of-two sizes"
                                     : ", since 4-bit texels need an even width");
        if (powerOfTwo && FitTextureSize(choice.format, image.width, image.height, true, true) == original) {
            choice.warning += "; -clamp on would keep " + SizeText(image.width, image.height);
        }
        return true;
    }
    choice.warning = prefix + "reduced" + sizes + " to fit texture memory as " + name;
    // What would keep more detail: the first of the formats faithful to the image with the largest size.
    TextureFormat better = choice.format;
    TextureSize betterSize = size;
    for (const TextureFormat format : FaithfulFormats(grey, alpha, colours)) {
        const TextureSize other = FitTextureSize(format, image.width, image.height, clampS, clampT);
        if (Area(other) > Area(betterSize)) {
            better = format;
            betterSize = other;
        }
    }
    if (better != choice.format) {
        choice.warning += std::string("; ") + TextureFormatName(better) + " would fit " +
                          SizeText(betterSize.width, betterSize.height);
    }
    return true;
}
