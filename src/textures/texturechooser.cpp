#include "textures/texturechooser.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "diagnostics.h"
#include "textures/alphameaning.h"
#include "textures/candidatesizes.h"
#include "textures/textureconvert.h"
#include "textures/texturefit.h"
#include "textures/texturescore.h"

namespace {

// The formats that keep what the alpha means: one-bit alpha (or none) for opaque and cut-out images, graded
// alpha for translucent ones. Intensity formats are tried for every image and lose on colour by their error.
std::vector<TextureFormat> FormatsFor(AlphaMeaning meaning)
{
    switch (meaning) {
    case AlphaMeaning::Opaque:
        return {TextureFormat::RGBA16, TextureFormat::CI4, TextureFormat::CI8, TextureFormat::RGBA32,
                TextureFormat::I4, TextureFormat::I8};
    case AlphaMeaning::Cutout:
        return {TextureFormat::RGBA16, TextureFormat::CI4, TextureFormat::CI8, TextureFormat::IA4};
    case AlphaMeaning::Translucent:
        break;
    }
    return {TextureFormat::RGBA32, TextureFormat::IA16, TextureFormat::IA8};
}

size_t Bytes(const TexturePlan& plan)
{
    return plan.texels.size() + 2 * plan.palette.size();
}

std::string SizeText(int width, int height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string Named(const TexturePlan& plan)
{
    return std::string(TextureFormatName(plan.format)) + " " + SizeText(plan.width, plan.height);
}

// The largest power of two that divides side and leaves at least least.
int WholeFactor(int side, int least)
{
    int factor = 1;
    while (side % (2 * factor) == 0 && side / (2 * factor) >= least) {
        factor *= 2;
    }
    return factor;
}

struct Candidate {
    TexturePlan plan;
    double error = -1.0;
};

// Today's sizing and format: a forced format, or the automatic one of an image whose error cannot be measured.
bool ChooseByRule(const Image& image, std::optional<TextureFormat> format, bool clampS, bool clampT,
                  const std::string& fileName, ChosenTexture& chosen, std::string& error)
{
    TextureChoice choice;
    if (!ChooseTexture(image, format, clampS, clampT, fileName, choice, error)) {
        return false;
    }
    std::string quantised;
    ConvertTexture(image, choice, clampS, clampT, fileName, chosen.plan, quantised);
    const double measured = TextureError(chosen.plan, image);
    chosen.psnr = measured < 0.0 ? -1.0 : Psnr(measured);
    if (!choice.warning.empty()) {
        chosen.warnings.push_back(choice.warning +
                                  (chosen.psnr < 0.0 ? std::string() : " (PSNR " + PsnrText(chosen.psnr) + ")"));
    }
    if (!quantised.empty()) {
        chosen.warnings.push_back(quantised);
    }
    return true;
}

}

std::string PsnrText(double psnr)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dB", psnr);
    return text;
}

bool ChooseAndConvertTexture(const Image& image, std::optional<TextureFormat> forced, bool clampS, bool clampT,
                             const std::string& fileName, ChosenTexture& chosen, std::string& error)
{
    chosen = ChosenTexture();
    if (forced || image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) {
        return ChooseByRule(image, forced, clampS, clampT, fileName, chosen, error);
    }
    const AlphaReading alpha = ReadAlpha(image);
    const Image meant = ApplyAlphaMeaning(image, alpha.meaning);
    const size_t colours = CountRgba5551Colours(meant);

    std::vector<std::pair<TextureFormat, TextureSize>> tried;
    TextureSize largest{1, 1};
    for (const TextureFormat format : FormatsFor(alpha.meaning)) {
        for (const TextureSize& size : CandidateSizes(format, image.width, image.height, clampS, clampT)) {
            tried.emplace_back(format, size);
            largest = {std::max(largest.width, size.width), std::max(largest.height, size.height)};
        }
    }
    // Reducing starts from one area average of the image by whole factors, no smaller than any candidate, which
    // spares resampling the whole image for each size.
    const Image start = ResizeImage(meant, image.width / WholeFactor(image.width, largest.width),
                                    image.height / WholeFactor(image.height, largest.height), !clampS, !clampT,
                                    ResizeFilter::Box);
    // Formats of one size share their resized pixels.
    std::map<std::pair<int, int>, Image> resized;
    std::vector<Candidate> candidates;
    for (const auto& [format, size] : tried) {
        const auto key = std::make_pair(size.width, size.height);
        auto pixels = resized.find(key);
        if (pixels == resized.end()) {
            // An area average when reducing; a smooth kernel when a side grows, where averaging would repeat pixels.
            const bool reducing = size.width <= image.width && size.height <= image.height;
            const Image resampled = reducing ? ResizeImage(start, size.width, size.height, !clampS, !clampT,
                                                           ResizeFilter::Box)
                                             : ResizeImage(meant, size.width, size.height, !clampS, !clampT);
            pixels = resized.emplace(key, resampled).first;
        }
        TextureChoice choice;
        choice.format = format;
        choice.width = size.width;
        choice.height = size.height;
        Candidate candidate;
        std::string unused;
        ConvertResizedTexture(meant, colours, pixels->second, choice, clampS, clampT, fileName, candidate.plan,
                              unused);
        candidate.error = TextureError(candidate.plan, meant);
        if (candidate.error < 0.0) {
            return ChooseByRule(image, std::nullopt, clampS, clampT, fileName, chosen, error);
        }
        candidates.push_back(std::move(candidate));
    }
    const auto better = [](const Candidate& a, const Candidate& b) {
        return a.error < b.error || (a.error == b.error && Bytes(a.plan) < Bytes(b.plan));
    };
    size_t best = 0;
    for (size_t k = 1; k < candidates.size(); ++k) {
        if (better(candidates[k], candidates[best])) {
            best = k;
        }
    }
    const Candidate* runnerUp = nullptr;
    for (const Candidate& candidate : candidates) {
        if (candidate.plan.format != candidates[best].plan.format && (!runnerUp || better(candidate, *runnerUp))) {
            runnerUp = &candidate;
        }
    }

    const std::string alphaWarning = AlphaWarning(alpha, fileName);
    if (!alphaWarning.empty()) {
        chosen.warnings.push_back(alphaWarning);
    }
    chosen.psnr = Psnr(candidates[best].error);
    const TexturePlan& plan = candidates[best].plan;
    if (plan.width != image.width || plan.height != image.height) {
        std::string line = WarningAt(fileName) + SizeText(image.width, image.height) + " -> " +
                           Named(plan) + " (PSNR " + PsnrText(chosen.psnr);
        if (runnerUp) {
            line += "; " + Named(runnerUp->plan) + ": " + PsnrText(Psnr(runnerUp->error));
        }
        chosen.warnings.push_back(line + ")");
    }
    chosen.plan = std::move(candidates[best].plan);
    return true;
}
