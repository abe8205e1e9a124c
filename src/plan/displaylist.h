#ifndef POLVANE_DISPLAYLIST_H
#define POLVANE_DISPLAYLIST_H

#include <cstdint>

#include "console/cachelayout.h"

// A degenerate triangle names one vertex number twice: it has no area and is never drawn.
inline bool IsDegenerate(uint32_t index1, uint32_t index2, uint32_t index3)
{
    return index1 == index2 || index1 == index3 || index2 == index3;
}

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

// Packs the triangles, in order, greedily into batches whose distinct vertices fit the cache: a batch takes
// triangles until the next one would need more entries than are left. Each batch: loads of its vertices in
// ascending runs of consecutive numbers (a run longer than one load allows takes several), a sync, its
// triangles (degenerate ones, which repeat a vertex number, skipped), a sync. Every index is below numVertices.
void BuildDisplayList(const uint32_t* indices, int32_t numIndices, uint32_t numVertices, DisplayListSink& sink,
                      const CacheLayout& cache = fast3dCache);

#endif
