#ifndef POLVANE_CACHEOPTIMIZER_H
#define POLVANE_CACHEOPTIMIZER_H

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

// `indices` holds numIndices / 3 triangles of vertex numbers below numVertices. Triangles with two equal vertex
// numbers are dropped; every other one is drawn exactly once with its winding kept. Loads hold at most maxLoad
// vertices and never cross the end of a cache of cacheSize slots (3 to 64). The same input always gives the same
// result.
// minBatch (1 to cacheSize) trades loaded vertices for load commands: with 1, a vertex that still has triangles
// to draw is evicted only for the next triangle's corners or once the sweep over the mesh has left it behind;
// with more, every batch starts with at least minBatch neighbouring free slots, evicting such vertices when
// needed, so that loads are longer and fewer.
OptimizedList OptimizeForCache(const uint32_t* indices, size_t numIndices, uint32_t numVertices, int cacheSize,
                               int maxLoad, int minBatch = 1);

// The result of OptimizeForCache with otherMinBatch when better(it, the result with minBatch) holds, else the
// result with minBatch. The triangles' neighbours and sweep bands are worked out once for both runs, and each
// run's search arrays are given up before the next begins. With more than wholeChoiceAbove triangles, the two
// are compared with betterOnSample on a sample instead (two runs of neighbouring sweep bands, a tenth of the mesh
// together, swept in the mesh's bands) and the whole mesh is reordered once, with the batch size that won there.
OptimizedList OptimizeForCacheEither(
    const uint32_t* indices, size_t numIndices, uint32_t numVertices, int cacheSize, int maxLoad, int minBatch,
    int otherMinBatch, const std::function<bool(const OptimizedList&, const OptimizedList&)>& better,
    size_t wholeChoiceAbove = size_t(-1),
    const std::function<bool(const OptimizedList&, const OptimizedList&)>& betterOnSample = nullptr);

} // namespace polvane

#endif
