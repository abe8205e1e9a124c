#include "plan/cacheoptimizer.h"

#include "check.h"
#include "plan/displaylist.h"

#include <algorithm>
#include <unordered_map>

namespace polvane {

namespace {

const uint32_t none = 0xFFFFFFFFu;
// No cache slot (caches have at most 64).
const uint8_t noSlot = 0xFF;
// cachedCorners of a drawn triangle: its count is no longer kept.
const uint8_t drawnMark = 4;
// Marks a step as a load; the next step word is its first row.
const uint32_t loadStep = 0x80000000u;

// How many undrawn triangles of one vertex are looked at when searching for a triangle to go on with.
const uint32_t maxScansPerVertex = 64;

// A drawn corner is found in its vertex's list by a scan when the vertex has at most this many triangles; the
// corners of vertices with more keep their positions in a table.
const uint32_t maxScannedDegree = 32;

// How many triangles lacking one corner are compared when choosing the next vertex to load.
const uint32_t maxNearReadyLooks = 256;

// Free slots apart from the longest run are filled only in runs of at least this many slots (unless a batch is
// one load): shorter runs wait until their neighbours free too, which saves load commands.
const uint32_t minExtraRun = 4;

// Sweep bands are sampled in this many places to choose a batch size for a large mesh, each a twentieth of the
// mesh: long runs of bands are swept as the whole mesh is, short ones favour small batches.
const uint32_t sampleGroups = 2;

// Eviction cost of a slot holding a corner of the triangle the room is made for: never chosen.
const uint64_t blockedSlot = uint64_t(1) << 62;

// A triangle lacking one corner, with what choosing the next load looks at, so that the choice reads one array.
struct NearReady {
    uint32_t triangle;
    uint32_t band;
    uint32_t missing;   // the corner not cached
    uint32_t cached[2]; // the other two
};

template <typename T>
void Release(std::vector<T>& array)
{
    std::vector<T>().swap(array);
}

// Positions of triangles in a list, by triangle number: a hash table, since few triangles are in the list at once
// (an array over all triangles would take 4 bytes a triangle).
class PositionTable {
public:
    void Clear() { entries.assign(16, Entry{none, 0}); count = 0; }
    void Release() { std::vector<Entry>().swap(entries); }
    void Set(uint32_t triangle, uint32_t position)
    {
        if (2 * (count + 1) > entries.size()) {
            Grow();
        }
        Entry& entry = entries[Find(triangle)];
        if (entry.triangle == none) {
            entry.triangle = triangle;
            ++count;
        }
        entry.position = position;
    }
    uint32_t Get(uint32_t triangle) const
    {
        const Entry& entry = entries[Find(triangle)];
        POLVANE_CHECK(entry.triangle == triangle);
        return entry.position;
    }
    void Erase(uint32_t triangle)
    {
        const size_t mask = entries.size() - 1;
        size_t hole = Find(triangle);
        POLVANE_CHECK(entries[hole].triangle == triangle);
        // Entries after the hole move back into it unless they would then sit before their home.
        for (size_t next = (hole + 1) & mask; entries[next].triangle != none; next = (next + 1) & mask) {
            const size_t home = Home(entries[next].triangle) & mask;
            if (((next - home) & mask) >= ((next - hole) & mask)) {
                entries[hole] = entries[next];
                hole = next;
            }
        }
        entries[hole].triangle = none;
        --count;
    }

private:
    struct Entry {
        uint32_t triangle;
        uint32_t position;
    };
    static size_t Home(uint32_t triangle) { return size_t(triangle * 2654435761u); }
    size_t Find(uint32_t triangle) const
    {
        const size_t mask = entries.size() - 1;
        size_t i = Home(triangle) & mask;
        while (entries[i].triangle != none && entries[i].triangle != triangle) {
            i = (i + 1) & mask;
        }
        return i;
    }
    void Grow()
    {
        std::vector<Entry> old(2 * entries.size(), Entry{none, 0});
        old.swap(entries);
        for (const Entry& entry : old) {
            if (entry.triangle != none) {
                entries[Find(entry.triangle)] = entry;
            }
        }
    }
    std::vector<Entry> entries;
    size_t count = 0;
};

struct Candidate {
    uint32_t triangle = none;
    uint32_t missing = 0;
};

// Simulates the cache while it chooses the order, batch by batch. A batch first draws every triangle whose
// corners are all cached, which frees the slots of vertices with nothing left to draw; then it fills free slots
// with the vertices that make the most triangles drawable (those lacking one corner first), and loads them.
// A vertex with triangles left leaves the cache only when the next triangle finds no free slot (or a batch
// would start with fewer than minBatch free slots); then the neighbouring slots whose vertices were used least
// recently are given up together, so that the next load is one command.
//
// The mesh is swept in bands: triangles are grouped by their distance from one end of their connected part,
// half a cache wide, and a band is finished before the next begins. Inside a band the front of cached vertices
// stays short enough for the cache, so vertices are loaded about once, plus once more along band borders; a
// front that grew freely over a large mesh would not fit and would be loaded again and again.
class CacheOrder {
public:
    // With `bands` (one per vertex; a triangle's band is the least of its corners', and the triangles' bands
    // never fall; none degenerate), the triangles are swept in those bands instead of bands of their own, which
    // are bandWidth levels wide (0: half the cache).
    CacheOrder(const uint32_t* indices, size_t numIndices, uint32_t numVertices, int cacheSize, BatchRule rule,
               const std::vector<uint32_t>* bands = nullptr, int bandWidth = 0);
    void Run();
    // Gives up the search's own arrays first: only the steps, the corners and the rows are needed.
    // With `again`, keeps the triangles and their bands for Restart.
    OptimizedList Emit(int maxLoad, bool again = false);
    // Makes ready for another Run with a different rule, the bands as they were.
    void Restart(BatchRule rule, bool again);
    uint32_t NumTriangles() const { return numTriangles; }
    // The triangles of `groups` runs of neighbouring bands spread evenly over the bands, each run at least
    // groupTriangles long where the mesh allows, with their vertices numbered afresh from 0 (numSampleVertices).
    // sampleBands receives the band of each sample vertex, renumbered from 0 without gaps.
    std::vector<uint32_t> BandSample(uint32_t groups, uint32_t groupTriangles, uint32_t& numSampleVertices,
                                     std::vector<uint32_t>& sampleBands) const;

private:
    void BuildNeighbours();
    // The search's arrays for one Run, made when it begins so that they take no room before.
    void Prepare();
    void Draw(uint32_t triangle);
    void RemoveCorner(uint32_t corner);
    void Load(uint32_t vertex, uint32_t slot);
    void Evict(uint32_t vertex);
    void AddNearReady(uint32_t triangle);
    void RemoveNearReady(uint32_t triangle);
    void BuildBatch();
    void AdvanceBand();
    void GiveUpLaterBands();
    Candidate Choose();
    void MakeRoom(const Candidate& candidate, uint32_t wanted);
    void FreeSlotOrder(uint32_t minRun, std::vector<uint32_t>& order) const;
    uint32_t ReadyGain(uint32_t vertex) const;
    bool IsCorner(uint32_t vertex, uint32_t triangle) const;
    void ComputeBands(uint32_t width);
    uint32_t Farthest(uint32_t start, std::vector<uint32_t>& distance, std::vector<uint32_t>& queue,
                      std::vector<uint64_t>& reached, bool mark) const;
    uint32_t SeedInBand(uint32_t band);
    uint32_t BandOf(uint32_t triangle) const
    {
        const uint32_t* c = corners + 3 * size_t(triangle);
        return std::min(vertexBand[c[0]], std::min(vertexBand[c[1]], vertexBand[c[2]]));
    }
    void CountBands(uint32_t numBands);

