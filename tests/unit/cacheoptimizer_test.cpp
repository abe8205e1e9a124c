#include "plan/cacheoptimizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using polvane::CacheCommand;
using polvane::OptimizedList;
using polvane::OptimizeForCache;
using polvane::OptimizeForCacheBest;

// What the optimised lists draw is checked by the fuzz harness and replayed end to end (tests/replay), and the
// golden digests pin whole lists; these tests pin how few vertices small lists load.
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
        {"quad strip at cache 4", Grid(100, 1), 202, 4, 4, 1, 202, 0},
        // Batches that keep nothing would load about 0.8 vertices per triangle.
        {"grid at cache 32", Grid(30, 20), 31 * 21, 32, 32, 1, 850, 0},
    };
    for (const auto& c : cases) {
        const OptimizedList list = OptimizeForCache(c.indices.data(), c.indices.size(), c.numVertices, c.cache,
                                                    c.maxLoad, {c.minBatch, false});
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

TEST(CacheOptimizer, LargerMinimumBatchTradesVerticesForFewerLoads)
{
    const std::vector<uint32_t> indices = Grid(60, 60);
    size_t loads[2] = {0, 0}, loaded[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        for (const CacheCommand& command :
             OptimizeForCache(indices.data(), indices.size(), 61 * 61, 32, 32, {k == 0 ? 1 : 8, false}).commands) {
            loads[k] += command.kind == CacheCommand::Load;
            loaded[k] += command.kind == CacheCommand::Load ? command.b : 0;
        }
    }
    EXPECT_LT(loads[1], loads[0]);
    EXPECT_LE(loaded[0], loaded[1]);
}

TEST(CacheOptimizer, BatchesOfOneLoadEachNeedFewerLoadCommands)
{
    const std::vector<uint32_t> indices = Grid(60, 60);
    for (const int minBatch : {4, 16}) {
        size_t loads[2] = {0, 0}, batches[2] = {0, 0};
        for (const bool oneLoad : {false, true}) {
            bool afterTriangle = true;
            for (const CacheCommand& command :
                 OptimizeForCache(indices.data(), indices.size(), 61 * 61, 32, 32, {minBatch, oneLoad}).commands) {
                const bool load = command.kind == CacheCommand::Load;
                loads[oneLoad] += load;
                batches[oneLoad] += load && afterTriangle;
                afterTriangle = !load;
            }
        }
        EXPECT_EQ(loads[1], batches[1]) << minBatch;
        EXPECT_LT(loads[1], loads[0]) << minBatch;
    }
}

TEST(CacheOptimizer, LargeMeshIsReorderedOnceWithTheBatchSizeItsSampleChose)
{
    // 7 200 triangles at cache 16, swept in bands of 8 levels (or the 5 asked for): the sample takes two runs of
    // bands, a small part of the mesh.
    const std::vector<uint32_t> indices = Grid(30, 120);
    const uint32_t numVertices = 31 * 121;
    const auto never = [](const OptimizedList&, const OptimizedList&) {
        ADD_FAILURE() << "the whole mesh was compared";
        return false;
    };
    std::vector<uint32_t> rowsByWidth[2];
    for (const int bandWidth : {0, 5}) {
        for (const bool otherWins : {false, true}) {
            size_t sampled = 0, sampleTriangles = 0;
            const auto onSample = [&](const OptimizedList& other, const OptimizedList& first) {
                ++sampled;
                for (const OptimizedList* list : {&other, &first}) {
                    for (const CacheCommand& command : list->commands) {
                        sampleTriangles += command.kind == CacheCommand::Triangle;
                    }
                }
                return otherWins;
            };
            const OptimizedList chosen = OptimizeForCacheBest(indices.data(), indices.size(), numVertices, 16, 16,
                                                              {{2, false}}, never, 1000, {{{2, true}, {8, false}}},
                                                              onSample, bandWidth);
            const polvane::BatchRule sampleWinner =
                otherWins ? polvane::BatchRule{8, false} : polvane::BatchRule{2, true};
            const OptimizedList once =
                OptimizeForCache(indices.data(), indices.size(), numVertices, 16, 16, sampleWinner, bandWidth);
            rowsByWidth[bandWidth > 0] = once.rowVertex;
            EXPECT_EQ(sampled, 1u);
            // Both sample runs draw every sample triangle; the sample is a small part of the mesh.
            EXPECT_GT(sampleTriangles, 0u);
            EXPECT_EQ(sampleTriangles % 2, 0u);
            EXPECT_LT(sampleTriangles / 2, indices.size() / 3 / 4);
            EXPECT_EQ(chosen.rowVertex, once.rowVertex);
            ASSERT_EQ(chosen.commands.size(), once.commands.size());
            for (size_t i = 0; i < once.commands.size(); ++i) {
                const CacheCommand& a = chosen.commands[i];
                const CacheCommand& b = once.commands[i];
                ASSERT_TRUE(a.kind == b.kind && a.a == b.a && a.b == b.b && a.c == b.c) << "command " << i;
            }
        }
    }
    EXPECT_NE(rowsByWidth[0], rowsByWidth[1]);
}

}
