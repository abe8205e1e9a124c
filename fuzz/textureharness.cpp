#include "textureharness.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "textures/image.h"
#include "textures/texelfetch.h"
#include "textures/texturechooser.h"
#include "textures/textureconvert.h"
#include "textures/texturefit.h"

namespace {

bool IsPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

// Larger images decode too slowly under the fuzzer's checkers.
constexpr int fuzzMaxSide = 1024;

bool IsSizeRefusal(const std::string& reason)
{
    const std::string limit = " pixels; the largest image read is 1024x1024";
    return reason.size() > limit.size() + 3 && reason.compare(0, 3, "is ") == 0 &&
           reason.compare(reason.size() - limit.size(), limit.size(), limit) == 0;
}

bool KnownReason(const std::string& reason)
{
    static const char* const fixed[] = {"is not a PNG, JPEG, TGA, BMP or GIF image", "is damaged or truncated"};
    if (std::find(std::begin(fixed), std::end(fixed), reason) != std::end(fixed)) {
        return true;
    }
    return IsSizeRefusal(reason);
}

std::string SizeText(int width, int height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

// Chooses, converts and decodes one image; fileName appears in the warnings.
std::string CheckConversion(const Image& image, std::optional<TextureFormat> forced, bool clampS, bool clampT)
{
    TextureChoice choice;
    std::string error;
    if (!ChooseTexture(image, forced, clampS, clampT, "f.png", choice, error)) {
        return "an image with pixels was refused: " + error;
    }
    const TextureFormat format = choice.format;
    const std::string what = std::string(TextureFormatName(format)) + " " + SizeText(choice.width, choice.height) +
                             " from " + SizeText(image.width, image.height) + ": ";
    if (forced && format != *forced) {
        return what + "the forced format was not kept";
    }
    if (!FitsTmem(format, choice.width, choice.height)) {
        return what + "does not fit texture memory";
    }
    if ((!clampS && !IsPowerOfTwo(choice.width)) || (!clampT && !IsPowerOfTwo(choice.height))) {
        return what + "a wrapping axis is not a power of two";
    }
    if (TexelBits(format) == 4 && choice.width % 2 != 0) {
        return what + "4-bit texels in an odd width";
    }
    const bool resized = choice.width != image.width || choice.height != image.height;
    if (resized != !choice.warning.empty() || choice.warning.find('\n') != std::string::npos ||
        (resized && choice.warning.compare(0, 16, "warning: f.png: ") != 0)) {
        return what + "expected one warning line exactly when resized, got \"" + choice.warning + "\"";
    }

    TexturePlan plan;
    std::string warning;
    ConvertTexture(image, choice, clampS, clampT, "f.png", plan, warning);
    const size_t bits = size_t(plan.width) * size_t(plan.height) * size_t(TexelBits(format));
    if (plan.format != format || plan.width != choice.width || plan.height != choice.height ||
        plan.texels.size() != (bits + 63) / 64 * 8) {
        return what + "the plan's format, size or texel bytes do not match the choice";
    }
    const size_t paletteSize = format == TextureFormat::CI4 ? 16 : format == TextureFormat::CI8 ? 256 : 0;
    if (plan.palette.size() > paletteSize || (paletteSize != 0 && plan.palette.empty()) ||
        (format == TextureFormat::CI4 && plan.palette.size() != 16)) {
        return what + "a palette of " + std::to_string(plan.palette.size()) + " entries";
    }
    if (format == TextureFormat::CI8) {
        for (size_t k = 0; k < size_t(plan.width) * size_t(plan.height); ++k) {
            if (plan.texels[k] >= plan.palette.size()) {
                return what + "an index past the palette";
            }
        }
    }
    if (plan.maskS != (clampS ? 0 : int(std::log2(plan.width))) ||
        plan.maskT != (clampT ? 0 : int(std::log2(plan.height))) || plan.clampS != clampS || plan.clampT != clampT ||
        plan.loadAsTile != NeedsTileLoad(format, plan.width, plan.height)) {
        return what + "wrong clamp, mask or load fields";
    }
    if (!warning.empty() && (!IsColourIndexed(format) || warning.find('\n') != std::string::npos)) {
        return what + "unexpected conversion warning \"" + warning + "\"";
    }

    // The decoded texels are values the format holds exactly, so they convert to themselves.
    const Image decoded = DecodeTexture(plan);
    TexturePlan again;
    TextureChoice same = choice;
    ConvertTexture(decoded, same, clampS, clampT, "f.png", again, warning);
    if (!warning.empty() || DecodeTexture(again).rgba != decoded.rgba) {
        return what + "the decoded texels do not convert back to themselves";
    }
    const TextureAlpha alpha = AlphaOf(plan);
    if ((format == TextureFormat::I4 || format == TextureFormat::I8) && alpha != TextureAlpha::Opaque) {
        return what + "an intensity texture without alpha is not opaque";
    }
    if ((format == TextureFormat::RGBA16 || format == TextureFormat::IA4 || IsColourIndexed(format)) &&
        alpha == TextureAlpha::Translucent) {
        return what + "one alpha bit cannot be graded";
    }
    return std::string();
}

// Chooses by measured quality: the texture fits one load with the shapes wrapping needs, palette indices stay
// inside the palette, every warning is one line, the PSNR is a number or "not measured", and a second run gives
// the same bytes.
std::string CheckChooser(const Image& image, bool clampS, bool clampT)
{
    ChosenTexture chosen, again;
    std::string error;
    if (!ChooseAndConvertTexture(image, std::nullopt, clampS, clampT, "f.png", chosen, error) ||
        !ChooseAndConvertTexture(image, std::nullopt, clampS, clampT, "f.png", again, error)) {
        return "the chooser refused an image with pixels: " + error;
    }
    const TexturePlan& plan = chosen.plan;
    const std::string what = std::string("chosen ") + TextureFormatName(plan.format) + " " +
                             SizeText(plan.width, plan.height) + " from " + SizeText(image.width, image.height) +
                             ": ";
    if (!FitsTmem(plan.format, plan.width, plan.height) || (!clampS && !IsPowerOfTwo(plan.width)) ||
        (!clampT && !IsPowerOfTwo(plan.height)) || (TexelBits(plan.format) == 4 && plan.width % 2 != 0)) {
        return what + "a size one load cannot hold or wrap";
    }
    if (IsColourIndexed(plan.format)) {
        for (int t = 0; t < plan.height; ++t) {
            for (int s = 0; s < plan.width; ++s) {
                const Texel index = FetchTexel(plan, nullptr, s, t);
                if ((plan.format == TextureFormat::CI8 ? index.r : index.r / 17) >= plan.palette.size()) {
                    return what + "an index past the palette";
                }
            }
        }
    }
    for (const std::string& warning : chosen.warnings) {
        if (warning.compare(0, 16, "warning: f.png: ") != 0 || warning.find('\n') != std::string::npos) {
            return what + "a warning that is not one line: \"" + warning + "\"";
        }
    }
    if (!(chosen.psnr < 0.0 || (chosen.psnr >= 0.0 && chosen.psnr <= 99.0))) {
        return what + "a PSNR that is no number";
    }
    if (again.plan.texels != plan.texels || again.plan.palette != plan.palette || again.warnings != chosen.warnings) {
        return what + "a second run chose differently";
    }
    return std::string();
}

}

std::string CheckImageLoader(const uint8_t* data, size_t size, const std::string& scratchFolder)
{
    Image image;
    std::string reason;
    const ImageLoad loaded = LoadImageFromMemory(data, size, image, reason, fuzzMaxSide);
    if (loaded == ImageLoad::Missing) {
        return "bytes in memory cannot be missing";
    }
    if (loaded == ImageLoad::Unreadable) {
        if (!KnownReason(reason) || !image.rgba.empty()) {
            return "a refused image gave the reason \"" + reason + "\" and " + std::to_string(image.rgba.size()) +
                   " bytes of pixels";
        }
    } else if (image.width < 1 || image.height < 1 || image.width > fuzzMaxSide || image.height > fuzzMaxSide ||
               image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) {
        return "a decoded image of " + SizeText(image.width, image.height) + " holds " +
               std::to_string(image.rgba.size()) + " bytes";
    }

    uint32_t sum = 0;
    for (size_t k = 0; k < size; ++k) {
        sum += data[k];
    }
    if (!scratchFolder.empty() && sum % 16 == 0 && !IsSizeRefusal(reason)) {
        const std::string path = scratchFolder + "/fuzz-image";
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), std::streamsize(size));
        Image fromFile;
        std::string fileReason;
        const ImageLoad fileLoaded = LoadImage(path, fromFile, fileReason);
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        if (fileLoaded != loaded || fileReason != reason || fromFile.width != image.width ||
            fromFile.height != image.height || fromFile.rgba != image.rgba) {
            return "the file gave another result than its bytes in memory";
        }
    }
    if (loaded == ImageLoad::Ok && image.width <= 256 && image.height <= 256) {
        const int choice = int(sum / 16 % 10);
        const std::optional<TextureFormat> forced =
            choice == 9 ? std::nullopt : std::optional<TextureFormat>(TextureFormat(choice));
        return CheckConversion(image, forced, sum / 160 % 2 == 1, sum / 320 % 2 == 1);
    }
    return std::string();
}

