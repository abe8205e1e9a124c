// Vertex-cache benchmark: vertices loaded per drawn triangle and load commands for the default in-order batching,
// the cache optimiser, and meshoptimizer's two approaches with the same vertex limit.
//
//   cachebench [--corpus DIR] [--quick] [--batch-divisor N]
//   cachebench --stress
//
// --batch-divisor N (default 8) sets the minimum batch of the "batched" run to cacheSize / N slots. --stress
// times the optimiser on inputs without locality instead.
// Prints a Markdown table on standard output. Every optimised list is replayed on a simulated cache before it is
// counted; a faulty list stops the program with status 1.

#include "plan/cacheoptimizer.h"
#include "meshes.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

using cachebench::Mesh;

namespace {

struct Cost {
    size_t loaded = 0; // vertices loaded
    size_t rows = 0;   // load commands
};

// Drops triangles with two equal vertex numbers.
std::vector<uint32_t> DrawnTriangles(const std::vector<uint32_t>& indices)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        uint32_t a = indices[i], b = indices[i + 1], c = indices[i + 2];
        if (a != b && a != c && b != c) {
            out.insert(out.end(), {a, b, c});
        }
    }
    return out;
}

// The converter's default display list: triangles in order, packed greedily into batches whose distinct vertices
// fit the cache; each batch loads its vertices sorted by number, one command per run of consecutive numbers
// (at most maxLoad long).
Cost DefaultBatching(const std::vector<uint32_t>& indices, int cacheSize, int maxLoad)
{
    Cost cost;
    std::vector<uint32_t> cache;
    auto flush = [&]() {
        std::sort(cache.begin(), cache.end());
        size_t k = 0;
        while (k < cache.size()) {
            size_t run = 1;
            while (k + run < cache.size() && cache[k + run] == cache[k] + run && run < static_cast<size_t>(maxLoad)) {
                ++run;
            }
            ++cost.rows;
            k += run;
        }
        cost.loaded += cache.size();
        cache.clear();
    };
    for (size_t i = 0; i < indices.size(); i += 3) {
        uint32_t fresh[3];
        size_t numFresh = 0;
        for (size_t k = 0; k < 3; ++k) {
            if (std::find(cache.begin(), cache.end(), indices[i + k]) == cache.end()) {
                fresh[numFresh++] = indices[i + k];
            }
        }
        if (cache.size() + numFresh > static_cast<size_t>(cacheSize)) {
            flush();
            numFresh = 3;
            std::copy(&indices[i], &indices[i] + 3, fresh);
        }
        cache.insert(cache.end(), fresh, fresh + numFresh);
    }
    flush();
    return cost;
}

// meshopt_buildMeshlets with the cache as the vertex limit: each meshlet loads its vertices once, written as
// consecutive rows (one command per maxLoad vertices).
Cost Meshlets(const Mesh& mesh, const std::vector<uint32_t>& indices, int cacheSize, int maxLoad)
{
    const size_t maxTriangles = 512;
    size_t bound = meshopt_buildMeshletsBound(indices.size(), cacheSize, maxTriangles);
    std::vector<meshopt_Meshlet> meshlets(bound);
    std::vector<unsigned int> meshletVertices(bound * cacheSize);
    std::vector<unsigned char> meshletTriangles(bound * maxTriangles * 3);
    size_t count = meshopt_buildMeshlets(meshlets.data(), meshletVertices.data(), meshletTriangles.data(),
                                         indices.data(), indices.size(), mesh.positions.data(), mesh.numVertices,
                                         3 * sizeof(float), cacheSize, maxTriangles, 0.0f);
    Cost cost;
    for (size_t m = 0; m < count; ++m) {
        cost.loaded += meshlets[m].vertex_count;
        cost.rows += (meshlets[m].vertex_count + maxLoad - 1) / maxLoad;
    }
    return cost;
}

