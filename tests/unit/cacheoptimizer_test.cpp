#include "plan/cacheoptimizer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using polvane::CacheCommand;
using polvane::OptimizedList;
using polvane::OptimizeForCache;

// What the optimised lists draw is replayed end to end (tests/replay); these tests pin how few vertices they load.
namespace {

// A grid of columns x rows quads, each split into two triangles; vertex (i, j) is number j * (columns + 1) + i.
std::vector<uint32_t> Grid(uint32_t columns, uint32_t rows)
{
    std::vector<uint32_t> indices;
    for (uint32_t a = 0; a < (columns + 1) * rows; ++a) {
        if (a % (columns + 1) != columns) {
            indices.insert(indices.end(), {a, a + 1, a + columns + 2, a, a + columns + 2, a + columns + 1});
        }
    }
    return indices;
}

// An open tube of `rings` rings of `segments` vertices, its triangles shuffled when `seed` is not 0.
std::vector<uint32_t> Tube(uint32_t segments, uint32_t rings, uint32_t seed)
{
    std::vector<std::vector<uint32_t>> triangles;
    for (uint32_t r = 0; r + 1 < rings; ++r) {
        for (uint32_t s = 0; s < segments; ++s) {
            uint32_t a = r * segments + s, b = r * segments + (s + 1) % segments, c = b + segments, d = a + segments;
            triangles.push_back({a, b, c});
            triangles.push_back({c, a, d});
        }
    }
    if (seed != 0) {
        std::shuffle(triangles.begin(), triangles.end(), std::mt19937(seed));
    }
    std::vector<uint32_t> indices;
    for (const std::vector<uint32_t>& t : triangles) {
        indices.insert(indices.end(), t.begin(), t.end());
    }
    return indices;
}

std::vector<uint32_t> Fan(uint32_t rim)
{
    std::vector<uint32_t> indices;
    for (uint32_t i = 1; i <= rim; ++i) {
        indices.insert(indices.end(), {0, i, i % rim + 1});
    }
    return indices;
}

TEST(CacheOptimizer, LoadsEachVertexAsFewTimesAsTheCacheAllows)
{
    const struct {
        const char* name;
        std::vector<uint32_t> indices;
        uint32_t numVertices;
        int cache, maxLoad, minBatch;
        size_t loaded, loads;  // vertices loaded and load commands; with loads 0, at most that many loaded
    } cases[] = {
        {"two triangles sharing an edge", {0, 1, 2, 2, 1, 3}, 4, 16, 16, 1, 4, 1},
        {"a degenerate triangle's lone vertex is not loaded", {0, 1, 2, 7, 7, 1, 2, 1, 3}, 8, 16, 16, 1, 4, 1},
        {"both windings of the same corners", {0, 1, 2, 0, 2, 1, 0, 1, 2}, 3, 3, 3, 1, 3, 1},
        {"a load longer than the microcode allows is split", Grid(4, 4), 25, 64, 16, 1, 25, 2},
        // The centre and rim vertex 1 stay cached beside two working slots; with three slots vertex 1 comes back.
        {"fan at cache 4", Fan(40), 41, 4, 4, 1, 41, 0},
        {"fan at cache 3", Fan(40), 41, 3, 3, 1, 42, 0},
        {"quad strip at cache 4", Grid(100, 1), 202, 4, 4, 1, 202, 0},
        {"tube whose two rings fit", Tube(6, 50, 0), 300, 16, 16, 1, 300, 0},
        {"shuffled tube", Tube(6, 50, 7), 300, 16, 16, 1, 300, 0},
        // Batches that keep nothing would load about 0.8 vertices per triangle.
        {"shuffled wide tube", Tube(32, 16, 4), 512, 32, 32, 1, 690, 0},
    };
    for (const auto& c : cases) {
        const OptimizedList list = OptimizeForCache(c.indices.data(), c.indices.size(), c.numVertices, c.cache,
                                                    c.maxLoad, c.minBatch);
        size_t loaded = 0, loads = 0;
        for (const CacheCommand& command : list.commands) {
            if (command.kind == CacheCommand::Load) {
                loaded += command.b;
                ++loads;
            }
        }
        if (c.loads == 0) {
            EXPECT_LE(loaded, c.loaded) << c.name;
        } else {
            EXPECT_EQ(loaded, c.loaded) << c.name;
            EXPECT_EQ(loads, c.loads) << c.name;
        }
    }
}

TEST(CacheOptimizer, OneTriangleIsOneLoadAndOnlyDegenerateTrianglesNone)
{
    const std::vector<uint32_t> one{5, 9, 6};
    const OptimizedList list = OptimizeForCache(one.data(), one.size(), 10, 16, 16);
    EXPECT_EQ(list.rowVertex, (std::vector<uint32_t>{5, 9, 6}));
    ASSERT_EQ(list.commands.size(), 2u);
    EXPECT_EQ(std::vector<uint32_t>({list.commands[0].a, list.commands[0].b, list.commands[0].c}),
              std::vector<uint32_t>({0, 3, 0}));
    EXPECT_EQ(std::vector<uint32_t>({list.commands[1].a, list.commands[1].b, list.commands[1].c}),
              std::vector<uint32_t>({0, 1, 2}));
    EXPECT_EQ(list.commands[1].kind, CacheCommand::Triangle);
    const std::vector<uint32_t> flat{1, 1, 2, 3, 4, 4, 5, 6, 5};
    EXPECT_TRUE(OptimizeForCache(flat.data(), flat.size(), 7, 16, 16).commands.empty());
}

TEST(CacheOptimizer, LargerMinimumBatchTradesVerticesForFewerLoads)
{
    const std::vector<uint32_t> indices = Grid(60, 60);
    size_t loads[2] = {0, 0}, loaded[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        for (const CacheCommand& command :
             OptimizeForCache(indices.data(), indices.size(), 61 * 61, 32, 32, k == 0 ? 1 : 8).commands) {
            loads[k] += command.kind == CacheCommand::Load;
            loaded[k] += command.kind == CacheCommand::Load ? command.b : 0;
        }
    }
    EXPECT_LT(loads[1], loads[0]);
    EXPECT_LE(loaded[0], loaded[1]);
}

TEST(CacheOptimizerDeathTest, CacheOutsideThreeToSixtyFourStops)
{
    const std::vector<uint32_t> indices{0, 1, 2};
    EXPECT_DEATH(OptimizeForCache(indices.data(), indices.size(), 3, 2, 2), "cacheSize >= 3");
    EXPECT_DEATH(OptimizeForCache(indices.data(), indices.size(), 3, 65, 16), "cacheSize <= 64");
}

}
