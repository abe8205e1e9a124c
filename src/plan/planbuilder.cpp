#include "plan/planbuilder.h"

#include <algorithm>
#include <array>
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

// Meshes of more triangles choose their batch size on a sample and are reordered once.
const size_t wholeChoiceTriangles = 250000;
// How much cheaper, as a fraction, the small batches must be on the sample to be kept.
const double sampleBias = 0.005;

}

polvane::OptimizedList OptimizeForLayout(const uint32_t* indices, size_t numIndices, uint32_t numVertices,
                                         const CacheLayout& cache)
{
    // Batches of an eighth of the cache load the fewest vertices; batches of half the cache need far fewer load
    // commands, which pays where a command costs as much as a few vertices. A later order is kept when it is
    // cheaper whether the vertices are lit or not.
    const int fewestVertices = cache.size / 8 > 1 ? cache.size / 8 : 1;
    const int fewestLoads = cache.size / 2 > 1 ? cache.size / 2 : 1;
    if (fewestLoads == fewestVertices) {
        return polvane::OptimizeForCache(indices, numIndices, numVertices, cache.size, cache.maxLoad,
                                         {fewestVertices, false});
    }
    // Fast3D, whose loads cost little, fills every run of a few free slots a batch. For the F3DEX family
    // batches of one load each cost more vertices loaded again and far fewer load commands, and win on most
    // models; at half the cache they beat batches of several loads on every model tried. A large mesh chooses
    // between the two batch sizes on a sample. Its sweep fronts are long: for the F3DEX family, bands of three
    // eighths of the cache leave room for fuller loads than half-cache bands do, and cost less on every large
    // model tried.
    const polvane::BatchRule fewestVerticesRule = {fewestVertices, false};
    std::array<polvane::BatchRule, 2> sampled = {fewestVerticesRule, polvane::BatchRule{fewestLoads, false}};
    int largeBandWidth = 0;
    if (cache.pairs) {
        sampled = {polvane::BatchRule{fewestVertices, true}, polvane::BatchRule{fewestLoads, true}};
        largeBandWidth = std::max(1, cache.size * 3 / 8);
    }
    const std::vector<polvane::BatchRule> rules =
        cache.pairs ? std::vector<polvane::BatchRule>{fewestVerticesRule, sampled[0], sampled[1]}
                    : std::vector<polvane::BatchRule>{sampled[0], sampled[1]};
    const auto cheaper = [&cache](const polvane::OptimizedList& other, const polvane::OptimizedList& best) {
        return std::min(LoadAndTriangleCost(best, cache, true) - LoadAndTriangleCost(other, cache, true),
                        LoadAndTriangleCost(best, cache, false) - LoadAndTriangleCost(other, cache, false)) > 0;
    };
    // A large mesh is reordered once, with the batch size that wins on a sample of it. On a sample the small
    // batches fare up to about half a percent better than on the whole mesh (the sample's ends favour them), so
    // they are kept only when they win by more than that.
    const auto cheaperOnSample = [&cache](const polvane::OptimizedList& other, const polvane::OptimizedList& best) {
        const double lit = LoadAndTriangleCost(best, cache, true);
        const double unlit = LoadAndTriangleCost(best, cache, false);
        return std::min((lit - LoadAndTriangleCost(other, cache, true)) / lit,
                        (unlit - LoadAndTriangleCost(other, cache, false)) / unlit) > -sampleBias;
    };
    return polvane::OptimizeForCacheBest(indices, numIndices, numVertices, cache.size, cache.maxLoad, rules, cheaper,
                                         wholeChoiceTriangles, sampled, cheaperOnSample, largeBandWidth);
}