    uint32_t numVertices;
    uint32_t cacheSize;
    uint32_t minBatch; // free slots a batch starts with, evicting when needed
    uint32_t extraRun; // the shortest run of free slots a batch fills besides the longest; none: the longest alone
    // Three per kept triangle: the caller's indices when no triangle is dropped, else ownCorners.
    const uint32_t* corners = nullptr;
    std::vector<uint32_t> ownCorners;
    uint32_t numTriangles = 0;
    uint32_t numDrawn = 0;

    // The undrawn triangles of vertex v are the corners adj[adjStart[v] .. adjStart[v] + live[v]).
    std::vector<uint32_t> adjStart;
    std::vector<uint32_t> adj;
    // Per corner of a vertex with more than maxScannedDegree triangles: its position in adj.
    std::unordered_map<uint32_t, uint32_t> manyPos;
    std::vector<uint32_t> live;   // per vertex: undrawn triangles

    std::vector<uint8_t> slotOf;      // per vertex, or noSlot
    std::vector<uint32_t> slotVertex; // per slot, or none (a slot whose vertex has nothing left to draw is free)
    std::vector<uint8_t> cachedCorners; // per triangle; drawnMark once drawn
    std::vector<NearReady> nearReady;   // undrawn triangles with exactly two cached corners
    // Per vertex: how many of its triangles are in nearReady, modulo 2^16 (read only for vertices with at most
    // maxScansPerVertex triangles left, whose count is below that).
    std::vector<uint16_t> nearCount;
    PositionTable nearReadyPos;         // of the triangles in nearReady
    std::vector<uint32_t> ready;        // undrawn triangles with three cached corners
    // Per slot: when its vertex was last used. The clock ticks once a drawn triangle and once a loaded vertex;
    // should it ever wrap, only the choice of vertices to evict would suffer, never the list.
    uint32_t slotUse[64] = {};
    uint32_t clock = 0;
    std::vector<uint32_t> deadEnds; // vertices evicted with triangles left to draw, latest last

    // Bands: triangles grouped by their distance (in edges) from an end of their connected part of the mesh.
    // A vertex's band is that of its level; a triangle's is the least of its corners' (BandOf), which needs a
    // quarter of the memory a band per triangle would on most meshes.
    std::vector<uint32_t> vertexBand; // per vertex
    std::vector<uint32_t> bandStart;  // per band: its first position in bandList
    std::vector<uint32_t> bandList;   // triangles, band by band, each band level by level
    std::vector<uint32_t> bandCursor; // per band: triangles before it in bandList are drawn or drawable
    std::vector<uint32_t> bandLeft;   // per band: undrawn triangles
    uint32_t currentBand = 0;