std::string CheckTexture(const uint8_t* data, size_t size)
{
    // Header: width and height (2 bytes each, 1 to 128), format (9 and up: automatic), flags, colour count; then
    // the pixels.
    const auto byte = [&](size_t k) { return k < size ? data[k] : uint8_t(0); };
    const int width = 1 + (byte(0) | byte(1) << 8) % 128;
    const int height = 1 + (byte(2) | byte(3) << 8) % 128;
    const std::optional<TextureFormat> forced =
        byte(4) % 10 == 9 ? std::nullopt : std::optional<TextureFormat>(TextureFormat(byte(4) % 10));
    const uint8_t flags = byte(5);
    const bool clampS = flags & 1, clampT = flags & 2, grey = flags & 4, few = flags & 8;
    const size_t colours = 1 + byte(6) % 24;
    const size_t header = 7;

    Image image;
    image.width = width;
    image.height = height;
    image.rgba.resize(size_t(width) * size_t(height) * 4);
    const size_t pixelBytes = size > header ? size - header : 0;
    for (size_t k = 0; k < image.rgba.size(); ++k) {
        // Few colours: each pixel repeats one of the first ones.
        const size_t source = few ? (k / 4 % colours) * 4 + k % 4 : k;
        image.rgba[k] = pixelBytes == 0 ? 0 : data[header + source % pixelBytes];
    }
    if (grey) {
        for (size_t k = 0; k < image.rgba.size(); k += 4) {
            image.rgba[k + 1] = image.rgba[k + 2] = image.rgba[k];
        }
    }
    const std::string broken = CheckConversion(image, forced, clampS, clampT);
    return broken.empty() && !forced ? CheckChooser(image, clampS, clampT) : broken;
}
