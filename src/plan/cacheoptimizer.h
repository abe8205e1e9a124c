#ifndef POLVANE_CACHEOPTIMIZER_H
#define POLVANE_CACHEOPTIMIZER_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Reorders a triangle list for the graphics processor's vertex cache: fewest vertices loaded first, then fewest
// load commands. A cache slot keeps its vertex until a later load overwrites it, so vertices stay cached from one
// batch of triangles to the next.
namespace polvane {

struct CacheCommand {
    enum Kind : uint8_t { Load, Triangle };
    // Load: a = first row of the written vertex array, b = number of rows, c = first cache slot.
    // Triangle: a, b, c = cache slots of the corners, in the cyclic order of the input triangle (same winding).
    // Slots and counts fit a byte (caches have at most 64 slots), so a command takes 8 bytes.
    uint32_t a;
    Kind kind;
    uint8_t b, c;
};

struct OptimizedList {
    std::vector<uint32_t> rowVertex;   // row r of the written vertex array is input vertex rowVertex[r]
    std::vector<CacheCommand> commands;
};

// How a run fills its batches. minBatch (1 to the cache size) trades loaded vertices for load commands: with 1, a
// vertex that still has triangles to draw is evicted only for the next triangle's corners or once the sweep over
// the mesh has left it behind; with more, every batch starts with at least minBatch neighbouring free slots,
// evicting such vertices when needed, so that loads are longer and fewer. A batch fills the longest run of free
// slots, and other runs of a few slots or more; with oneLoad, the longest alone (one load command a batch), the
// others waiting until the slots around them free too.
struct BatchRule {
    int minBatch = 1;
    bool oneLoad = false;
};

// `indices` holds numIndices / 3 triangles of vertex numbers below numVertices. Triangles with two equal vertex
// numbers are dropped; every other one is drawn exactly once with its winding kept. Loads hold at most maxLoad
// vertices and never cross the end of a cache of cacheSize slots (3 to 64). The same input always gives the same
// result. The mesh is swept in bands of bandWidth levels of the distance from an end of each connected part
// (0: half the cache).
OptimizedList OptimizeForCache(const uint32_t* indices, size_t numIndices, uint32_t numVertices, int cacheSize,
                               int maxLoad, BatchRule rule = BatchRule(), int bandWidth = 0);

using ListPreference = std::function<bool(const OptimizedList&, const OptimizedList&)>;

// The result of OptimizeForCache with each of `rules` in turn (at least one), keeping a result when better(it,
// the best so far) holds: the earliest of equals. The triangles' neighbours and sweep bands are worked out once
// for all runs, and each run's search arrays are given up before the next begins. With more than
// wholeChoiceAbove triangles, sampled[1] is compared with sampled[0] by betterOnSample on a sample instead (two
// runs of neighbouring sweep bands, a tenth of the mesh together, swept in the mesh's bands) and the whole mesh
// is reordered once, with the rule that won there, in bands of sampledBandWidth levels (0: half the cache).
OptimizedList OptimizeForCacheBest(const uint32_t* indices, size_t numIndices, uint32_t numVertices, int cacheSize,
                                   int maxLoad, const std::vector<BatchRule>& rules, const ListPreference& better,
                                   size_t wholeChoiceAbove = size_t(-1),
                                   const std::array<BatchRule, 2>& sampled = {},
                                   const ListPreference& betterOnSample = nullptr, int sampledBandWidth = 0);

} // namespace polvane

#endif
