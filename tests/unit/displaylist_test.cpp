#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plan/displaylist.h"

namespace {

// Writes each command as a short line: "load first count slot", "sync", "tri a b c".
class Recorder : public DisplayListSink {
public:
    void Load(uint32_t first, uint32_t count, uint32_t slot) override { Add("load", first, count, slot); }
    void Sync() override { rows += "sync, "; }
    void Triangle(uint32_t a, uint32_t b, uint32_t c) override { Add("tri", a, b, c); }
    void Add(const char* what, uint32_t a, uint32_t b, uint32_t c)
    {
        rows += what + (" " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + ", ");
    }
    std::string rows;
};

TEST(DisplayList, BatchesLoadSortedRunsAndDrawInCornerOrder)
{
    const std::vector<uint32_t> strip = {0, 1, 2, 2, 1, 3, 2, 3, 4, 4, 3, 5, 4, 5, 6};
    const struct {
        std::vector<uint32_t> indices;
        CacheLayout cache;
        const char* rows;
    } cases[] = {
        {{5, 9, 6, 6, 9, 7, 7, 7, 2, 0, 1, 2}, fast3dCache,
         "load 0 3 0, load 5 3 3, load 9 1 6, sync, tri 3 6 4, tri 4 6 5, tri 0 1 2, sync, "},
        // Only degenerate triangles: nothing is loaded or drawn.
        {{0, 0, 1, 2, 2, 2}, fast3dCache, "sync, sync, "},
        // The triangle that would overfill the cache starts the next batch; a degenerate one does not.
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 40, 41, 41, 0, 15, 1, 2, 3, 16, 17, 18, 19}, fast3dCache,
         "load 0 16 0, sync, tri 0 1 2, tri 3 4 5, tri 6 7 8, tri 9 10 11, tri 12 13 14, tri 0 15 1, sync, "
         "load 2 2 0, load 16 4 2, sync, tri 0 1 2, tri 3 4 5, sync, "},
        {{900, 4, 70}, fast3dCache, "load 4 1 0, load 70 1 1, load 900 1 2, sync, tri 2 0 1, sync, "},
        {strip, CacheLayout{5, 5, false},
         "load 0 5 0, sync, tri 0 1 2, tri 2 1 3, tri 2 3 4, sync, load 3 4 0, sync, tri 1 0 2, tri 1 2 3, sync, "},
        {strip, CacheLayout{8, 3, true},
         "load 0 3 0, load 3 3 3, load 6 1 6, sync, tri 0 1 2, tri 2 1 3, tri 2 3 4, tri 4 3 5, tri 4 5 6, sync, "},
    };
    for (const auto& c : cases) {
        Recorder recorder;
        const uint32_t vertexCount = *std::max_element(c.indices.begin(), c.indices.end()) + 1;
        BuildDisplayList(c.indices.data(), int32_t(c.indices.size()), vertexCount, recorder, c.cache);
        EXPECT_EQ(recorder.rows, c.rows);
    }
}

}
