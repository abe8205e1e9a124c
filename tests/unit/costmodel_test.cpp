#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "plan/costmodel.h"
#include "plan/trianglesnake.h"

namespace {

using Triangle = std::array<uint32_t, 3>;

Command Load(uint32_t first, uint32_t count)
{
    Command load;
    load.kind = Command::Vertex;
    load.a = first;
    load.b = count;
    return load;
}

Command Of(Command::Kind kind)
{
    Command command;
    command.kind = kind;
    return command;
}

// Suzanne on F3DEX3, optimised: 55 loads, 269 vertex pairs, the lights once, 630 triangles drawn in pairs and 5
// alone, 333 culled, 317 flushes, 25 fetches and a sync: 267.3k instructions predicted (266.6k measured).
TEST(CostModel, PricesTheWorkedExampleOfSuzanneOnF3dex3)
{
    CostCounts counts;
    counts.litLoads = 55;
    counts.litPairs = 269;
    counts.firstLitLoads = 1;
    counts.pairedTriangles = 630;
    counts.oneTriangles = 5;
    counts.pairedCulled = 333;
    counts.flushes = 317;
    counts.fetches = 25;
    counts.syncs = 1;
    EXPECT_DOUBLE_EQ(ModelledInstructions(counts, CostsOf(Microcode::F3DEX3)), 267325.5);
}

TEST(CostModel, VerticesTravelInPairs)
{
    const auto price = [](Microcode microcode, uint32_t count) {
        CostMeter meter(CostsOf(microcode), true);
        meter.Add(Load(0, count));
        meter.Finish();
        return meter.Instructions();
    };
    // One fetch, the lights once, the command and three pairs.
    EXPECT_DOUBLE_EQ(price(Microcode::F3DEX3, 5), 26 + 292 + 198 + 3 * 157);
    EXPECT_DOUBLE_EQ(price(Microcode::F3DEX3, 6), price(Microcode::F3DEX3, 5));
    EXPECT_DOUBLE_EQ(price(Microcode::F3DEX2, 6), price(Microcode::F3DEX3, 6));
    EXPECT_DOUBLE_EQ(price(Microcode::F3D, 6) - price(Microcode::F3D, 5), 11);
}

TEST(CostModel, LowerBoundLoadsEachVertexOnceAndPairsTriangles)
{
    CostMeter meter(CostsOf(Microcode::F3DEX3), true);
    meter.Add(Load(0, 4));
    meter.Add(Of(Command::Triangle));
    meter.Add(Of(Command::Triangle));
    meter.Add(Load(0, 4));  // the same four rows again
    meter.Add(Of(Command::TrianglePair));
    meter.Add(Of(Command::PipeSync));
    meter.Add(Of(Command::PipeSync));
    meter.Finish();
    // A second load command with its two pairs, two triangles alone instead of a pair, a second sync.
    EXPECT_DOUBLE_EQ(meter.Instructions() - meter.LowerBound(56), 198 + 2 * 157 + 2 * (293 - 287.5) + 15);
}

std::vector<Triangle> Decode(const std::vector<Command>& commands)
{
    size_t words = 0;
    std::vector<Triangle> drawn = SnakeTriangles(commands.data(), commands.size(), words);
    EXPECT_EQ(words, commands.size());
    return drawn;
}

// The orders F3DEX3's documentation gives: alternating directions make a strip, all left a fan.
TEST(TriangleSnake, DecodesAStripAndAFanAsDocumented)
{
    Command strip = Of(Command::TriangleSnake);
    strip.a = 1;
    strip.b = 2;
    strip.c = 3 * 2 | snakeLeft;
    strip.d = uint32_t(4 * 2) << 24 | uint32_t(5 * 2 | snakeLeft) << 16 | uint32_t(6 * 2) << 8 |
              (7 * 2 | snakeLeft | snakeLast);
    EXPECT_EQ(Decode({strip}), (std::vector<Triangle>{{3, 1, 2}, {4, 3, 2}, {5, 3, 4}, {6, 5, 4}, {7, 5, 6}}));

    Command fan = strip;
    fan.d = uint32_t(4 * 2 | snakeLeft) << 24 | uint32_t(5 * 2 | snakeLeft) << 16 | uint32_t(6 * 2 | snakeLeft) << 8 |
            uint32_t(7 * 2 | snakeLeft);
    Command more = Of(Command::SnakeContinuation);
    more.a = uint32_t(8 * 2 | snakeLeft | snakeLast) << 24;
    EXPECT_EQ(Decode({fan, more}),
              (std::vector<Triangle>{{3, 1, 2}, {4, 1, 3}, {5, 1, 4}, {6, 1, 5}, {7, 1, 6}, {8, 1, 7}}));
}

// The triangle as drawn is its input turned, never flipped.
bool SameWinding(const Triangle& drawn, const Triangle& input)
{
    for (size_t r = 0; r < 3; ++r) {
        if (drawn == Triangle{input[r], input[(r + 1) % 3], input[(r + 2) % 3]}) {
            return true;
        }
    }
    return false;
}

std::vector<Triangle> Strip(uint32_t triangles)
{
    std::vector<Triangle> run;
    for (uint32_t i = 0; i < triangles; ++i) {
        run.push_back(i % 2 == 0 ? Triangle{i, i + 1, i + 2} : Triangle{i + 1, i, i + 2});
    }
    return run;
}

TEST(TriangleSnake, LongStripBecomesOneSnakeKeepingEveryWinding)
{
    const std::vector<Triangle> run = Strip(22);
    std::vector<Command> commands;
    WriteTriangleRun(run, true, true, commands);
    ASSERT_EQ(commands.size(), 4u);  // 22 triangles: the head's 5, then 8, 8 and 1
    EXPECT_EQ(commands[0].e, 22u);
    const std::vector<Triangle> drawn = Decode(commands);
    ASSERT_EQ(drawn.size(), run.size());
    std::vector<bool> used(run.size(), false);
    for (const Triangle& t : drawn) {
        bool found = false;
        for (size_t i = 0; i < run.size() && !found; ++i) {
            if (!used[i] && SameWinding(t, run[i])) {
                used[i] = found = true;
            }
        }
        EXPECT_TRUE(found) << t[0] << " " << t[1] << " " << t[2];
    }
}

TEST(TriangleSnake, ShortChainsArePairedWithTheOddOneLast)
{
    std::vector<Command> commands;
    WriteTriangleRun(Strip(minSnake - 1), true, true, commands);
    ASSERT_EQ(commands.size(), minSnake / 2);
    for (size_t i = 0; i + 1 < commands.size(); ++i) {
        EXPECT_EQ(commands[i].kind, Command::TrianglePair);
    }
    EXPECT_EQ(commands.back().kind, minSnake % 2 == 0 ? Command::Triangle : Command::TrianglePair);
}

}
