#ifndef POLVANE_DISPLAYLIST_H
#define POLVANE_DISPLAYLIST_H

#include <cstdint>

#include "cachelayout.h"

// Receives the commands of a display list in order.
class DisplayListSink {
public:
    virtual ~DisplayListSink() = default;
    // Loads vertices first .. first+count-1 into the cache slots slot .. slot+count-1.
    virtual void Load(uint32_t first, uint32_t count, uint32_t slot) = 0;
    virtual void Sync() = 0;
    // One triangle, its corners given as cache slots.
    virtual void Triangle(uint32_t slot1, uint32_t slot2, uint32_t slot3) = 0;
};

constexpr int maxVertCacheSize = 16;

bool contains(int index, const int* vertCache, int vertCacheSize);
// The first position holding index, or -1.
int indexOf(int index, const int* vertCache, int vertCacheSize);
// Inserts index, which must be absent, into the ascending vertCache and grows vertCacheSize by one.
void insertSorted(int index, int* vertCache, int& vertCacheSize);

// Packs the triangles, in order, greedily into batches whose distinct vertices fit the cache. Each batch: loads
// of its vertices in ascending runs (a run longer than one load allows takes several), a sync, its triangles
// (degenerate ones skipped), a sync.
void BuildDisplayList(const uint32_t* indices, int32_t numIndices, DisplayListSink& sink,
                      const CacheLayout& cache = fast3dCache);

#endif
