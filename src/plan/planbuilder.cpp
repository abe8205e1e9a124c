#include "plan/planbuilder.h"

#include <algorithm>
#include <numeric>

#include "plan/cacheoptimizer.h"
#include "plan/commandrecorder.h"
#include "plan/costmodel.h"
#include "plan/displaylist.h"
#include "plan/vertexrow.h"

namespace {

// What the console spends on the loads and triangles of an order, with lit or unlit vertices (the rest of a list
// is the same whatever the order).
double LoadAndTriangleCost(const polvane::OptimizedList& list, const CacheLayout& cache, bool lit)
{
    CostMeter meter(CostsOf(cache), lit);
    Command load;
    load.kind = Command::Vertex;
    Command one;
    one.kind = Command::Triangle;
    Command two;
    two.kind = Command::TrianglePair;
    uint64_t run = 0;
    const auto drawRun = [&] {
        for (; cache.pairs && run >= 2; run -= 2) {
            meter.Add(two);
        }
        for (; run > 0; --run) {
            meter.Add(one);
        }
    };
    for (const polvane::CacheCommand& command : list.commands) {
        if (command.kind == polvane::CacheCommand::Load) {
            drawRun();
            load.b = command.b;
            meter.Add(load);
        } else {
            ++run;
        }
    }
    drawRun();
    meter.Finish();
    return meter.Instructions();
}

}

polvane::OptimizedList OptimizeForLayout(const uint32_t* indices, size_t numIndices, uint32_t numVertices,
                                         const CacheLayout& cache)
{
    // Batches of an eighth of the cache load the fewest vertices; batches of half the cache need far fewer load
    // commands, which pays where a command costs as much as a few vertices. The second is kept when it is cheaper
    // whether the vertices are lit or not.
    const int fewestVertices = cache.size / 8 > 1 ? cache.size / 8 : 1;
    const int fewestLoads = cache.size / 2 > 1 ? cache.size / 2 : 1;
    if (fewestLoads == fewestVertices) {
        return polvane::OptimizeForCache(indices, numIndices, numVertices, cache.size, cache.maxLoad, fewestVertices);
    }
    const auto cheaper = [&cache](const polvane::OptimizedList& other, const polvane::OptimizedList& best) {
        return std::min(LoadAndTriangleCost(best, cache, true) - LoadAndTriangleCost(other, cache, true),
                        LoadAndTriangleCost(best, cache, false) - LoadAndTriangleCost(other, cache, false)) > 0;
    };
    return polvane::OptimizeForCacheEither(indices, numIndices, numVertices, cache.size, cache.maxLoad,
                                           fewestVertices, fewestLoads, cheaper);
}

void PlanTriangles(const uint32_t* indices, size_t numIndices, uint32_t numVertices, const CacheLayout& cache,
                   bool optimize, uint32_t rowBase, std::vector<Command>& commands, std::vector<uint32_t>& rowVertex)
{
    if (!optimize) {
        CommandRecorder recorder(commands, cache.pairs, rowBase);
        rowVertex.resize(numVertices);
        std::iota(rowVertex.begin(), rowVertex.end(), 0u);
        BuildDisplayList(indices, int32_t(numIndices), numVertices, recorder, cache);
        recorder.Flush();
        return;
    }
    polvane::OptimizedList optimized = OptimizeForLayout(indices, numIndices, numVertices, cache);
    CommandRecorder recorder(commands, cache.pairs, rowBase, cache.snakes);
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
