#include "plan/planbuilder.h"

#include <numeric>

#include "plan/cacheoptimizer.h"
#include "plan/commandrecorder.h"
#include "plan/displaylist.h"
#include "plan/vertexrow.h"

polvane::OptimizedList OptimizeForLayout(const uint32_t* indices, size_t numIndices, uint32_t numVertices,
                                         const CacheLayout& cache)
{
    const int minBatch = cache.size / 8 > 1 ? cache.size / 8 : 1;
    return polvane::OptimizeForCache(indices, numIndices, numVertices, cache.size, cache.maxLoad, minBatch);
}

void PlanTriangles(const uint32_t* indices, size_t numIndices, uint32_t numVertices, const CacheLayout& cache,
                   bool optimize, uint32_t rowBase, std::vector<Command>& commands, std::vector<uint32_t>& rowVertex)
{
    CommandRecorder recorder(commands, cache.pairs, rowBase);
    if (!optimize) {
        rowVertex.resize(numVertices);
        std::iota(rowVertex.begin(), rowVertex.end(), 0u);
        BuildDisplayList(indices, int32_t(numIndices), numVertices, recorder, cache);
        recorder.Flush();
        return;
    }
    polvane::OptimizedList optimized = OptimizeForLayout(indices, numIndices, numVertices, cache);
    for (const polvane::CacheCommand& command : optimized.commands) {
        if (command.kind == polvane::CacheCommand::Load) {
            recorder.Load(command.a, command.b, command.c);
        } else {
            recorder.Triangle(command.a, command.b, command.c);
        }
    }
    // Loads and triangles change no state of the rasteriser, so one sync at the end serves the whole list.
    recorder.Sync();
    rowVertex = std::move(optimized.rowVertex);
}

ConsolePlan BuildPlan(const ObjFile& objFile, const ConversionSettings& settings, const std::string& listName)
{
    ConsolePlan plan;
    const CacheLayout cache = CacheLayoutOf(settings);
    plan.cacheSize = cache.size;
    plan.lit = settings.useNormals;
    plan.lists.push_back(DisplayListPlan{listName, {}});
    std::vector<Command>& commands = plan.lists.back().commands;
    std::vector<uint32_t> rowVertex;
    PlanTriangles(objFile.GetIndices(), size_t(objFile.GetNumIndices()), uint32_t(objFile.GetNumVertices()), cache,
                  settings.optimize, 0, commands, rowVertex);
    commands.push_back(Command());
    plan.rows.reserve(rowVertex.size());
    for (const uint32_t vertex : rowVertex) {
        plan.rows.push_back(MakeVertexRow(objFile, vertex, settings));
    }
    return plan;
}
