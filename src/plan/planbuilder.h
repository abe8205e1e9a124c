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

// The plan of the plain conversion: the vertex rows and the one display list the C writer prints.
ConsolePlan BuildPlan(const ObjFile& objFile, const ConversionSettings& settings, const std::string& listName);

#endif