// meshopt_optimizeVertexCache, vertices renumbered in order of first use, then the default batching.
Cost VertexCacheThenDefault(const Mesh& mesh, const std::vector<uint32_t>& indices, int cacheSize, int maxLoad)
{
    std::vector<uint32_t> ordered(indices.size());
    meshopt_optimizeVertexCache(ordered.data(), indices.data(), indices.size(), mesh.numVertices);
    std::vector<uint32_t> remap(mesh.numVertices);
    meshopt_optimizeVertexFetchRemap(remap.data(), ordered.data(), ordered.size(), mesh.numVertices);
    for (uint32_t& v : ordered) {
        v = remap[v];
    }
    return DefaultBatching(ordered, cacheSize, maxLoad);
}

// Replays the optimised list on a simulated cache; returns its cost, or stops the program on a fault.
Cost Replay(const std::vector<uint32_t>& drawn, const polvane::OptimizedList& list, int cacheSize, int maxLoad,
            const std::string& what)
{
    auto fail = [&](const char* why) {
        std::fprintf(stderr, "%s: invalid list: %s\n", what.c_str(), why);
        std::exit(1);
    };
    std::multiset<std::vector<uint32_t>> expected;
    auto canonical = [](uint32_t a, uint32_t b, uint32_t c) {
        std::vector<uint32_t> t{a, b, c};
        std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
        return t;
    };
    for (size_t i = 0; i < drawn.size(); i += 3) {
        expected.insert(canonical(drawn[i], drawn[i + 1], drawn[i + 2]));
    }
    Cost cost;
    std::vector<int64_t> slots(cacheSize, -1);
    for (const polvane::CacheCommand& command : list.commands) {
        if (command.kind == polvane::CacheCommand::Load) {
            if (command.b == 0 || command.b > static_cast<uint32_t>(maxLoad) || command.c + command.b > static_cast<uint32_t>(cacheSize) ||
                command.a + command.b > list.rowVertex.size()) {
                fail("load out of range");
            }
            for (uint32_t i = 0; i < command.b; ++i) {
                slots[command.c + i] = list.rowVertex[command.a + i];
            }
            ++cost.rows;
            cost.loaded += command.b;
        } else {
            uint32_t s[3] = {command.a, command.b, command.c};
            for (uint32_t slot : s) {
                if (slot >= static_cast<uint32_t>(cacheSize) || slots[slot] < 0) {
                    fail("triangle names an unloaded slot");
                }
            }
            auto found = expected.find(canonical(static_cast<uint32_t>(slots[s[0]]), static_cast<uint32_t>(slots[s[1]]),
                                                 static_cast<uint32_t>(slots[s[2]])));
            if (found == expected.end()) {
                fail("triangle not in the model or drawn twice");
            }
            expected.erase(found);
        }
    }
    if (!expected.empty()) {
        fail("triangle never drawn");
    }
    return cost;
}

// Times the optimiser on inputs of 100 000 triangles that defeat locality: one vertex shared by all triangles,
// one edge shared by all, triangles of random vertices, and triangles sharing no vertex.
void Stress()
{
    const uint32_t n = 100000;
    std::vector<std::pair<const char*, std::vector<uint32_t>>> cases(4);
    cases[0].first = "fan";
    cases[1].first = "book";
    cases[2].first = "soup";
    cases[3].first = "loose";
    std::mt19937 random(1);
    for (uint32_t i = 0; i < n; ++i) {
        cases[0].second.insert(cases[0].second.end(), {0, i + 1, (i + 1) % n + 1});
        cases[1].second.insert(cases[1].second.end(), {0, 1, i + 2});
        cases[2].second.insert(cases[2].second.end(),
                               {static_cast<uint32_t>(random() % (n / 2)), static_cast<uint32_t>(random() % (n / 2)),
                                static_cast<uint32_t>(random() % (n / 2))});
        cases[3].second.insert(cases[3].second.end(), {3 * i, 3 * i + 1, 3 * i + 2});
    }
    std::printf("| input | cache | minimum batch | ms | vertices loaded | load commands |\n|---|---:|---:|---:|---:|---:|\n");
    for (const auto& input : cases) {
        for (int cacheSize : {16, 32, 56, 64}) {
            for (int minBatch : {1, cacheSize / 8}) {
                int maxLoad = std::min(cacheSize, 56);
                auto start = std::chrono::steady_clock::now();
                polvane::OptimizedList list =
                    polvane::OptimizeForCache(input.second.data(), input.second.size(), 3 * n + 2, cacheSize,
                                              maxLoad, {minBatch, false});
                auto stop = std::chrono::steady_clock::now();
                Cost cost = Replay(DrawnTriangles(input.second), list, cacheSize, maxLoad, input.first);
                std::printf("| %s | %d | %d | %.1f | %zu | %zu |\n", input.first, cacheSize, minBatch,
                            std::chrono::duration<double, std::milli>(stop - start).count(), cost.loaded, cost.rows);
            }
        }
    }
}

