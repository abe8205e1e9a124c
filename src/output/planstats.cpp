#include "output/csourcewriter.h"

#include <cstring>
#include <unordered_map>

#include "plan/costmodel.h"

namespace {

// The commands one plan command stands for: the texture and palette loads are macros of several.
uint64_t CommandsOf(const Command& command)
{
    switch (command.kind) {
    case Command::LoadTexture:
    case Command::LoadTextureTile:
        return 7;
    case Command::LoadPalette:
        return 6;
    default:
        return 1;
    }
}

// The triangles one command draws: a snake's head carries its count.
uint64_t TrianglesOf(const Command& command)
{
    switch (command.kind) {
    case Command::Triangle:
        return 1;
    case Command::TrianglePair:
        return 2;
    case Command::TriangleSnake:
        return command.e;
    default:
        return 0;
    }
}

uint64_t TextureBytes(const TexturePlan& texture)
{
    const uint64_t palette = texture.palette.empty() ? 0 : (texture.format == TextureFormat::CI4 ? 32 : 512);
    return (texture.texels.size() + 7) / 8 * 8 + palette;
}

class PlanCounter {
public:
    PlanCounter(const ConsolePlan& counted, const std::vector<int>& materialLists, DisplayListStats& counts)
        : plan(counted), stats(counts)
    {
        materialOf.assign(plan.lists.size(), -1);
        for (size_t m = 0; m < materialLists.size(); ++m) {
            if (materialLists[m] >= 0 && size_t(materialLists[m]) < plan.lists.size()) {
                materialOf[size_t(materialLists[m])] = int(m);
            }
        }
    }

    void Walk(size_t list, int depth)
    {
        if (list >= plan.lists.size() || depth > 16) {
            return;
        }
        for (const Command& command : plan.lists[list].commands) {
            if (command.kind == Command::End) {
                return;
            }
            CountCommand(command, afterLoad, stats);
            if (command.kind == Command::LoadTextureTile && material >= 0 &&
                size_t(material) < stats.materials.size()) {
                DisplayListStats::Material& drawn = stats.materials[size_t(material)];
                ++drawn.tileLoads;
                if (command.a < plan.textures.size()) {
                    const TexturePlan& texture = plan.textures[command.a];
                    drawn.textureBytes = TextureBytes(texture);
                    drawn.tiles = texture.tiles.columns * texture.tiles.rows;
                    drawn.tileWidth = texture.tiles.width;
                    drawn.tileHeight = texture.tiles.height;
                }
            } else if (TrianglesOf(command) > 0) {
                if (material >= 0 && size_t(material) < stats.materials.size()) {
                    stats.materials[size_t(material)].triangles += TrianglesOf(command);
                }
            } else if (command.kind == Command::Call && command.a < plan.lists.size()) {
                if (materialOf[command.a] >= 0) {
                    material = materialOf[command.a];
                }
                Walk(command.a, depth + 1);
            }
        }
    }

private:
    const ConsolePlan& plan;
    DisplayListStats& stats;
    std::vector<int> materialOf;
    int material = -1;
    bool afterLoad = false;
};

// Walks the model list as the RSP reads it, into called lists and back.
void Price(const ConsolePlan& plan, size_t list, int depth, const std::vector<uint32_t>& keys, CostMeter& meter)
{
    if (list >= plan.lists.size() || depth > 16) {
        return;
    }
    for (const Command& command : plan.lists[list].commands) {
        meter.Add(command, &keys);
        if (command.kind == Command::End) {
            return;
        }
        if (command.kind == Command::Call) {
            Price(plan, command.a, depth + 1, keys, meter);
        }
    }
}

// Rows that hold the same vertex get the same key.
std::vector<uint32_t> RowKeys(const ConsolePlan& plan)
{
    struct Hash {
        size_t operator()(const std::pair<uint64_t, uint64_t>& key) const
        {
            return std::hash<uint64_t>()(key.first * 0x9E3779B97F4A7C15ull ^ key.second);
        }
    };
    std::unordered_map<std::pair<uint64_t, uint64_t>, uint32_t, Hash> ids;
    std::vector<uint32_t> keys;
    keys.reserve(plan.rows.size());
    for (const VertexRow& row : plan.rows) {
        uint64_t words[2];
        static_assert(sizeof(VertexRow) == sizeof(words), "a row is 16 bytes");
        std::memcpy(words, &row, sizeof words);
        keys.push_back(ids.emplace(std::make_pair(words[0], words[1]), uint32_t(ids.size())).first->second);
    }
    return keys;
}

}

void CountCommand(const Command& command, bool& afterLoad, DisplayListStats& stats)
{
    if (command.kind == Command::Vertex) {
        stats.batches += afterLoad ? 0 : 1;
        afterLoad = true;
        ++stats.loadRows;
        stats.verticesLoaded += command.b;
        return;
    }
    afterLoad = false;
    stats.trianglesDrawn += TrianglesOf(command);
}

void CountPlan(const ConsolePlan& plan, const std::vector<int>& materialLists,
               const std::vector<std::string>& materialNames, DisplayListStats& stats,
               const std::vector<MaterialPlanLists::Cutting>& cutting)
{
    stats.withMaterials = true;
    stats.vertices = plan.rows.size();
    for (size_t m = 0; m < materialLists.size() && m < materialNames.size(); ++m) {
        if (materialLists[m] < 0) {
            continue;
        }
        DisplayListStats::Material material;
        material.name = materialNames[m];
        for (const Command& command : plan.lists[size_t(materialLists[m])].commands) {
            if (command.kind == Command::LoadTexture && command.a < plan.textures.size()) {
                material.textureBytes = TextureBytes(plan.textures[command.a]);
            }
        }
        if (m < cutting.size() && cutting[m].triangles > 0) {
            const MaterialPlanLists::Cutting& cut = cutting[m];
            material.trianglesAdded = cut.pieces > cut.triangles ? cut.pieces - cut.triangles : 0;
            material.verticesAdded = cut.rows > cut.vertices ? cut.rows - cut.vertices : 0;
        }
        stats.materials.push_back(material);
    }
    // Materials without a list draw nothing and are left out of the counts.
    std::vector<int> listed;
    for (int list : materialLists) {
        if (list >= 0) {
            listed.push_back(list);
        }
    }
    PlanCounter counter(plan, listed, stats);
    counter.Walk(size_t(plan.modelList), 0);
    for (const DisplayListPlan& list : plan.lists) {
        for (const Command& command : list.commands) {
            stats.commands += CommandsOf(command);
        }
    }
    for (const TexturePlan& texture : plan.textures) {
        stats.textureBytes += TextureBytes(texture);
        // A tiled texture counts its image, not the frame its tiles are loaded with.
        const int frame = texture.tiles.columns > 0 ? 2 : 0;
        stats.textures.push_back({texture.name, texture.format, texture.width - frame, texture.height - frame,
                                  TextureBytes(texture), texture.psnr});
    }
}

void CostPlan(const ConsolePlan& plan, const ConversionSettings& settings, DisplayListStats& stats)
{
    CostMeter meter(CostsOf(settings.microcode), plan.lit);
    Price(plan, size_t(plan.modelList), 0, RowKeys(plan), meter);
    meter.Finish();
    stats.modelledInstructions = meter.Instructions();
    stats.instructionBound = meter.LowerBound(CacheLayoutOf(settings).maxLoad);
}
