#include "displaylist.h"

#include "check.h"

bool contains(int index, const int* vertCache, int vertCacheSize)
{
    return indexOf(index, vertCache, vertCacheSize) != -1;
}

int indexOf(int index, const int* vertCache, int vertCacheSize)
{
    for (int i = 0; i < vertCacheSize; ++i) {
        if (vertCache[i] == index) {
            return i;
        }
    }
    return -1;
}

void insertSorted(int index, int* arr, int& vertCacheSize)
{
    int position = 0;
    while (position < vertCacheSize && arr[position] <= index) {
        ++position;
    }
    for (int j = vertCacheSize; j > position; --j) {
        arr[j] = arr[j - 1];
    }
    arr[position] = index;
    ++vertCacheSize;
    for (int j = 0; j + 1 < vertCacheSize; ++j) {
        POLVANE_CHECK(arr[j] != arr[j+1]);
    }
}

namespace {

bool IsDegenerate(uint32_t index1, uint32_t index2, uint32_t index3)
{
    return index1 == index2 || index1 == index3 || index2 == index3;
}

// Selects the batch that starts at triangle position i; returns how many triangles it takes.
int32_t SelectBatch(const uint32_t* indices, int32_t numIndices, int32_t i, int cacheSize, int* vertCache,
                    int& vertCacheSize)
{
    int32_t triangleCount = 0;
    for (int32_t j = i; j + 2 < numIndices; j += 3) {
        const int index1 = int(indices[j]);
        const int index2 = int(indices[j + 1]);
        const int index3 = int(indices[j + 2]);
        if (IsDegenerate(indices[j], indices[j + 1], indices[j + 2])) {
            ++triangleCount;
            continue;
        }
        const bool new1 = !contains(index1, vertCache, vertCacheSize);
        const bool new2 = !contains(index2, vertCache, vertCacheSize);
        const bool new3 = !contains(index3, vertCache, vertCacheSize);
        const int newSize = vertCacheSize + int(new1) + int(new2) + int(new3);
        if (newSize > cacheSize) {
            break;
        }
        POLVANE_CHECK(j + 2 < numIndices);
        ++triangleCount;
        if (new1) {
            insertSorted(index1, vertCache, vertCacheSize);
        }
        if (new2) {
            insertSorted(index2, vertCache, vertCacheSize);
        }
        if (new3) {
            insertSorted(index3, vertCache, vertCacheSize);
        }
        POLVANE_CHECK(vertCacheSize == newSize);
        POLVANE_CHECK(contains(index1, vertCache, vertCacheSize));
        POLVANE_CHECK(contains(index2, vertCache, vertCacheSize));
        POLVANE_CHECK(contains(index3, vertCache, vertCacheSize));
    }
    return triangleCount;
}

}

void BuildDisplayList(const uint32_t* indices, int32_t numIndices, DisplayListSink& sink, const CacheLayout& cache)
{
    POLVANE_CHECK(cache.size >= 3 && cache.size <= largestCache && cache.maxLoad >= 1);
    POLVANE_CHECK(numIndices % 3 == 0);
    int32_t i = 0;
    while (i < numIndices) {
        int vertCache[largestCache];
        for (int& entry : vertCache) {
            entry = -1;
        }
        int vertCacheSize = 0;
        const int32_t triangleCount = SelectBatch(indices, numIndices, i, cache.size, vertCache, vertCacheSize);

        for (int k = 0; k < vertCacheSize;) {
            const int first = vertCache[k];
            int count = 1;
            while (k + count < vertCacheSize && count < cache.maxLoad && vertCache[k + count] == first + count) {
                ++count;
            }
            sink.Load(uint32_t(first), uint32_t(count), uint32_t(k));
            k += count;
        }
        sink.Sync();
        for (int32_t j = 0; j < triangleCount; ++j) {
            POLVANE_CHECK(i + 3 * j + 2 < numIndices);
            const uint32_t* triangle = indices + i + 3 * j;
            if (IsDegenerate(triangle[0], triangle[1], triangle[2])) {
                continue;
            }
            const int vert1 = indexOf(int(triangle[0]), vertCache, vertCacheSize);
            const int vert2 = indexOf(int(triangle[1]), vertCache, vertCacheSize);
            const int vert3 = indexOf(int(triangle[2]), vertCache, vertCacheSize);
            POLVANE_CHECK(vert1 != -1 && vert2 != -1 && vert3 != -1);
            sink.Triangle(uint32_t(vert1), uint32_t(vert2), uint32_t(vert3));
        }
        sink.Sync();
        i += 3 * triangleCount;
    }
}
