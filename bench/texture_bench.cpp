// How long choosing a texture by measured quality takes against the fixed rule, on a generated 1024x1024
// photograph-like image (smooth colour fields, fine grain, noise) that wraps, and on the same image clamped.
// Usage: texture_bench [RUNS]. Prints the median processor milliseconds of each (wall time follows the load of a
// shared machine) and what the choice adds.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>
#include <vector>

#include "textures/texturechooser.h"
#include "textures/textureconvert.h"
#include "textures/texturefit.h"

namespace {

Image PhotoLike(int side)
{
    Image image;
    image.width = image.height = side;
    std::mt19937 random(16);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double u = double(x) / side, v = double(y) / side;
            const double grain = 0.2 * std::sin(6.283 * 90 * u + 3 * std::sin(6.283 * 5 * v)) * std::sin(6.283 * 70 * v);
            const double t = 0.5 + 0.3 * std::sin(6.283 * u) * std::cos(6.283 * v) + grain;
            const auto channel = [&](double base, double range) {
                return uint8_t(std::clamp(int(std::lround(base + range * t)) + noise(random), 0, 255));
            };
            image.rgba.insert(image.rgba.end(), {channel(40, 200), channel(60, 120), channel(30, 160), 255});
        }
    }
    return image;
}

template <typename Step>
double MedianMilliseconds(int runs, Step step)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const std::clock_t start = std::clock();
        step();
        times.push_back(1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const Image image = PhotoLike(1024);
    for (const bool clamp : {false, true}) {
        std::string error, warning;
        const double rule = MedianMilliseconds(runs, [&] {
            TextureChoice choice;
            TexturePlan plan;
            ChooseTexture(image, std::nullopt, clamp, clamp, "photo.png", choice, error);
            ConvertTexture(image, choice, clamp, clamp, "photo.png", plan, warning);
        });
        ChosenTexture chosen;
        const double measured = MedianMilliseconds(runs, [&] {
            ChooseAndConvertTexture(image, std::nullopt, clamp, clamp, "photo.png", chosen, error);
        });
        std::printf("1024x1024 %s: fixed rule %.1f ms, chosen by quality %.1f ms (adds %.1f ms): %s %dx%d, %s\n",
                    clamp ? "clamped" : "wrapping", rule, measured, measured - rule,
                    TextureFormatName(chosen.plan.format), chosen.plan.width, chosen.plan.height,
                    PsnrText(chosen.psnr).c_str());
    }
    return 0;
}
