// Times the preview of a generated model: preview_bench [TRIANGLES] [RUNS] [OUT.ppm]
// Builds the console plan of a textured torus by hand (about TRIANGLES triangles, default 100 000, in batches of
// 30 triangles from 32 loaded vertices, each drawn with F3DEX2's triangle pairs), renders it at 640x480 RUNS times
// (default 11) and prints the median wall time and the median processor time in milliseconds, then the number of
// triangles. With OUT.ppm it also writes the last picture there, to look at.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "console/consoleplan.h"
#include "preview/preview.h"

namespace {

Command Make(Command::Kind kind, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0)
{
    Command command;
    command.kind = kind;
    command.a = a;
    command.b = b;
    command.c = c;
    return command;
}

// A 32x32 RGBA16 checker of two colours, wrapping.
TexturePlan Checker()
{
    TexturePlan texture;
    texture.name = "checker";
    texture.width = texture.height = 32;
    texture.maskS = texture.maskT = 5;
    for (int t = 0; t < 32; ++t) {
        for (int s = 0; s < 32; ++s) {
            const uint16_t texel = ((s / 4 + t / 4) & 1) ? 0xFFFF : 0xE4C1;
            texture.texels.push_back(uint8_t(texel >> 8));
            texture.texels.push_back(uint8_t(texel & 255));
        }
    }
    return texture;
}

// A torus of nu x nv cells, two triangles each, in batches of 15 cells along u.
ConsolePlan TorusPlan(long targetTriangles)
{
    const double pi = 3.14159265358979323846;
    const int nv = std::max(8, int(std::sqrt(double(targetTriangles) / 2 / 3)));
    const int nu = std::max(15, int(targetTriangles / 2 / nv / 15) * 15);
    ConsolePlan plan;
    plan.cacheSize = 32;
    plan.textures.push_back(Checker());
    Command combine = Make(Command::SetCombine);
    const CombinerInput texel = CombinerInput::Texel0, zero = CombinerInput::Zero, shade = CombinerInput::Shade;
    combine.combiner = CombinerMode{texel, zero, shade, zero, zero, zero, zero, shade};
    plan.lists.push_back(DisplayListPlan{"material", {Make(Command::PipeSync), combine, Make(Command::Texture, 1),
                                                      Make(Command::LoadTexture, 0), Make(Command::End)}});
    DisplayListPlan model{"model", {Make(Command::Call, 0)}};
    for (int j = 0; j < nv; ++j) {
        for (int i0 = 0; i0 < nu; i0 += 15) {
            const uint32_t first = uint32_t(plan.rows.size());
            for (int i = i0; i <= i0 + 15; ++i) {
                for (int dj = 0; dj < 2; ++dj) {
                    const double u = 2 * pi * i / nu, v = 2 * pi * (j + dj) / nv;
                    const double nx = std::cos(v) * std::cos(u), ny = std::cos(v) * std::sin(u), nz = std::sin(v);
                    VertexRow row{};
                    row.position[0] = int16_t(std::lround((2000 + 800 * std::cos(v)) * std::cos(u)));
                    row.position[1] = int16_t(std::lround((2000 + 800 * std::cos(v)) * std::sin(u)));
                    row.position[2] = int16_t(std::lround(800 * std::sin(v)));
                    row.st[0] = int16_t(std::lround(double(i - i0) * 4 * 32));
                    row.st[1] = int16_t(std::lround(double(j + dj) * 4 * 32));
                    row.shade[0] = uint8_t(int8_t(std::lround(nx * 127)));
                    row.shade[1] = uint8_t(int8_t(std::lround(ny * 127)));
                    row.shade[2] = uint8_t(int8_t(std::lround(nz * 127)));
                    row.shade[3] = 255;
                    plan.rows.push_back(row);
                }
            }
            model.commands.push_back(Make(Command::Vertex, first, 32, 0));
            model.commands.push_back(Make(Command::PipeSync));
            for (uint32_t cell = 0; cell < 15; ++cell) {
                // Corners 2c, 2c+1 (next ring) and 2c+2, 2c+3 along u; counter-clockwise seen from outside.
                Command pair = Make(Command::TrianglePair, 2 * cell, 2 * cell + 2, 2 * cell + 3);
                pair.d = 2 * cell;
                pair.e = 2 * cell + 3;
                pair.f = 2 * cell + 1;
                model.commands.push_back(pair);
            }
            model.commands.push_back(Make(Command::PipeSync));
        }
    }
    model.commands.push_back(Make(Command::End));
    plan.lists.push_back(model);
    plan.modelList = 1;
    return plan;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const long triangles = argc > 1 ? std::atol(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 11;
    if (triangles < 1 || runs < 1 || argc > 4) {
        std::fprintf(stderr, "usage: preview_bench [TRIANGLES] [RUNS] [OUT.ppm]\n");
        return 2;
    }
    const ConsolePlan plan = TorusPlan(triangles);
    const PreviewOptions options;
    std::vector<double> wall, processor;
    std::vector<uint8_t> pixels;
    for (int run = 0; run < runs; ++run) {
        const std::clock_t processorStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        pixels = RenderPreview(plan, options);
        const auto stop = std::chrono::steady_clock::now();
        processor.push_back(1e3 * double(std::clock() - processorStart) / CLOCKS_PER_SEC);
        wall.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    long drawn = 0;
    for (const DisplayListPlan& list : plan.lists) {
        for (const Command& command : list.commands) {
            drawn += command.kind == Command::TrianglePair ? 2 : command.kind == Command::Triangle ? 1 : 0;
        }
    }
    std::printf("%.3f %.3f %ld\n", Median(wall), Median(processor), drawn);
    if (argc > 3) {
        FILE* file = std::fopen(argv[3], "wb");
        if (file == nullptr) {
            std::fprintf(stderr, "preview_bench: cannot write %s\n", argv[3]);
            return 1;
        }
        std::fprintf(file, "P6\n%d %d\n255\n", options.width, options.height);
        for (size_t i = 0; i < pixels.size(); i += 4) {
            std::fwrite(&pixels[i], 1, 3, file);
        }
        std::fclose(file);
    }
    return 0;
}
