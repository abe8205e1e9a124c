#include "plan/costmodel.h"

namespace {

// Fast3D 2.0H, measured. Its output is written command by command, priced in each command (no flush).
const MicrocodeCosts fast3dCosts = {
    40, 26,         // fetch: 26 per 40 commands
    86, 86, 11,     // load command, lit / unlit, +11 for an even count
    156, 109,       // per vertex pair, lit / unlit
    199,            // first lit load
    384.5, 0,       // drawn triangle; no command draws two
    111,            // textured
    0,              // flush
    0, 0,           // no snakes
    118, 118, 118,  // culled
    64, 64, 78, 79, 79, 80, 26, 31,
    459, 459.0 * 6 / 7, 154,  // texture block (7 commands), palette (6 commands, priced as 6 of the 7), call
};

// F3DEX3, measured.
const MicrocodeCosts f3dex3Costs = {
    21, 26,         // fetch: 26 per 21 commands
    198, 173, 0,    // load command
    157, 132,       // per vertex pair
    292,            // first lit load
    293, 287.5,     // drawn triangle alone / in a pair
    0,              // texturing adds no RSP work
    30,             // one flush of the 176-byte output buffer per two drawn triangles
    25, 288,        // snake command, snake triangle
    69, 63.5, 64,   // culled
    15, 16, 28, 29, 29, 28, 17, 15,
    124.5, 124.5 * 6 / 7, 92,
};

}

const MicrocodeCosts& CostsOf(Microcode microcode)
{
    // Without measurements of their own, F3DEX and F3DEX2 take F3DEX3's figures.
    return microcode == Microcode::F3D ? fast3dCosts : f3dex3Costs;
}

const MicrocodeCosts& CostsOf(const CacheLayout& cache)
{
    return cache.pairs ? f3dex3Costs : fast3dCosts;
}

double ModelledInstructions(const CostCounts& n, const MicrocodeCosts& c)
{
    return double(n.litLoads) * c.loadLit + double(n.unlitLoads) * c.loadUnlit + double(n.evenLoads) * c.loadEvenExtra +
           double(n.litPairs) * c.pairLit + double(n.unlitPairs) * c.pairUnlit +
           double(n.firstLitLoads) * c.firstLitLoad + double(n.oneTriangles) * c.oneTriangle +
           double(n.pairedTriangles) * c.pairedTriangle + double(n.snakes) * c.snake +
           double(n.snakeTriangles) * c.snakeTriangle + double(n.oneCulled) * c.oneCulled +
           double(n.pairedCulled) * c.pairedCulled + double(n.snakeCulled) * c.snakeCulled +
           double(n.texturedTriangles) * c.texturedExtra + double(n.flushes) * c.flushPerTwo +
           double(n.fetches) * c.fetch + double(n.syncs) * c.sync + n.state;
}

void CostMeter::Word()
{
    if (wordsInFetch == 0) {
        ++counts.fetches;
    }
    wordsInFetch = (wordsInFetch + 1) % uint64_t(costs.commandsPerFetch);
}

void CostMeter::Restart()
{
    wordsInFetch = 0;
}

void CostMeter::Drawn(uint64_t triangles)
{
    drawnTriangles += triangles;
    if (textured) {
        counts.texturedTriangles += triangles;
    }
}