struct Row {
    std::string model;
    size_t triangles;
    size_t vertices;
    int cacheSize;
    Cost standard, meshlets, vertexCache, optimised, batched;
    size_t arrayRows;
    double milliseconds;
};

double PerTriangle(size_t value, size_t triangles)
{
    return static_cast<double>(value) / static_cast<double>(triangles);
}

} // namespace

int main(int argc, char** argv)
{
    std::string corpus;
    bool quick = false;
    int minBatchDivisor = 8;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--corpus") == 0 && i + 1 < argc) {
            corpus = argv[++i];
        } else if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
        } else if (std::strcmp(argv[i], "--stress") == 0) {
            Stress();
            return 0;
        } else if (std::strcmp(argv[i], "--batch-divisor") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            minBatchDivisor = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: cachebench [--corpus DIR] [--quick] [--batch-divisor N] | --stress\n");
            return 1;
        }
    }

    std::vector<Mesh> meshes;
    meshes.push_back(cachebench::MakeGrid(500));
    meshes.push_back(cachebench::MakeSphere(2000));
    meshes.push_back(cachebench::MakeTorus(5000));
    meshes.push_back(cachebench::MakeCharacter(8000));
    if (!quick) {
        meshes.push_back(cachebench::MakeGrid(20000));
        meshes.push_back(cachebench::MakeSphere(50000));
        meshes.push_back(cachebench::MakeTorus(100000));
        meshes.push_back(cachebench::MakeCharacter(60000));
    }
    if (!corpus.empty()) {
        const char* files[] = {"common3d__suzanne.obj",        "ufbx__maya_kenney_character_4.obj",
                               "trimesh__chair_model.obj",     "rapidobj__mario.obj",
                               "common3d__cow.obj",            "common3d__spot_quadrangulated.obj",
                               "common3d__teapot.obj",         "obj2stl__airboat.obj",
                               "pywavefront__earth.obj",       "common3d__fandisk.obj",
                               "common3d__stanford-bunny.obj", "common3d__beast.obj"};
        for (const char* file : files) {
            Mesh mesh;
            mesh.name = file;
            if (cachebench::ReadObj(corpus + "/" + file, &mesh)) {
                meshes.push_back(std::move(mesh));
            } else {
                std::fprintf(stderr, "skipped %s: not readable\n", file);
            }
        }
    }

    const int caches[] = {16, 32, 56};
    std::vector<Row> rows;
    for (const Mesh& mesh : meshes) {
        std::vector<uint32_t> drawn = DrawnTriangles(mesh.indices);
        std::vector<bool> used(mesh.numVertices, false);
        for (uint32_t v : drawn) {
            used[v] = true;
        }
        size_t vertices = static_cast<size_t>(std::count(used.begin(), used.end(), true));
        for (int cacheSize : caches) {
            int maxLoad = cacheSize;
            Row row{mesh.name, drawn.size() / 3, vertices, cacheSize, {}, {}, {}, {}, {}, 0, 0.0};
            row.standard = DefaultBatching(drawn, cacheSize, maxLoad);
            row.meshlets = Meshlets(mesh, drawn, cacheSize, maxLoad);
            row.vertexCache = VertexCacheThenDefault(mesh, drawn, cacheSize, maxLoad);
            auto start = std::chrono::steady_clock::now();
            polvane::OptimizedList list =
                polvane::OptimizeForCache(mesh.indices.data(), mesh.indices.size(), mesh.numVertices, cacheSize, maxLoad);
            auto stop = std::chrono::steady_clock::now();
            row.milliseconds = std::chrono::duration<double, std::milli>(stop - start).count();
            row.optimised = Replay(drawn, list, cacheSize, maxLoad, mesh.name);
            row.arrayRows = list.rowVertex.size();
            polvane::OptimizedList batched =
                polvane::OptimizeForCache(mesh.indices.data(), mesh.indices.size(), mesh.numVertices, cacheSize,
                                          maxLoad, {std::max(1, cacheSize / minBatchDivisor), false});
            row.batched = Replay(drawn, batched, cacheSize, maxLoad, mesh.name);
            rows.push_back(row);
        }
    }

    std::printf("Vertices loaded per drawn triangle (v/t) and load commands (rows). bound: every vertex loaded once. "
                "reference: the better of meshlets and vcache. batched: minimum batch of cache/%d slots.\n\n",
                minBatchDivisor);
    std::printf("| model | triangles | cache | bound | default v/t | default rows | meshlets v/t | vcache v/t | "
                "reference v/t | reference rows | optimised v/t | optimised rows | optimised / reference | "
                "optimised / bound | batched v/t | batched rows | array rows / vertices | ms |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    struct Summary {
        int models = 0;
        double versus = 0, worst = 0, batchedVersus = 0, batchedWorst = 0, rowsVersusDefault = 0,
               batchedRowsVersusDefault = 0;
        int misses = 0, batchedMisses = 0;
    };
    std::map<int, Summary> summaries;
    for (const Row& row : rows) {
        const Cost& reference = row.meshlets.loaded <= row.vertexCache.loaded ? row.meshlets : row.vertexCache;
        double versus = static_cast<double>(row.optimised.loaded) / static_cast<double>(reference.loaded);
        double batchedVersus = static_cast<double>(row.batched.loaded) / static_cast<double>(reference.loaded);
        Summary& summary = summaries[row.cacheSize];
        ++summary.models;
        summary.versus += versus;
        summary.worst = std::max(summary.worst, versus);
        summary.batchedVersus += batchedVersus;
        summary.batchedWorst = std::max(summary.batchedWorst, batchedVersus);
        summary.rowsVersusDefault += static_cast<double>(row.optimised.rows) / static_cast<double>(row.standard.rows);
        summary.batchedRowsVersusDefault +=
            static_cast<double>(row.batched.rows) / static_cast<double>(row.standard.rows);
        summary.misses += row.optimised.loaded > reference.loaded ? 1 : 0;
        summary.batchedMisses += row.batched.loaded > reference.loaded ? 1 : 0;
        std::printf("| %s | %zu | %d | %.3f | %.3f | %zu | %.3f | %.3f | %.3f | %zu | %.3f | %zu | %.3f | %.3f | %.3f | "
                    "%zu | %.3f | %.1f |\n",
                    row.model.c_str(), row.triangles, row.cacheSize, PerTriangle(row.vertices, row.triangles),
                    PerTriangle(row.standard.loaded, row.triangles), row.standard.rows,
                    PerTriangle(row.meshlets.loaded, row.triangles), PerTriangle(row.vertexCache.loaded, row.triangles),
                    PerTriangle(reference.loaded, row.triangles), reference.rows,
                    PerTriangle(row.optimised.loaded, row.triangles), row.optimised.rows, versus,
                    static_cast<double>(row.optimised.loaded) / static_cast<double>(row.vertices),
                    PerTriangle(row.batched.loaded, row.triangles), row.batched.rows,
                    static_cast<double>(row.arrayRows) / static_cast<double>(row.vertices), row.milliseconds);
    }
    std::printf("\n| cache | models | optimised / reference: mean | worst | models above | optimised rows / default rows: "
                "mean | batched / reference: mean | worst | models above | batched rows / default rows: mean |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& entry : summaries) {
        const Summary& s = entry.second;
        double n = static_cast<double>(s.models);
        std::printf("| %d | %d | %.3f | %.3f | %d | %.2f | %.3f | %.3f | %d | %.2f |\n", entry.first, s.models,
                    s.versus / n, s.worst, s.misses, s.rowsVersusDefault / n, s.batchedVersus / n, s.batchedWorst,
                    s.batchedMisses, s.batchedRowsVersusDefault / n);
    }
    return 0;
}
