#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plan/displaylist.h"

namespace {

// Writes each command as a short line: "load first count slot", "sync", "tri a b c".
class Recorder : public DisplayListSink {
public:
    void Load(uint32_t first, uint32_t count, uint32_t slot) override
    {
        rows.push_back("load " + std::to_string(first) + " " + std::to_string(count) + " " + std::to_string(slot));
    }
    void Sync() override { rows.push_back("sync"); }
    void Triangle(uint32_t a, uint32_t b, uint32_t c) override
    {
        rows.push_back("tri " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c));
    }
    std::vector<std::string> rows;
};

std::vector<std::string> Build(const std::vector<uint32_t>& indices, const CacheLayout& cache = fast3dCache)
{
    Recorder recorder;
    const uint32_t vertexCount = *std::max_element(indices.begin(), indices.end()) + 1;
    BuildDisplayList(indices.data(), int32_t(indices.size()), vertexCount, recorder, cache);
    return recorder.rows;
}

TEST(DisplayList, SortedCacheGivesOneLoadPerRunAndSlotsInCornerOrder)
{
    EXPECT_EQ(Build({5, 9, 6, 6, 9, 7, 7, 7, 2, 0, 1, 2}),
              (std::vector<std::string>{"load 0 3 0", "load 5 3 3", "load 9 1 6", "sync", "tri 3 6 4", "tri 4 6 5",
                                        "tri 0 1 2", "sync"}));
}

TEST(DisplayList, TheTriangleThatWouldOverfillTheCacheStartsTheNextBatch)
{
    EXPECT_EQ(Build({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 15, 1, 2, 3, 16, 17, 18, 19}),
              (std::vector<std::string>{"load 0 16 0", "sync", "tri 0 1 2", "tri 3 4 5", "tri 6 7 8", "tri 9 10 11",
                                        "tri 12 13 14", "tri 0 15 1", "sync", "load 2 2 0", "load 16 4 2", "sync",
                                        "tri 0 1 2", "tri 3 4 5", "sync"}));
}

TEST(DisplayList, ABatchMayEndWithFreeSlots)
{
    // 14 vertices loaded; the next triangle brings three new ones.
    std::vector<uint32_t> indices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0, 14, 15, 16};
    const std::vector<std::string> rows = Build(indices);
    EXPECT_EQ(rows[0], "load 0 14 0");
    EXPECT_EQ(rows[7], "sync");
    EXPECT_EQ(rows[8], "load 14 3 0");
    EXPECT_EQ(rows[10], "tri 0 1 2");
}

TEST(DisplayList, DegenerateTrianglesNeitherDrawNorEndABatch)
{
    EXPECT_EQ(Build({0, 0, 1, 2, 2, 2}), (std::vector<std::string>{"sync", "sync"}));

    // A full cache, then a degenerate triangle with new vertex numbers, then one that still fits.
    std::vector<uint32_t> indices;
    for (uint32_t v = 0; v < 15; v += 3) {
        indices.insert(indices.end(), {v, v + 1, v + 2});
    }
    indices.insert(indices.end(), {0, 15, 1, 40, 41, 41, 15, 2, 3});
    const std::vector<std::string> rows = Build(indices);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0], "load 0 16 0");
    EXPECT_EQ(rows[8], "tri 15 2 3");
    EXPECT_EQ(rows[9], "sync");
}

TEST(DisplayList, FarApartVerticesLoadOneByOne)
{
    EXPECT_EQ(Build({900, 4, 70}),
              (std::vector<std::string>{"load 4 1 0", "load 70 1 1", "load 900 1 2", "sync", "tri 2 0 1", "sync"}));
}

TEST(DisplayList, OtherCachesBatchAtTheirSizeAndSplitLongRuns)
{
    const std::vector<uint32_t> strip = {0, 1, 2, 2, 1, 3, 2, 3, 4, 4, 3, 5, 4, 5, 6};
    EXPECT_EQ(Build(strip, CacheLayout{5, 5, false}),
              (std::vector<std::string>{"load 0 5 0", "sync", "tri 0 1 2", "tri 2 1 3", "tri 2 3 4", "sync",
                                        "load 3 4 0", "sync", "tri 1 0 2", "tri 1 2 3", "sync"}));
    EXPECT_EQ(Build(strip, CacheLayout{8, 3, true}),
              (std::vector<std::string>{"load 0 3 0", "load 3 3 3", "load 6 1 6", "sync", "tri 0 1 2", "tri 2 1 3",
                                        "tri 2 3 4", "tri 4 3 5", "tri 4 5 6", "sync"}));
}

}