    // The optimised order: a triangle's number, or a load: loadStep | count << 8 | first slot, then its first row
    // of the vertex array.
    std::vector<uint32_t> steps;
    // Kept from batch to batch so that building one allocates nothing.
    std::vector<uint32_t> scratchOrder, scratchSlots, scratchKnown, scratchFresh, scratchPlaced;
    std::vector<uint32_t> rowVertex;
    std::vector<uint32_t> lastRow; // per vertex: its latest row in rowVertex, or none
};

CacheOrder::CacheOrder(const uint32_t* indices, size_t numIndices, uint32_t numVerticesIn, int cacheSizeIn,
                       BatchRule rule, const std::vector<uint32_t>* bands, int bandWidth)
    : numVertices(numVerticesIn), cacheSize(static_cast<uint32_t>(cacheSizeIn))
{
    size_t kept = 0;
    for (size_t i = 0; i + 2 < numIndices; i += 3) {
        uint32_t a = indices[i];
        uint32_t b = indices[i + 1];
        uint32_t c = indices[i + 2];
        POLVANE_CHECK(a < numVertices && b < numVertices && c < numVertices);
        kept += IsDegenerate(a, b, c) ? 0 : 1;
    }
    if (kept == numIndices / 3) {
        corners = indices;
    } else {
        ownCorners.reserve(3 * kept);
        for (size_t i = 0; i + 2 < numIndices; i += 3) {
            if (!IsDegenerate(indices[i], indices[i + 1], indices[i + 2])) {
                ownCorners.insert(ownCorners.end(), indices + i, indices + i + 3);
            }
        }
        corners = ownCorners.data();
    }
    numTriangles = static_cast<uint32_t>(kept);
    BuildNeighbours();
    if (bands) {
        POLVANE_CHECK(bands->size() == numVertices);
        vertexBand = *bands;
        uint32_t numBands = 0;
        for (uint32_t t = 0; t < numTriangles; ++t) {
            POLVANE_CHECK(BandOf(t) + 1 >= numBands);
            numBands = BandOf(t) + 1;
        }
        CountBands(numBands);
        bandList.resize(numTriangles);
        for (uint32_t t = 0; t < numTriangles; ++t) {
            bandList[t] = t;
        }
        bandCursor.assign(bandStart.begin(), bandStart.end() - 1);
    } else {
        // A band as wide as half the cache leaves room for the next row of vertices next to the current one.
        ComputeBands(bandWidth > 0 ? uint32_t(bandWidth) : std::max<uint32_t>(1, cacheSize / 2));
    }
    Restart(rule, false);
}

// bandStart and bandLeft from the triangles' bands.
void CacheOrder::CountBands(uint32_t numBands)
{
    bandStart.assign(numBands + 1, 0);
    bandLeft.assign(numBands, 0);
    for (uint32_t t = 0; t < numTriangles; ++t) {
        const uint32_t band = BandOf(t);
        ++bandStart[band + 1];
        ++bandLeft[band];
    }
    for (uint32_t b = 0; b < numBands; ++b) {
        bandStart[b + 1] += bandStart[b];
    }
}

void CacheOrder::BuildNeighbours()
{
    live.assign(numVertices, 0);
    for (uint32_t c = 0; c < 3 * numTriangles; ++c) {
        ++live[corners[c]];
    }
    adjStart.assign(numVertices + 1, 0);
    for (uint32_t v = 0; v < numVertices; ++v) {
        adjStart[v + 1] = adjStart[v] + live[v];
    }
    adj.assign(3 * size_t(numTriangles), 0);
    manyPos.clear();
    std::vector<uint32_t> fill(adjStart.begin(), adjStart.end() - 1);
    for (uint32_t c = 0; c < 3 * numTriangles; ++c) {
        adj[fill[corners[c]]++] = c;
    }
    for (uint32_t v = 0; v < numVertices; ++v) {
        if (live[v] > maxScannedDegree) {
            for (uint32_t p = adjStart[v]; p < adjStart[v + 1]; ++p) {
                manyPos[adj[p]] = p;
            }
        }
    }
}

void CacheOrder::Restart(BatchRule rule, bool again)
{
    minBatch = static_cast<uint32_t>(rule.minBatch);
    extraRun = rule.oneLoad ? none : minExtraRun;
    if (again) {
        // Drawing reordered the neighbour lists; the next run starts from the same order as the first.
        BuildNeighbours();
        numDrawn = 0;
        clock = 0;
        currentBand = 0;
        ready.clear();
        nearReady.clear();
        deadEnds.clear();
        rowVertex.clear();
        std::fill(bandLeft.begin(), bandLeft.end(), 0u);
        for (uint32_t t = 0; t < numTriangles; ++t) {
            ++bandLeft[BandOf(t)];
        }
        bandCursor.assign(bandStart.begin(), bandStart.end() - 1);
    }
}

void CacheOrder::Prepare()
{
    slotOf.assign(numVertices, noSlot);
    slotVertex.assign(cacheSize, none);
    cachedCorners.assign(numTriangles, 0);
    nearReadyPos.Clear();
    nearCount.assign(numVertices, 0);
    std::fill(slotUse, slotUse + 64, 0u);
    lastRow.assign(numVertices, none);
    // Most vertices are written once, some twice: room for a quarter more saves growing the array at its largest.
    rowVertex.reserve(numVertices + numVertices / 4);
}

// Breadth-first distances from `start` over the edges of the triangles; returns the vertex reached last. A
// triangle's corners are all reached the first time it is met, so `reached` (a bit per triangle) lets the search
// pass over it from its other corners: its bit is set to `mark` then. Every triangle of the part is met, so two
// searches of one part, with `mark` true and then false, leave the bits as they found them.
uint32_t CacheOrder::Farthest(uint32_t start, std::vector<uint32_t>& distance, std::vector<uint32_t>& queue,
                              std::vector<uint64_t>& reached, bool mark) const
{
    queue.clear();
    queue.push_back(start);
    distance[start] = 0;
    for (size_t head = 0; head < queue.size(); ++head) {
        uint32_t v = queue[head];
        for (uint32_t i = adjStart[v]; i < adjStart[v + 1]; ++i) {
            uint32_t t = adj[i] / 3;
            uint64_t& word = reached[t / 64];
            const uint64_t bit = uint64_t(1) << (t % 64);
            if (((word & bit) != 0) == mark) {
                continue;
            }
            word ^= bit;
            for (uint32_t k = 0; k < 3; ++k) {
                uint32_t w = corners[3 * t + k];
                if (distance[w] == none) {
                    distance[w] = distance[v] + 1;
                    queue.push_back(w);
                }
            }
        }
    }
    return queue.back();
}

void CacheOrder::ComputeBands(uint32_t width)
{
    // Levels: the distance of a triangle's nearest corner from the start of its part, counted on from the
    // levels of the parts before it. A band is `width` neighbouring levels of one part.
    std::vector<uint32_t> distance(numVertices, none); // per vertex, once its part is done: its level
    std::vector<uint32_t> levelBand;                   // per level
    std::vector<uint32_t> queue;
    std::vector<uint64_t> reached((numTriangles + 63) / 64, 0);
    uint32_t numBands = 0;
    for (uint32_t c = 0; c < 3 * numTriangles; ++c) {
        uint32_t v = corners[c];
        if (distance[v] != none) {
            continue;
        }
        // Start from the vertex farthest from the part's first vertex: an end of the part.
        uint32_t end = Farthest(v, distance, queue, reached, true);
        for (uint32_t w : queue) {
            distance[w] = none;
        }
        Farthest(end, distance, queue, reached, false);
        const uint32_t deepest = distance[queue.back()];
        const uint32_t firstLevel = static_cast<uint32_t>(levelBand.size());
        for (uint32_t w : queue) {
            distance[w] += firstLevel;
        }
        for (uint32_t d = 0; d <= deepest; ++d) {
            levelBand.push_back(numBands + d / width);
        }
        numBands += deepest / width + 1;
    }
    Release(queue);
    Release(reached);
    const uint32_t numLevels = static_cast<uint32_t>(levelBand.size());
    // The corners of a triangle lie in one part, so the least of their levels is the triangle's.
    const auto levelOf = [&](uint32_t t) {
        return std::min(distance[corners[3 * t]], std::min(distance[corners[3 * t + 1]], distance[corners[3 * t + 2]]));
    };
    std::vector<uint32_t> levelStart(numLevels + 1, 0);
    for (uint32_t t = 0; t < numTriangles; ++t) {
        ++levelStart[levelOf(t) + 1];
    }
    for (uint32_t l = 0; l < numLevels; ++l) {
        levelStart[l + 1] += levelStart[l];
    }
    // Level by level, so that a band's first undrawn triangle is the nearest to where the band begins; bands
    // are runs of levels, so the list is also band by band.
    bandList.assign(numTriangles, 0);
    for (uint32_t t = 0; t < numTriangles; ++t) {
        bandList[levelStart[levelOf(t)]++] = t;
    }
    Release(levelStart);
    // Bands never fall as levels rise, so the least band of a triangle's corners is the band of its level.
    for (uint32_t& level : distance) {
        if (level != none) {
            level = levelBand[level];
        }
    }
    vertexBand = std::move(distance);
    CountBands(numBands);
    bandCursor.assign(bandStart.begin(), bandStart.end() - 1);
}

std::vector<uint32_t> CacheOrder::BandSample(uint32_t groups, uint32_t groupTriangles, uint32_t& numSampleVertices,
                                            std::vector<uint32_t>& sampleBands) const
{
    const uint32_t numBands = static_cast<uint32_t>(bandLeft.size());
    std::vector<uint32_t> newNumber(numVertices, none);
    // The sample's band of each band taken, renumbered without gaps; then of every band, that of the last band
    // taken up to it, so that the least of a sample triangle's corners' bands is its own.
    std::vector<uint32_t> bandNumber(numBands, none);
    uint32_t numSampleBands = 0;
    std::vector<uint32_t> sample;
    numSampleVertices = 0;
    uint32_t band = 0;
    for (uint32_t g = 0; g < groups; ++g) {
        band = std::max(band, static_cast<uint32_t>(uint64_t(numBands) * (2 * g + 1) / (2 * groups)));
        for (uint32_t taken = 0; band < numBands && taken < groupTriangles; ++band) {
            if (bandStart[band] < bandStart[band + 1]) {
                bandNumber[band] = numSampleBands++;
            }
            for (uint32_t i = bandStart[band]; i < bandStart[band + 1]; ++i, ++taken) {
                for (uint32_t k = 0; k < 3; ++k) {
                    uint32_t& number = newNumber[corners[3 * bandList[i] + k]];
                    if (number == none) {
                        number = numSampleVertices++;
                    }
                    sample.push_back(number);
                }
            }
        }
    }
    for (uint32_t b = 1; b < numBands; ++b) {
        if (bandNumber[b] == none) {
            bandNumber[b] = bandNumber[b - 1];
        }
    }
    sampleBands.assign(numSampleVertices, 0);
    for (uint32_t v = 0; v < numVertices; ++v) {
        if (newNumber[v] != none) {
            sampleBands[newNumber[v]] = bandNumber[vertexBand[v]];
        }
    }
    return sample;
}

// An undrawn triangle of `band` that is not drawable yet, or none.
uint32_t CacheOrder::SeedInBand(uint32_t band)
{
    uint32_t& cursor = bandCursor[band];
    while (cursor < bandStart[band + 1] && cachedCorners[bandList[cursor]] >= 3) {
        ++cursor;
    }
    return cursor < bandStart[band + 1] ? bandList[cursor] : none;
}

void CacheOrder::Run()
{
    Prepare();
    // A triangle a step, and a load every few triangles.
    steps.reserve(numTriangles + numTriangles / 4 + 16);
    while (numDrawn < numTriangles) {
        // Drawing never loads, so `ready` does not grow while it is walked.
        for (uint32_t t : ready) {
            Draw(t);
        }
        ready.clear();
        if (numDrawn == numTriangles) {
            break;
        }
        BuildBatch();
    }
}

void CacheOrder::Draw(uint32_t triangle)
{
    POLVANE_CHECK(cachedCorners[triangle] == 3);
    cachedCorners[triangle] = drawnMark;
    ++numDrawn;
    --bandLeft[BandOf(triangle)];
    ++clock;
    steps.push_back(triangle);
    for (uint32_t k = 0; k < 3; ++k) {
        uint32_t corner = 3 * triangle + k;
        uint32_t v = corners[corner];
        RemoveCorner(corner);
        slotUse[slotOf[v]] = clock;
        if (live[v] == 0) {
            // Nothing left to draw: the slot may be overwritten by the next load.
            slotVertex[slotOf[v]] = none;
            slotOf[v] = noSlot;
        }
    }
}

void CacheOrder::RemoveCorner(uint32_t corner)
{
    uint32_t v = corners[corner];
    uint32_t last = adjStart[v] + live[v] - 1;
    uint32_t moved = adj[last];
    uint32_t p = adjStart[v];
    if (adjStart[v + 1] - adjStart[v] > maxScannedDegree) {
        p = manyPos[corner];
        manyPos[moved] = p;
        manyPos[corner] = last;
    } else {
        while (adj[p] != corner) {
            ++p;
            POLVANE_CHECK(p <= last);
        }
    }
    adj[p] = moved;
    adj[last] = corner;
    --live[v];
}

void CacheOrder::Load(uint32_t vertex, uint32_t slot)
{
    POLVANE_CHECK(slotOf[vertex] == noSlot && slotVertex[slot] == none);
    slotOf[vertex] = static_cast<uint8_t>(slot);
    slotVertex[slot] = vertex;
    slotUse[slot] = ++clock;
    for (uint32_t i = adjStart[vertex]; i < adjStart[vertex] + live[vertex]; ++i) {
        uint32_t t = adj[i] / 3;
        uint8_t count = ++cachedCorners[t];
        if (count == 2) {
            AddNearReady(t);
        } else if (count == 3) {
            RemoveNearReady(t);
            ready.push_back(t);
        }
    }
}

void CacheOrder::Evict(uint32_t vertex)
{
    uint32_t slot = slotOf[vertex];
    for (uint32_t i = adjStart[vertex]; i < adjStart[vertex] + live[vertex]; ++i) {
        uint32_t t = adj[i] / 3;
        uint8_t count = cachedCorners[t]--;
        POLVANE_CHECK(count != 3);
        if (count == 2) {
            RemoveNearReady(t);
        }
    }
    slotOf[vertex] = noSlot;
    slotVertex[slot] = none;
    deadEnds.push_back(vertex);
}

void CacheOrder::AddNearReady(uint32_t triangle)
{
    nearReadyPos.Set(triangle, static_cast<uint32_t>(nearReady.size()));
    NearReady entry{triangle, BandOf(triangle), none, {none, none}};
    uint32_t numCached = 0;
    for (uint32_t k = 0; k < 3; ++k) {
        uint32_t v = corners[3 * triangle + k];
        ++nearCount[v];
        if (slotOf[v] == noSlot) {
            entry.missing = v;
        } else {
            entry.cached[numCached++] = v;
        }
    }
    nearReady.push_back(entry);
}

void CacheOrder::RemoveNearReady(uint32_t triangle)
{
    for (uint32_t k = 0; k < 3; ++k) {
        --nearCount[corners[3 * triangle + k]];
    }
    uint32_t p = nearReadyPos.Get(triangle);
    NearReady moved = nearReady.back();
    nearReady[p] = moved;
    nearReadyPos.Set(moved.triangle, p);
    nearReady.pop_back();
    nearReadyPos.Erase(triangle);
}

bool CacheOrder::IsCorner(uint32_t vertex, uint32_t triangle) const
{
    return corners[3 * triangle] == vertex || corners[3 * triangle + 1] == vertex || corners[3 * triangle + 2] == vertex;
}

// Free slots in the order they are filled: longest runs of neighbouring free slots first, so that one batch needs
// as few load commands as possible.
void CacheOrder::FreeSlotOrder(uint32_t minRun, std::vector<uint32_t>& order) const
{
    struct Run {
        uint32_t start;
        uint32_t length;
    };
    Run runs[64];
    uint32_t numRuns = 0;
    for (uint32_t s = 0; s < cacheSize; ++s) {
        if (slotVertex[s] != none) {
            continue;
        }
        if (numRuns > 0 && runs[numRuns - 1].start + runs[numRuns - 1].length == s) {
            ++runs[numRuns - 1].length;
        } else {
            runs[numRuns++] = Run{s, 1};
        }
    }
    // Longest first, runs of equal length in slot order (an insertion sort: there are few runs).
    for (uint32_t i = 1; i < numRuns; ++i) {
        Run run = runs[i];
        uint32_t j = i;
        for (; j > 0 && runs[j - 1].length < run.length; --j) {
            runs[j] = runs[j - 1];
        }
        runs[j] = run;
    }
    order.clear();
    for (uint32_t r = 0; r < numRuns; ++r) {
        if (!order.empty() && runs[r].length < minRun) {
            break;
        }
        for (uint32_t i = 0; i < runs[r].length; ++i) {
            order.push_back(runs[r].start + i);
        }
    }
}

// Number of undrawn triangles that loading `vertex` would make drawable (counted among its first ones).
uint32_t CacheOrder::ReadyGain(uint32_t vertex) const
{
    if (live[vertex] <= maxScansPerVertex) {
        return nearCount[vertex];
    }
    uint32_t gain = 0;
    uint32_t end = adjStart[vertex] + maxScansPerVertex;
    for (uint32_t i = adjStart[vertex]; i < end; ++i) {
        if (cachedCorners[adj[i] / 3] == 2) {
            ++gain;
        }
    }
    return gain;
}

Candidate CacheOrder::Choose()
{
    AdvanceBand();
    // Load the vertex that makes the most triangles of the band drawable; among equals, the one next to the
    // cached vertices closest to having nothing left to draw, whose slots free soonest.
    Candidate best;
    int64_t bestScore = 0;
    uint32_t bestGain = 0;
    uint32_t looked = 0;
    for (const NearReady& near : nearReady) {
        if (++looked > maxNearReadyLooks) {
            break;
        }
        if (near.band != currentBand) {
            continue;
        }
        uint32_t t = near.triangle;
        // The gain outweighs any difference of the remaining counts, so a smaller gain never wins.
        const uint32_t gain = ReadyGain(near.missing);
        if (best.triangle != none && gain < bestGain) {
            continue;
        }
        uint32_t remaining = live[near.cached[0]] + live[near.cached[1]];
        int64_t score = static_cast<int64_t>(gain) * (int64_t(1) << 32) - remaining;
        if (best.triangle == none || score > bestScore || (score == bestScore && t < best.triangle)) {
            best.triangle = t;
            bestScore = score;
            bestGain = gain;
        }
    }
    if (best.triangle != none) {
        best.missing = 1;
        return best;
    }
    // No triangle of the band lacks only one corner: grow from the cached vertex with the fewest triangles left
    // that has a triangle in the band.
    std::pair<uint32_t, uint32_t> cached[64]; // (triangles left, vertex)
    uint32_t numCached = 0;
    for (uint32_t s = 0; s < cacheSize; ++s) {
        if (slotVertex[s] != none) {
            cached[numCached++] = {live[slotVertex[s]], slotVertex[s]};
        }
    }
    // Most often the first vertex has one: sort the others only when it has none.
    if (numCached > 0) {
        std::iter_swap(cached, std::min_element(cached, cached + numCached));
    }
    for (uint32_t c = 0; c < numCached && best.triangle == none; ++c) {
        if (c == 1) {
            std::sort(cached + 1, cached + numCached);
        }
        uint32_t v = cached[c].second;
        uint32_t end = adjStart[v] + std::min(live[v], maxScansPerVertex);
        for (uint32_t i = adjStart[v]; i < end; ++i) {
            uint32_t t = adj[i] / 3;
            if (cachedCorners[t] == 1 && BandOf(t) == currentBand) {
                best.triangle = t;
                break;
            }
        }
    }
    if (best.triangle != none) {
        best.missing = 2;
        return best;
    }
    // Nothing cached leads into the band: go on next to the latest vertex that had to leave the cache early, or
    // else with the band's first undrawn triangle.
    while (!deadEnds.empty() && (live[deadEnds.back()] == 0 || slotOf[deadEnds.back()] != noSlot)) {
        deadEnds.pop_back();
    }
    for (size_t d = deadEnds.size(), checked = 0; d > 0 && checked < maxScansPerVertex; --d, ++checked) {
        uint32_t v = deadEnds[d - 1];
        if (live[v] == 0 || slotOf[v] != noSlot) {
            continue;
        }
        uint32_t end = adjStart[v] + std::min(live[v], maxScansPerVertex);
        for (uint32_t i = adjStart[v]; i < end; ++i) {
            uint32_t t = adj[i] / 3;
            if (cachedCorners[t] < 3 && BandOf(t) == currentBand) {
                best.triangle = t;
                best.missing = 3u - cachedCorners[t];
                return best;
            }
        }
    }
    for (uint32_t band = currentBand; band < bandLeft.size(); ++band) {
        uint32_t t = SeedInBand(band);
        if (t != none) {
            best.triangle = t;
            best.missing = 3u - cachedCorners[t];
            return best;
        }
    }
    POLVANE_CHECK(best.triangle != none);
    return best;
}

// Frees `wanted` neighbouring slots (at least the candidate's missing corners) by evicting the cached vertices in
// the window of slots that costs least: fewest vertices to evict, then those used longest ago. The candidate's
// own corners stay.
void CacheOrder::MakeRoom(const Candidate& candidate, uint32_t wanted)
{
    wanted = std::min(std::max(wanted, candidate.missing), cacheSize);
    uint64_t cost[64];
    for (uint32_t s = 0; s < cacheSize; ++s) {
        uint32_t v = slotVertex[s];
        if (v == none) {
            cost[s] = 0;
        } else if (IsCorner(v, candidate.triangle)) {
            cost[s] = blockedSlot;
        } else {
            cost[s] = (uint64_t(1) << 40) + slotUse[s];
        }
    }
    uint32_t bestStart = none;
    uint64_t bestCost = 0;
    uint64_t windowCost = 0;
    for (uint32_t s = 0; s < cacheSize; ++s) {
        windowCost += cost[s];
        if (s >= wanted) {
            windowCost -= cost[s - wanted];
        }
        if (s + 1 >= wanted && windowCost < blockedSlot && (bestStart == none || windowCost < bestCost)) {
            bestStart = s + 1 - wanted;
            bestCost = windowCost;
        }
    }
    if (bestStart != none) {
        for (uint32_t s = bestStart; s < bestStart + wanted; ++s) {
            if (slotVertex[s] != none) {
                Evict(slotVertex[s]);
            }
        }
        return;
    }
    // The candidate's corners split the cache: evict the least recently used vertices wherever they are.
    std::vector<std::pair<uint64_t, uint32_t>> victims;
    uint32_t freeSlots = 0;
    for (uint32_t s = 0; s < cacheSize; ++s) {
        uint32_t v = slotVertex[s];
        if (v == none) {
            ++freeSlots;
        } else if (!IsCorner(v, candidate.triangle)) {
            victims.emplace_back(slotUse[s], v);
        }
    }
    std::sort(victims.begin(), victims.end());
    for (size_t i = 0; i < victims.size() && freeSlots < wanted; ++i) {
        Evict(victims[i].second);
        ++freeSlots;
    }
    POLVANE_CHECK(freeSlots >= candidate.missing);
}

void CacheOrder::AdvanceBand()
{
    while (currentBand + 1 < bandLeft.size() && bandLeft[currentBand] == 0) {
        ++currentBand;
    }
}

// Evicts the cached vertices whose triangles left all lie in later bands, unless the current band is nearly
// done: the sweep leaves them behind, so they would be loaded again anyway, and their slots make the next loads
// longer.
void CacheOrder::GiveUpLaterBands()
{
    AdvanceBand();
    if (bandLeft[currentBand] <= 2 * cacheSize) {
        return;
    }
    for (uint32_t s = 0; s < cacheSize; ++s) {
        uint32_t v = slotVertex[s];
        // A triangle's band is at most its corners'.
        if (v == none || live[v] > maxScansPerVertex || vertexBand[v] <= currentBand) {
            continue;
        }
        bool later = true;
        for (uint32_t i = adjStart[v]; i < adjStart[v] + live[v] && later; ++i) {
            later = BandOf(adj[i] / 3) > currentBand;
        }
        if (later) {
            Evict(v);
        }
    }
}

void CacheOrder::BuildBatch()
{
    GiveUpLaterBands();
    std::vector<uint32_t>& order = scratchOrder;
    FreeSlotOrder(extraRun, order);
    if (order.size() < minBatch && numDrawn > 0) {
        MakeRoom(Choose(), minBatch);
        FreeSlotOrder(extraRun, order);
    }
    size_t used = 0;
    std::vector<uint32_t>& slots = scratchSlots; // slot of each vertex loaded by this batch, in load order
    slots.clear();
    for (;;) {
        Candidate candidate = Choose();
        if (candidate.missing > order.size() - used) {
            if (used > 0) {
                break;
            }
            MakeRoom(candidate, candidate.missing);
            FreeSlotOrder(1, order);
        }
        for (uint32_t k = 0; k < 3; ++k) {
            uint32_t v = corners[3 * candidate.triangle + k];
            if (slotOf[v] == noSlot) {
                uint32_t slot = order[used++];
                Load(v, slot);
                slots.push_back(slot);
            }
        }
        if (used == order.size() || numDrawn + ready.size() == numTriangles) {
            break;
        }
    }
    // One load per run of neighbouring slots. No triangle of the batch is drawn yet, so the vertices of a run may
    // still trade slots: written rows are loaded again when they hold exactly the run's vertices, or when the
    // rows of its vertices loaded before end the array (the run's other vertices are then written after them).
    // Otherwise all of the run's vertices are written again, one load still.
    size_t i = 0;
    while (i < slots.size()) {
        size_t j = i + 1;
        while (j < slots.size() && slots[j] == slots[j - 1] + 1) {
            ++j;
        }
        std::vector<uint32_t>& known = scratchKnown;
        std::vector<uint32_t>& fresh = scratchFresh;
        known.clear();
        fresh.clear();
        for (size_t k = i; k < j; ++k) {
            uint32_t v = slotVertex[slots[k]];
            (lastRow[v] == none ? fresh : known).push_back(v);
        }
        std::sort(known.begin(), known.end(), [&](uint32_t x, uint32_t y) { return lastRow[x] < lastRow[y]; });
        uint32_t end = static_cast<uint32_t>(rowVertex.size());
        bool reuse = !known.empty() && lastRow[known.back()] - lastRow[known.front()] + 1 == known.size() &&
                     (fresh.empty() || lastRow[known.back()] + 1 == end);
        uint32_t row = reuse ? lastRow[known.front()] : end;
        std::vector<uint32_t>& placed = scratchPlaced;
        placed.assign(known.begin(), known.end());
        placed.insert(placed.end(), fresh.begin(), fresh.end());
        for (size_t k = reuse ? known.size() : 0; k < placed.size(); ++k) {
            lastRow[placed[k]] = static_cast<uint32_t>(rowVertex.size());
            rowVertex.push_back(placed[k]);
        }
        uint32_t use[64];
        for (size_t k = 0; k < placed.size(); ++k) {
            use[k] = slotUse[slotOf[placed[k]]];
        }
        for (size_t k = 0; k < placed.size(); ++k) {
            slotVertex[slots[i] + k] = placed[k];
            slotOf[placed[k]] = static_cast<uint8_t>(slots[i] + k);
            slotUse[slots[i] + k] = use[k];
        }
        steps.push_back(loadStep | static_cast<uint32_t>(j - i) << 8 | slots[i]);
        steps.push_back(row);
        i = j;
    }
}

OptimizedList CacheOrder::Emit(int maxLoad, bool again)
{
    Release(adjStart);
    Release(adj);
    std::unordered_map<uint32_t, uint32_t>().swap(manyPos);
    Release(live);
    Release(slotOf);
    Release(cachedCorners);
    Release(nearReady);
    nearReadyPos.Release();
    Release(nearCount);
    if (!again) {
        Release(vertexBand);
        Release(bandList);
    }
    Release(lastRow);
    OptimizedList out;
    out.rowVertex = std::move(rowVertex);
    size_t numCommands = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] & loadStep) {
            numCommands += (((steps[i] >> 8) & 0xFF) + uint32_t(maxLoad) - 1) / uint32_t(maxLoad);
            ++i;
        } else {
            ++numCommands;
        }
    }
    out.commands.reserve(numCommands);
    std::vector<uint32_t> slotVertexNow(cacheSize, none);
    std::vector<uint8_t> slotOfNow(numVertices, noSlot);
    for (size_t s = 0; s < steps.size(); ++s) {
        if (steps[s] & loadStep) {
            const uint32_t count = (steps[s] >> 8) & 0xFF;
            const uint32_t firstSlot = steps[s] & 0xFF;
            const uint32_t first = steps[++s];
            for (uint32_t i = 0; i < count; ++i) {
                uint32_t slot = firstSlot + i;
                uint32_t old = slotVertexNow[slot];
                if (old != none && slotOfNow[old] == slot) {
                    slotOfNow[old] = noSlot;
                }
                uint32_t v = out.rowVertex[first + i];
                slotVertexNow[slot] = v;
                slotOfNow[v] = static_cast<uint8_t>(slot);
            }
            for (uint32_t done = 0; done < count; done += static_cast<uint32_t>(maxLoad)) {
                uint32_t n = std::min(count - done, static_cast<uint32_t>(maxLoad));
                out.commands.push_back(CacheCommand{first + done, CacheCommand::Load, static_cast<uint8_t>(n),
                                                    static_cast<uint8_t>(firstSlot + done)});
            }
        } else {
            uint8_t slot[3];
            for (uint32_t k = 0; k < 3; ++k) {
                slot[k] = slotOfNow[corners[3 * steps[s] + k]];
                POLVANE_CHECK(slot[k] != noSlot);
            }
            out.commands.push_back(CacheCommand{slot[0], CacheCommand::Triangle, slot[1], slot[2]});
        }
    }
    Release(steps);
    return out;
}

} // namespace