namespace {

// Replays the reordered list of --optimize into sink; loads and triangles change no state of the rasteriser, so
// one sync at the end serves the whole list.
void Replay(const polvane::OptimizedList& optimized, DisplayListSink& sink)
{
    for (const polvane::CacheCommand& command : optimized.commands) {
        if (command.kind == polvane::CacheCommand::Load) {
            sink.Load(command.a, command.b, command.c);
        } else {
            sink.Triangle(command.a, command.b, command.c);
        }
    }
    sink.Sync();
}

// Records the commands of a display list and passes them on in pieces, so that they are never all held at once.
class CommandRelay : public DisplayListSink {
public:
    CommandRelay(PlanReceiver& target, bool pairTriangles, bool snakes)
        : receiver(target), recorder(piece, pairTriangles, 0, snakes)
    {
        piece.reserve(pieceSize);
    }

    void Load(uint32_t first, uint32_t count, uint32_t slot) override
    {
        recorder.Load(first, count, slot);
        PassWhenFull();
    }
    void Sync() override
    {
        recorder.Sync();
        PassWhenFull();
    }
    void Triangle(uint32_t slot1, uint32_t slot2, uint32_t slot3) override
    {
        recorder.Triangle(slot1, slot2, slot3);
        PassWhenFull();
    }
    // Draws a triangle still waiting for a partner, ends the list and passes the rest on.
    void Finish()
    {
        recorder.Flush();
        piece.push_back(Command());
        Pass();
    }

private:
    void PassWhenFull()
    {
        if (piece.size() >= pieceSize) {
            Pass();
        }
    }
    void Pass()
    {
        receiver.Commands(piece.data(), piece.size());
        piece.clear();
    }

    static constexpr size_t pieceSize = 1024;
    PlanReceiver& receiver;
    std::vector<Command> piece;
    CommandRecorder recorder;
};

// Collects a streamed plan into the plan's one list.
class PlanCollector : public PlanReceiver {
public:
    explicit PlanCollector(ConsolePlan& collected) : plan(collected) {}

    void Row(const VertexRow& row) override { plan.rows.push_back(row); }
    void RowsDone(const std::vector<uint32_t>*) override {}
    void Commands(const Command* commands, size_t count) override
    {
        std::vector<Command>& list = plan.lists.back().commands;
        list.insert(list.end(), commands, commands + count);
    }

private:
    ConsolePlan& plan;
};

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
    Replay(optimized, recorder);
    rowVertex = std::move(optimized.rowVertex);
}

void StreamPlan(const ObjFile& objFile, const ConversionSettings& settings, PlanReceiver& receiver)
{
    const CacheLayout cache = CacheLayoutOf(settings);
    const uint32_t* indices = objFile.GetIndices();
    const size_t numIndices = size_t(objFile.GetNumIndices());
    const uint32_t numVertices = uint32_t(objFile.GetNumVertices());
    // Snakes are written for the reordered list alone, as PlanTriangles writes them.
    CommandRelay relay(receiver, cache.pairs, settings.optimize && cache.snakes);
    polvane::OptimizedList optimized;
    if (!settings.optimize) {
        for (uint32_t vertex = 0; vertex < numVertices; ++vertex) {
            receiver.Row(MakeVertexRow(objFile, vertex, settings));
        }
        receiver.RowsDone(nullptr);
        BuildDisplayList(indices, int32_t(numIndices), numVertices, relay, cache);
    } else {
        optimized = OptimizeForLayout(indices, numIndices, numVertices, cache);
        for (const uint32_t vertex : optimized.rowVertex) {
            receiver.Row(MakeVertexRow(objFile, vertex, settings));
        }
        receiver.RowsDone(&optimized.rowVertex);
        Replay(optimized, relay);
    }
    relay.Finish();
}

ConsolePlan BuildPlan(const ObjFile& objFile, const ConversionSettings& settings, const std::string& listName)
{
    ConsolePlan plan;
    plan.cacheSize = CacheLayoutOf(settings).size;
    plan.lit = settings.useNormals;
    plan.lists.push_back(DisplayListPlan{listName, {}});
    PlanCollector collector(plan);
    StreamPlan(objFile, settings, collector);
    return plan;
}
