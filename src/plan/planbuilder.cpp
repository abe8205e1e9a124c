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
    CommandRelay(PlanReceiver& target, bool pairTriangles) : receiver(target), recorder(piece, pairTriangles)
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
    void RowsDone() override {}
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
    CommandRecorder recorder(commands, cache.pairs, rowBase);
    if (!optimize) {
        rowVertex.resize(numVertices);
        std::iota(rowVertex.begin(), rowVertex.end(), 0u);
        BuildDisplayList(indices, int32_t(numIndices), numVertices, recorder, cache);
        recorder.Flush();
        return;
    }
    polvane::OptimizedList optimized = OptimizeForLayout(indices, numIndices, numVertices, cache);
    Replay(optimized, recorder);
    rowVertex = std::move(optimized.rowVertex);
}

void StreamPlan(const ObjFile& objFile, const ConversionSettings& settings, PlanReceiver& receiver)
{
    const CacheLayout cache = CacheLayoutOf(settings);
    const uint32_t* indices = objFile.GetIndices();
    const size_t numIndices = size_t(objFile.GetNumIndices());
    const uint32_t numVertices = uint32_t(objFile.GetNumVertices());
    CommandRelay relay(receiver, cache.pairs);
    if (!settings.optimize) {
        for (uint32_t vertex = 0; vertex < numVertices; ++vertex) {
            receiver.Row(MakeVertexRow(objFile, vertex, settings));
        }
        receiver.RowsDone();
        BuildDisplayList(indices, int32_t(numIndices), numVertices, relay, cache);
    } else {
        const polvane::OptimizedList optimized = OptimizeForLayout(indices, numIndices, numVertices, cache);
        for (const uint32_t vertex : optimized.rowVertex) {
            receiver.Row(MakeVertexRow(objFile, vertex, settings));
        }
        receiver.RowsDone();
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