OptimizedList OptimizeForCache(const uint32_t* indices, size_t numIndices, uint32_t numVertices, int cacheSize,
                               int maxLoad, BatchRule rule, int bandWidth)
{
    POLVANE_CHECK(cacheSize >= 3 && cacheSize <= 64 && maxLoad >= 1 && rule.minBatch >= 1 &&
                  rule.minBatch <= cacheSize && bandWidth >= 0);
    CacheOrder order(indices, numIndices, numVertices, cacheSize, rule, nullptr, bandWidth);
    order.Run();
    return order.Emit(maxLoad);
}

OptimizedList OptimizeForCacheBest(const uint32_t* indices, size_t numIndices, uint32_t numVertices, int cacheSize,
                                   int maxLoad, const std::vector<BatchRule>& rules, const ListPreference& better,
                                   size_t wholeChoiceAbove, const std::array<BatchRule, 2>& sampled,
                                   const ListPreference& betterOnSample, int sampledBandWidth)
{
    POLVANE_CHECK(cacheSize >= 3 && cacheSize <= 64 && maxLoad >= 1 && !rules.empty() && sampledBandWidth >= 0);
    const auto valid = [cacheSize](const BatchRule& rule) { return rule.minBatch >= 1 && rule.minBatch <= cacheSize; };
    POLVANE_CHECK(std::all_of(rules.begin(), rules.end(), valid) && std::all_of(sampled.begin(), sampled.end(), valid));
    size_t numTriangles = 0;
    for (size_t i = 0; i + 2 < numIndices; i += 3) {
        numTriangles += IsDegenerate(indices[i], indices[i + 1], indices[i + 2]) ? 0 : 1;
    }
    const bool sampling = numTriangles > wholeChoiceAbove;
    CacheOrder order(indices, numIndices, numVertices, cacheSize, rules[0], nullptr,
                     sampling ? sampledBandWidth : 0);
    if (sampling) {
        const BatchRule* chosen = nullptr;
        {
            // The sample keeps the mesh's own bands, so that it is swept as the mesh is. Its arrays are given up
            // before the whole mesh is swept.
            uint32_t numSampleVertices = 0;
            std::vector<uint32_t> sampleBands;
            const std::vector<uint32_t> sample = order.BandSample(
                sampleGroups, order.NumTriangles() / 20, numSampleVertices, sampleBands);
            // A mesh of a few wide bands gives a sample of most of it: the whole mesh is then compared instead.
            if (sample.size() / 3 <= order.NumTriangles() / 2) {
                CacheOrder sampleOrder(sample.data(), sample.size(), numSampleVertices, cacheSize, sampled[0],
                                       &sampleBands);
                sampleOrder.Run();
                const OptimizedList first = sampleOrder.Emit(maxLoad, true);
                sampleOrder.Restart(sampled[1], true);
                sampleOrder.Run();
                chosen = &sampled[betterOnSample(sampleOrder.Emit(maxLoad), first) ? 1 : 0];
            }
        }
        if (chosen) {
            order.Restart(*chosen, false);
            order.Run();
            return order.Emit(maxLoad);
        }
    }
    order.Run();
    OptimizedList best = order.Emit(maxLoad, rules.size() > 1);
    for (size_t r = 1; r < rules.size(); ++r) {
        const bool again = r + 1 < rules.size();
        order.Restart(rules[r], true);
        order.Run();
        OptimizedList next = order.Emit(maxLoad, again);
        if (better(next, best)) {
            best = std::move(next);
        }
    }
    return best;
}

} // namespace polvane