void CostMeter::Add(const Command& command, const std::vector<uint32_t>* rowKeys)
{
    const bool load = command.kind == Command::LoadTexture || command.kind == Command::LoadTextureTile;
    const uint64_t words = load ? 7 : command.kind == Command::LoadPalette ? 6 : 1;
    for (uint64_t w = 0; w < words; ++w) {
        Word();
    }
    if (command.kind != Command::Vertex && command.kind != Command::Triangle &&
        command.kind != Command::TrianglePair && command.kind != Command::PipeSync &&
        command.kind != Command::TriangleSnake && command.kind != Command::SnakeContinuation) {
        stateWords += words;
    }
    switch (command.kind) {
    case Command::Vertex: {
        (lighting ? counts.litLoads : counts.unlitLoads) += 1;
        counts.evenLoads += command.b % 2 == 0 ? 1 : 0;
        (lighting ? counts.litPairs : counts.unlitPairs) += (uint64_t(command.b) + 1) / 2;
        if (lighting && counts.firstLitLoads == 0) {
            counts.firstLitLoads = 1;
        }
        for (uint32_t r = command.a; r < command.a + command.b; ++r) {
            const uint32_t key = rowKeys && r < rowKeys->size() ? (*rowKeys)[r] : r;
            if (key >= keySeen.size()) {
                keySeen.resize(size_t(key) + 1 + keySeen.size() / 2, 0);
            }
            if (keySeen[key] == 0) {
                keySeen[key] = lighting ? 1 : 2;
                ++(lighting ? litKeys : unlitKeys);
            }
        }
        break;
    }
    case Command::Triangle:
        ++counts.oneTriangles;
        Drawn(1);
        break;
    case Command::TrianglePair:
        counts.pairedTriangles += 2;
        Drawn(2);
        break;
    case Command::TriangleSnake:
        ++counts.snakes;
        counts.snakeTriangles += command.e;
        Drawn(command.e);
        break;
    case Command::SnakeContinuation:
        break;
    case Command::PipeSync:
        ++counts.syncs;
        break;
    case Command::Call:
        counts.state += costs.call;
        Restart();
        break;
    case Command::SetGeometryMode:
    case Command::ClearGeometryMode:
        counts.state += costs.geometryMode;
        if (command.a & geometryLighting) {
            lighting = command.kind == Command::SetGeometryMode;
        }
        break;
    case Command::SetCombine:
    case Command::SetPrimColour:
        counts.state += costs.colour;
        break;
    case Command::SetRenderMode:
        counts.state += costs.renderMode;
        break;
    case Command::Texture:
        counts.state += costs.texture;
        textured = command.a != 0;
        break;
    case Command::LoadTexture:
    case Command::LoadTextureTile:  // a tile's load is the same macro, seven commands
        counts.state += costs.loadTexture;
        break;
    case Command::LoadPalette:
        counts.state += costs.loadPalette;
        break;
    case Command::SetTextureLUT:
        counts.state += costs.textureLut;
        break;
    case Command::SetCycleOne:
        counts.state += costs.cycleType;
        break;
    case Command::AlphaCompareNone:
        counts.state += costs.alphaCompare;
        break;
    case Command::End:
        Restart();
        break;
    }
}

void CostMeter::Finish()
{
    counts.flushes = drawnTriangles / 2;
}

double CostMeter::LowerBound(int maxLoad) const
{
    const uint64_t full = uint64_t(maxLoad > 0 ? maxLoad : 1);
    const uint64_t keys = litKeys + unlitKeys;
    const uint64_t loads = (keys + full - 1) / full;
    CostCounts best;
    // The cheaper load command for all of them; the vertices lit or unlit as they were first loaded.
    (unlitKeys > 0 ? best.unlitLoads : best.litLoads) = loads;
    best.evenLoads = keys / full * (full % 2 == 0 ? 1 : 0) + (keys % full % 2 == 0 && keys % full != 0 ? 1 : 0);
    best.litPairs = (litKeys + 1) / 2;
    best.unlitPairs = (unlitKeys + 1) / 2;
    best.firstLitLoads = litKeys > 0 ? 1 : 0;
    uint64_t triangleWords = drawnTriangles;
    if (costs.pairedTriangle > 0) {
        best.pairedTriangles = drawnTriangles / 2 * 2;
        best.oneTriangles = drawnTriangles % 2;
        triangleWords = (drawnTriangles + 1) / 2;
    } else {
        best.oneTriangles = drawnTriangles;
    }
    best.texturedTriangles = counts.texturedTriangles;
    best.flushes = drawnTriangles / 2;
    best.syncs = counts.syncs > 0 ? 1 : 0;
    best.state = counts.state;
    const uint64_t words = loads + triangleWords + best.syncs + stateWords;
    best.fetches = (words + uint64_t(costs.commandsPerFetch) - 1) / uint64_t(costs.commandsPerFetch);
    return ModelledInstructions(best, costs);
}
