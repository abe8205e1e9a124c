#ifndef POLVANE_COSTMODEL_H
#define POLVANE_COSTMODEL_H

#include <cstdint>
#include <vector>

#include "console/cachelayout.h"
#include "console/consoleplan.h"
#include "run/settings.h"

// What the console's RSP spends on a display list, in instructions, priced command by command from measurements
// of the microcodes (one directional light plus ambient, every triangle drawn). F3DEX and F3DEX2 were not
// measured and take F3DEX3's figures, whose vertex path and buffered output they share.
struct MicrocodeCosts {
    int commandsPerFetch;      // list commands one fetch brings in
    double fetch;              // per fetch; fetching restarts at every call and return
    double loadLit, loadUnlit; // per vertex load command
    double loadEvenExtra;      // per load of an even count (Fast3D)
    double pairLit, pairUnlit; // per vertex pair of a load: ceil(count / 2)
    double firstLitLoad;       // once, the first lit load of the lists (the lights are computed)
    double oneTriangle;        // a drawn triangle of gsSP1Triangle
    double pairedTriangle;     // each drawn triangle of gsSP2Triangles; 0: the microcode has no such command
    double texturedExtra;      // per drawn triangle while texturing is on
    double flushPerTwo;        // the output buffer's flush, once per two drawn triangles
    double snake;              // per snake command
    double snakeTriangle;      // per drawn triangle of a snake
    double oneCulled, pairedCulled, snakeCulled;  // back-face culled triangles
    double sync, colour, renderMode, cycleType, textureLut, alphaCompare, geometryMode, texture;
    double loadTexture, loadPalette, call;
};

const MicrocodeCosts& CostsOf(Microcode microcode);
// By the cache layout: Fast3D draws one triangle per command, the F3DEX family two (and prices as F3DEX3).
const MicrocodeCosts& CostsOf(const CacheLayout& cache);

// What a list draws and loads, counted for pricing.
struct CostCounts {
    uint64_t litLoads = 0, unlitLoads = 0, evenLoads = 0;
    uint64_t litPairs = 0, unlitPairs = 0;
    uint64_t firstLitLoads = 0;
    uint64_t oneTriangles = 0, pairedTriangles = 0, snakes = 0, snakeTriangles = 0;
    uint64_t oneCulled = 0, pairedCulled = 0, snakeCulled = 0;
    uint64_t texturedTriangles = 0;
    uint64_t flushes = 0;
    uint64_t fetches = 0;
    uint64_t syncs = 0;
    double state = 0;  // every other command, priced as it is counted
};

double ModelledInstructions(const CostCounts& counts, const MicrocodeCosts& costs);

// Counts and prices commands in the order the RSP reads them. A vertex row loaded is known by a key (the vertex
// it holds), so that the lower bound can count distinct vertices.
class CostMeter {
public:
    CostMeter(const MicrocodeCosts& prices, bool lit) : costs(prices), lighting(lit) {}

    // One command of the list; rowKeys maps a loaded row to its key (null: the row is its own key).
    void Add(const Command& command, const std::vector<uint32_t>* rowKeys = nullptr);
    // Fetching starts anew: a call or a return.
    void Restart();
    void Finish();

    const CostCounts& Counts() const { return counts; }
    double Instructions() const { return ModelledInstructions(counts, costs); }
    // Every drawn triangle once in the cheapest command, every distinct vertex loaded once in full loads of
    // maxLoad, the state commands as counted and a single sync.
    double LowerBound(int maxLoad) const;

private:
    void Word();
    void Drawn(uint64_t triangles);

    const MicrocodeCosts& costs;
    CostCounts counts;
    bool lighting;
    bool textured = false;
    uint64_t wordsInFetch = 0;
    uint64_t drawnTriangles = 0;
    uint64_t stateWords = 0;
    std::vector<uint8_t> keySeen;  // per key: 0 unseen, 1 first loaded lit, 2 unlit
    uint64_t litKeys = 0, unlitKeys = 0;
};

#endif
