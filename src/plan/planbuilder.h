#ifndef POLVANE_PLANBUILDER_H
#define POLVANE_PLANBUILDER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "console/cachelayout.h"
#include "console/consoleplan.h"
#include "model/objfile.h"
#include "plan/cacheoptimizer.h"
#include "settings.h"

// The triangles reordered for the cache layout, as --optimize draws them: batches of at least an eighth of the
// cache, a few more vertices loaded for far fewer load commands.
polvane::OptimizedList OptimizeForLayout(const uint32_t* indices, size_t numIndices, uint32_t numVertices,
                                         const CacheLayout& cache);

// Appends the commands that draw a triangle list (vertex numbers below numVertices) to commands: batches over
// the cache in order, or with optimize the reordered list and one sync at its end. Loads name rows from rowBase
// on; rowVertex receives, per row from rowBase, the vertex number it holds.
void PlanTriangles(const uint32_t* indices, size_t numIndices, uint32_t numVertices, const CacheLayout& cache,
                   bool optimize, uint32_t rowBase, std::vector<Command>& commands, std::vector<uint32_t>& rowVertex);

// Receives the plan of the plain conversion as it is made: every vertex row, then the commands of its one display
// list in pieces, the last piece ending with the End command. The plain plan of a large model is never held whole:
// its commands alone would take more memory than the model (at a million triangles, 40 MB more).
class PlanReceiver {
public:
    virtual ~PlanReceiver() = default;
    virtual void Row(const VertexRow& row) = 0;
    // After the last row, before the first command. rowVertex holds the model's vertex of each row, or is null
    // when row r holds vertex r; it lasts until the last command has been passed on.
    virtual void RowsDone(const std::vector<uint32_t>* rowVertex) = 0;
    virtual void Commands(const Command* commands, size_t count) = 0;
};

// Plans the plain conversion into receiver: the rows in vertex order and the triangles batched in order, or with
// --optimize both reordered for the cache.
void StreamPlan(const ObjFile& objFile, const ConversionSettings& settings, PlanReceiver& receiver);

// The plan of the plain conversion, held whole (for the preview): the vertex rows and its one display list.
ConsolePlan BuildPlan(const ObjFile& objFile, const ConversionSettings& settings, const std::string& listName);

#endif
