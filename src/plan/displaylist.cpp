#include "plan/displaylist.h"

#include <algorithm>
#include <vector>

#include "check.h"

namespace {

// The vertices of the batch being built. Membership is one look-up per vertex: each vertex remembers the
// number of the last batch that took it.
class BatchCache {
public:
    BatchCache(uint32_t numVertices, int cacheSize) : batchOf(numVertices, 0), slotOf(numVertices, 0), size(cacheSize)
    {
    }

    void Reset()
    {
        ++batch;
        vertCacheSize = 0;
    }
    bool Contains(uint32_t index) const { return batchOf[index] == batch; }
    int Room() const { return size - vertCacheSize; }
    void Insert(uint32_t index)
    {
        POLVANE_CHECK(!Contains(index) && vertCacheSize < size);
        batchOf[index] = batch;
        vertCache[vertCacheSize++] = index;
    }
    // Sorts the batch's vertices; vertex vertCache[s] then goes into slot s.
    void AssignSlots()
    {
        std::sort(vertCache, vertCache + vertCacheSize);
        for (int s = 0; s < vertCacheSize; ++s) {
            slotOf[vertCache[s]] = uint8_t(s);
        }
    }
    uint32_t SlotOf(uint32_t index) const
    {
        POLVANE_CHECK(Contains(index));
        return slotOf[index];
    }

    uint32_t vertCache[largestCache];
    int vertCacheSize = 0;

private:
    std::vector<uint32_t> batchOf;
    std::vector<uint8_t> slotOf;
    uint32_t batch = 0;
    const int size;
};

// Selects the batch that starts at index position i; returns how many triangles it takes, degenerate ones
// included. Stops at the first triangle that does not fit, even when later ones would.
int32_t SelectBatch(const uint32_t* indices, int32_t numIndices, int32_t i, BatchCache& cache)
{
    int32_t triangleCount = 0;
    for (int32_t j = i; j + 2 < numIndices; j += 3) {
        const uint32_t index1 = indices[j];
        const uint32_t index2 = indices[j + 1];
        const uint32_t index3 = indices[j + 2];
        if (IsDegenerate(index1, index2, index3)) {
            ++triangleCount;
            continue;
        }
        const bool new1 = !cache.Contains(index1);
        const bool new2 = !cache.Contains(index2);
        const bool new3 = !cache.Contains(index3);
        if (int(new1) + int(new2) + int(new3) > cache.Room()) {
            break;
        }
        ++triangleCount;
        if (new1) {
            cache.Insert(index1);
        }
        if (new2) {
            cache.Insert(index2);
        }
        if (new3) {
            cache.Insert(index3);
        }
    }
    return triangleCount;
}

}

void BuildDisplayList(const uint32_t* indices, int32_t numIndices, uint32_t numVertices, DisplayListSink& sink,
                      const CacheLayout& cache)
{
    POLVANE_CHECK(numIndices % 3 == 0);
    POLVANE_CHECK(cache.size >= 3 && cache.size <= largestCache && cache.maxLoad >= 1);
    BatchCache batch(numVertices, cache.size);
    int32_t i = 0;
    while (i < numIndices) {
        batch.Reset();
        const int32_t triangleCount = SelectBatch(indices, numIndices, i, batch);
        batch.AssignSlots();

        const uint32_t* vertCache = batch.vertCache;
        for (int k = 0; k < batch.vertCacheSize;) {
            const uint32_t first = vertCache[k];
            int count = 1;
            while (k + count < batch.vertCacheSize && count < cache.maxLoad && vertCache[k + count] == first + count) {
                ++count;
            }
            sink.Load(first, uint32_t(count), uint32_t(k));
            k += count;
        }
        sink.Sync();
        for (int32_t t = 0; t < triangleCount; ++t) {
            const uint32_t* triangle = indices + i + 3 * t;
            if (!IsDegenerate(triangle[0], triangle[1], triangle[2])) {
                sink.Triangle(batch.SlotOf(triangle[0]), batch.SlotOf(triangle[1]), batch.SlotOf(triangle[2]));
            }
        }
        sink.Sync();
        i += 3 * triangleCount;
    }
}
