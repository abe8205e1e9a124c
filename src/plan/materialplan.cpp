#include "plan/materialplan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "check.h"
#include "cidentifier.h"
#include "diagnostics.h"
#include "model/objgroups.h"
#include "plan/meshcutter.h"
#include "plan/planbuilder.h"
#include "plan/vertexrow.h"

namespace {

// The triangles of one part drawn with one material.
struct Run {
    uint32_t part;
    uint32_t material;
    std::vector<uint32_t> triangles;
};

// Gives each name a C-safe form that no other name of the same kind has.
class UniqueNames {
public:
    std::string Add(const std::string& name)
    {
        const std::string base = IdentifierPart(name.empty() ? std::string("default") : name);
        std::string unique = base;
        for (int n = 2; !taken.insert(unique).second; ++n) {
            unique = base + "_" + std::to_string(n);
        }
        return unique;
    }

private:
    std::set<std::string> taken;
};

int64_t RoundToFixed(double texels)
{
    return int64_t(std::floor(texels * 32.0 + 0.5));
}

int16_t ClampFixed(int64_t value, uint64_t& clamped)
{
    if (value > 32767 || value < -32768) {
        ++clamped;
        return value > 0 ? int16_t(32767) : int16_t(-32768);
    }
    return int16_t(value);
}

uint8_t ColourByte(float c)
{
    const float unit = c > 1.0f ? 1.0f : (c > 0.0f ? c : 0.0f);
    return uint8_t(std::lround(unit * 255.0f));
}

uint16_t PackComponent(float v, int range, int bits)
{
    long q = std::lround(double(v) * range);
    q = std::max(long(-range), std::min(long(range - 1), q));
    return uint16_t(uint32_t(q) & ((1u << bits) - 1u));
}

Command Simple(Command::Kind kind, uint32_t a = 0)
{
    Command command;
    command.kind = kind;
    command.a = a;
    return command;
}

Command CallList(int list)
{
    return Simple(Command::Call, uint32_t(list));
}

Command Combine(CombinerMode mode)
{
    Command command = Simple(Command::SetCombine);
    command.combiner = mode;
    return command;
}

Command Render(RenderMode mode)
{
    Command command = Simple(Command::SetRenderMode);
    command.renderMode = mode;
    return command;
}

using In = CombinerInput;

// Texture or primitive colour times the shade; alpha as the render mode needs it.
CombinerMode CombinerFor(const MaterialLook& look)
{
    const In colour = look.texture >= 0 ? In::Texel0 : In::Primitive;
    CombinerMode mode{colour, In::Zero, In::Shade, In::Zero, In::Zero, In::Zero, In::Zero, In::Shade};
    if (look.renderMode == RenderMode::Cutout) {
        mode.aa = In::Texel0;
        mode.ac = In::Shade;
        mode.ad = In::Zero;
    } else if (look.renderMode == RenderMode::Translucent) {
        mode.aa = look.texture >= 0 ? In::Texel0 : In::Primitive;
        mode.ac = look.texture >= 0 ? In::Primitive : In::Shade;
        mode.ad = In::Zero;
    }
    return mode;
}

std::vector<Command> MaterialCommands(const MaterialLook& look, const std::vector<TexturePlan>& textures, bool lit,
                                      bool packedNormals)
{
    std::vector<Command> commands;
    commands.push_back(Simple(Command::PipeSync));
    commands.push_back(Simple(Command::SetCycleOne));
    if (lit) {
        commands.push_back(
            Simple(Command::SetGeometryMode, geometryLighting | (packedNormals ? geometryPackedNormals : 0u)));
    } else {
        commands.push_back(Simple(Command::ClearGeometryMode, geometryLighting));
    }
    commands.push_back(Combine(CombinerFor(look)));
    commands.push_back(Render(look.renderMode));
    commands.push_back(Simple(Command::Texture, look.texture >= 0 ? 1u : 0u));
    const bool indexed = look.texture >= 0 && !textures[size_t(look.texture)].palette.empty();
    commands.push_back(Simple(Command::SetTextureLUT, indexed ? 1u : 0u));
    if (indexed) {
        commands.push_back(Simple(Command::LoadPalette, uint32_t(look.texture)));
    }
    // A tiled texture is loaded tile by tile where its pieces are drawn.
    if (look.texture >= 0 && textures[size_t(look.texture)].tiles.columns == 0) {
        commands.push_back(Simple(Command::LoadTexture, uint32_t(look.texture)));
    }
    Command prim = Simple(Command::SetPrimColour);
    const bool textured = look.texture >= 0;
    prim.a = textured ? 255u : look.diffuse[0];
    prim.b = textured ? 255u : look.diffuse[1];
    prim.c = textured ? 255u : look.diffuse[2];
    prim.d = look.opacity;
    commands.push_back(prim);
    commands.push_back(Simple(Command::End));
    return commands;
}

// A vertex of one run: the model's vertex it comes from and the repeats its face was shifted by.
using VertexKey = std::tuple<int64_t, int64_t, int32_t, int32_t>;

class MaterialPlanBuilder {
public:
    MaterialPlanBuilder(const ObjFile& model, const std::vector<MaterialLook>& materialLooks,
                        const ConversionSettings& conversion, TextSink& warningStream)
        : objFile(model), groups(*model.GetGroups()), looks(materialLooks), settings(conversion),
          warnings(warningStream), cache(CacheLayoutOf(conversion))
    {
        colours = settings.useNormals && !groups.colours.empty();
        packedNormals = colours && settings.microcode == Microcode::F3DEX3;
        lit = settings.useNormals && (!colours || packedNormals);
    }

    ConsolePlan Build(std::vector<TexturePlan> textures, const std::string& identifier, MaterialPlanLists& lists);

private:
    std::vector<Run> CollectRuns() const;
    int AddRun(ConsolePlan& plan, const Run& run, const std::string& name);
    void AddTiledRun(ConsolePlan& plan, const Run& run, const TexturePlan& texture, std::vector<Command>& commands);
    VertexRow RowOf(const CutVertex& vertex, uint64_t& clamped) const;
    const TexturePlan* TiledTexture(uint32_t material) const;
    CutGrid GridOf(const TexturePlan& texture) const;
    void CornersOf(uint32_t triangle, const MaterialLook& look, const TexturePlan& texture, CutVertex corners[3]) const;
    void ValuesOf(uint32_t vertex, CutVertex& corner) const;
    uint32_t PositionOf(uint32_t triangle, int corner) const;
    void CollectEdgePoints();
    bool CutWithEdges(uint32_t triangle, const CutVertex corners[3], const CutGrid& grid, std::vector<double> (&at)[3],
                      std::vector<CutPiece>& pieces) const;
    bool EdgesOf(uint32_t triangle, std::vector<double> (&at)[3], CutEdges& edges) const;
    void SplitUncut(uint32_t triangle, const MaterialLook& look, const TexturePlan* texture, const int32_t shift[2],
                    CutVertex corners[3], std::vector<CutPiece>& pieces) const;
    void ShiftFace(const Run& run, size_t first, size_t end, const TexturePlan* texture, int32_t shift[2]) const;
    double Texels(uint32_t vertex, int axis, const MaterialLook& look, const TexturePlan& texture) const;
    VertexRow RowOf(uint32_t vertex, const MaterialLook& look, const TexturePlan* texture, const int32_t shift[2],
                    uint64_t& clamped) const;

    const ObjFile& objFile;
    const ObjGroups& groups;
    const std::vector<MaterialLook>& looks;
    const ConversionSettings& settings;
    TextSink& warnings;
    const CacheLayout cache;
    std::vector<TexturePlan> const* textures = nullptr;
    std::vector<MaterialPlanLists::Cutting> cutting;
    std::vector<std::pair<uint64_t, double>> edgePoints;
    // Per position, the first position with the same coordinates: edges are known by these, so that a mesh
    // whose parts each list their own positions still meets itself at its cuts. Empty when nothing is cut.
    std::vector<uint32_t> samePosition;
    bool colours = false;
    bool packedNormals = false;
    bool lit = true;
};

std::vector<Run> MaterialPlanBuilder::CollectRuns() const
{
    // Parts in the order of the file; within a part, materials in the order of their first triangle there.
    std::map<std::pair<uint32_t, uint32_t>, size_t> runOf;
    std::vector<Run> runs;
    const size_t triangleCount = groups.triangleMaterial.size();
    std::vector<std::vector<size_t>> partRuns(groups.partNames.size());
    for (size_t t = 0; t < triangleCount; ++t) {
        const std::pair<uint32_t, uint32_t> key(groups.trianglePart[t], groups.triangleMaterial[t]);
        auto found = runOf.find(key);
        if (found == runOf.end()) {
            found = runOf.emplace(key, runs.size()).first;
            runs.push_back(Run{key.first, key.second, {}});
            partRuns[key.first].push_back(found->second);
        }
        runs[found->second].triangles.push_back(uint32_t(t));
    }
    std::vector<Run> ordered;
    for (std::vector<size_t>& part : partRuns) {
        std::stable_partition(part.begin(), part.end(), [&](size_t r) {
            return looks[runs[r].material].renderMode != RenderMode::Translucent;
        });
        for (size_t r : part) {
            ordered.push_back(std::move(runs[r]));
        }
    }
    return ordered;
}

// The coordinate of a vertex along one axis, in texels of the texture, before the half-texel offset: the
// material's scale and offset of the map first, then the texel scale.
double MaterialPlanBuilder::Texels(uint32_t vertex, int axis, const MaterialLook& look,
                                   const TexturePlan& texture) const
{
    const Vector2D* texCoords = objFile.GetTexCoords();
    const Vector2D uv = texCoords ? texCoords[vertex] : Vector2D();
    const double mapped = double(axis == 0 ? uv.x : uv.y) * double(look.mapScale[axis]) + double(look.mapOffset[axis]);
    // A tiled texture's frame is no part of the image.
    const int frame = texture.tiles.columns > 0 ? 2 : 0;
    if (axis == 0) {
        return mapped * double(settings.sScale) * double(texture.width - frame);
    }
    return (1.0 - mapped) * double(settings.tScale) * double(texture.height - frame);
}

// A face whose coordinates would leave the Vtx's range moves by whole repeats of its texture, all corners alike,
// which samples the same texels wherever the texture wraps. A clamped axis stays.
void MaterialPlanBuilder::ShiftFace(const Run& run, size_t first, size_t end, const TexturePlan* texture,
                                    int32_t shift[2]) const
{
    shift[0] = shift[1] = 0;
    if (!texture) {
        return;
    }
    const uint32_t* indices = objFile.GetIndices();
    for (int axis = 0; axis < 2; ++axis) {
        const bool clamp = axis == 0 ? texture->clampS : texture->clampT;
        const int size = axis == 0 ? texture->width : texture->height;
        const int period = (axis == 0 ? texture->mirrorS : texture->mirrorT) ? 2 * size : size;
        if (clamp || period <= 0) {
            continue;
        }
        double low = HUGE_VAL;
        double high = -HUGE_VAL;
        for (size_t k = first; k < end; ++k) {
            for (int corner = 0; corner < 3; ++corner) {
                const double texels = Texels(indices[3 * size_t(run.triangles[k]) + size_t(corner)], axis,
                                              looks[run.material], *texture);
                low = std::min(low, texels - 0.5);
                high = std::max(high, texels - 0.5);
            }
        }
        if (!(low >= -1024.0 && high < 1023.96875) && std::isfinite(low) && std::isfinite(high)) {
            const double middle = (low + high) / 2.0;
            const double repeats = std::floor(middle / period + 0.5);
            if (std::fabs(repeats) < 1e9) {
                shift[axis] = int32_t(repeats);
            }
        }
    }
}

VertexRow MaterialPlanBuilder::RowOf(uint32_t vertex, const MaterialLook& look, const TexturePlan* texture,
                                     const int32_t shift[2], uint64_t& clamped) const
{
    VertexRow row = MakeVertexRow(objFile, vertex, settings);
    row.st[0] = 0;
    row.st[1] = 0;
    if (texture) {
        for (int axis = 0; axis < 2; ++axis) {
            const int size = axis == 0 ? texture->width : texture->height;
            const int period = (axis == 0 ? texture->mirrorS : texture->mirrorT) ? 2 * size : size;
            const double texels = Texels(vertex, axis, look, *texture) - double(shift[axis]) * period;
            const double value = std::isfinite(texels) ? texels : 0.0;
            row.st[axis] = ClampFixed(RoundToFixed(value - 0.5), clamped);
        }
    }
    if (colours) {
        const Vector3D& colour = groups.colours[size_t(groups.corner[vertex].vertexIndex)];
        if (packedNormals) {
            const Vector3D& normal = objFile.GetNormals()[vertex];
            row.flag = PackNormal(normal.x, normal.y, normal.z);
        }
        row.shade[0] = ColourByte(colour.x);
        row.shade[1] = ColourByte(colour.y);
        row.shade[2] = ColourByte(colour.z);
    }
    return row;
}

int MaterialPlanBuilder::AddRun(ConsolePlan& plan, const Run& run, const std::string& name)
{
    const MaterialLook& look = looks[run.material];
    const TexturePlan* texture = look.texture >= 0 ? &(*textures)[size_t(look.texture)] : nullptr;
    const uint32_t* indices = objFile.GetIndices();
    if (texture && texture->tiles.columns > 0) {
        plan.lists.push_back(DisplayListPlan{name, {}});
        std::vector<Command> commands;
        AddTiledRun(plan, run, *texture, commands);
        commands.push_back(Simple(Command::End));
        plan.lists.back().commands = std::move(commands);
        return int(plan.lists.size() - 1);
    }

    std::map<VertexKey, uint32_t> numberOf;
    std::vector<uint32_t> sourceVertex;
    std::vector<int32_t> sourceShift;
    std::vector<uint32_t> local;
    local.reserve(run.triangles.size() * 3);
    // Points added where a triangle meets cut ones: their rows, welded where the same, numbered after the rest.
    std::map<std::array<uint8_t, sizeof(VertexRow)>, uint32_t> pointOf;
    std::vector<VertexRow> pointRows;
    std::vector<CutPiece> split;
    const auto number = [&](uint32_t vertex, const int32_t shift[2]) {
        const ObjAttribute& attribute = groups.corner[vertex];
        // Without a texture, corners that differ only in their texture coordinate are one vertex.
        const VertexKey key = texture ? VertexKey(vertex, -1, shift[0], shift[1])
                                      : VertexKey(attribute.vertexIndex, attribute.normalIndex, 0, 0);
        const auto inserted = numberOf.emplace(key, uint32_t(sourceVertex.size()));
        if (inserted.second) {
            sourceVertex.push_back(vertex);
            sourceShift.push_back(shift[0]);
            sourceShift.push_back(shift[1]);
        }
        return inserted.first->second;
    };
    for (size_t k = 0; k < run.triangles.size();) {
        // The triangles of one face stand together and share its shift.
        size_t end = k + 1;
        while (end < run.triangles.size() && groups.triangleFace[run.triangles[end]] ==
                                                 groups.triangleFace[run.triangles[k]]) {
            ++end;
        }
        int32_t shift[2];
        ShiftFace(run, k, end, texture, shift);
        for (size_t j = k; j < end; ++j) {
            const uint32_t* triangle = indices + 3 * size_t(run.triangles[j]);
            split.clear();
            CutVertex corners[3];
            if (!edgePoints.empty()) {
                SplitUncut(run.triangles[j], look, texture, shift, corners, split);
            }
            if (split.empty()) {
                for (int corner = 0; corner < 3; ++corner) {
                    local.push_back(number(triangle[corner], shift));
                }
                continue;
            }
            // The triangle's own corners keep their vertices; the points added get rows of their own.
            for (const CutPiece& piece : split) {
                for (const CutVertex& point : piece.corners) {
                    int corner = 0;
                    while (corner < 3 && std::memcmp(&point, &corners[corner], sizeof point) != 0) {
                        ++corner;
                    }
                    if (corner < 3) {
                        local.push_back(number(triangle[corner], shift));
                        continue;
                    }
                    uint64_t unused = 0;
                    VertexRow row = RowOf(point, unused);
                    row.st[0] = int16_t(std::lround(point.st[0]));
                    row.st[1] = int16_t(std::lround(point.st[1]));
                    std::array<uint8_t, sizeof(VertexRow)> key;
                    std::memcpy(key.data(), &row, sizeof row);
                    const auto inserted = pointOf.emplace(key, uint32_t(pointRows.size()));
                    if (inserted.second) {
                        pointRows.push_back(row);
                    }
                    local.push_back(uint32_t(-1) - inserted.first->second);
                }
            }
        }
        k = end;
    }

    const uint32_t modelVertices = uint32_t(sourceVertex.size());
    if (!pointRows.empty()) {
        for (uint32_t& v : local) {
            v = v < modelVertices ? v : modelVertices + (uint32_t(-1) - v);
        }
    }
    plan.lists.push_back(DisplayListPlan{name, {}});
    const int list = int(plan.lists.size() - 1);
    std::vector<uint32_t> rowVertex;
    PlanTriangles(local.data(), local.size(), modelVertices + uint32_t(pointRows.size()), cache, settings.optimize,
                  uint32_t(plan.rows.size()), plan.lists[size_t(list)].commands, rowVertex);
    plan.lists[size_t(list)].commands.push_back(Simple(Command::End));
    uint64_t clamped = 0;
    for (uint32_t v : rowVertex) {
        plan.rows.push_back(v >= modelVertices ? pointRows[v - modelVertices]
                                               : RowOf(sourceVertex[v], look, texture, &sourceShift[2 * size_t(v)],
                                                       clamped));
        plan.rowColours.push_back(!lit || packedNormals);
    }
    if (clamped > 0) {
        warnings << Warning() << clamped << " texture coordinate component" << (clamped == 1 ? " was" : "s were")
                 << " clamped to -1024..1024 texels in material \"" << look.name << "\"\n";
    }
    return list;
}

VertexRow MaterialPlanBuilder::RowOf(const CutVertex& vertex, uint64_t& clamped) const
{
    VertexRow row;
    for (int axis = 0; axis < 3; ++axis) {
        row.position[axis] = int16_t(ClampToInt16(vertex.values[axis] * double(settings.scale)));
    }
    row.flag = 0;
    // The image proper starts after the frame's texel.
    for (int axis = 0; axis < 2; ++axis) {
        row.st[axis] = ClampFixed(RoundToFixed(vertex.st[axis] + 1.0 - 0.5), clamped);
    }
    if (settings.useNormals) {
        for (int axis = 0; axis < 3; ++axis) {
            row.shade[axis] = uint8_t(ClampToInt8(vertex.values[3 + axis] * 128.0));
        }
    } else {
        row.shade[0] = settings.red;
        row.shade[1] = settings.green;
        row.shade[2] = settings.blue;
    }
    row.shade[3] = settings.alpha;
    if (colours) {
        if (packedNormals) {
            row.flag = PackNormal(float(vertex.values[3]), float(vertex.values[4]), float(vertex.values[5]));
        }
        for (int c = 0; c < 3; ++c) {
            row.shade[c] = ColourByte(float(vertex.values[6 + c]));
        }
    }
    return row;
}

const TexturePlan* MaterialPlanBuilder::TiledTexture(uint32_t material) const
{
    const MaterialLook& look = looks[material];
    if (look.texture < 0 || (*textures)[size_t(look.texture)].tiles.columns <= 0) {
        return nullptr;
    }
    return &(*textures)[size_t(look.texture)];
}

CutGrid MaterialPlanBuilder::GridOf(const TexturePlan& texture) const
{
    const TileGrid& tiles = texture.tiles;
    // Coordinates are in texels of the image, the frame not counted.
    const double width = texture.width - 2, height = texture.height - 2;
    return CutGrid{{texture.clampS ? 0.0 : width, texture.clampT ? 0.0 : height},
                   {double(tiles.width), double(tiles.height)},
                   {tiles.columns, tiles.rows}};
}

void MaterialPlanBuilder::CornersOf(uint32_t triangle, const MaterialLook& look, const TexturePlan& texture,
                                    CutVertex corners[3]) const
{
    const uint32_t* indices = objFile.GetIndices();
    for (int c = 0; c < 3; ++c) {
        const uint32_t vertex = indices[3 * size_t(triangle) + size_t(c)];
        CutVertex& corner = corners[c];
        corner.st[0] = Texels(vertex, 0, look, texture);
        corner.st[1] = Texels(vertex, 1, look, texture);
        ValuesOf(vertex, corner);
    }
}

// The values a vertex carries into the cutting: position, normal, colour.
void MaterialPlanBuilder::ValuesOf(uint32_t vertex, CutVertex& corner) const
{
    const Vector3D* normals = objFile.GetNormals();
    for (int k = 0; k < 3; ++k) {
        corner.values[k] = objFile.GetVertices()[vertex][k];
        corner.values[3 + k] = normals ? double(normals[vertex][k]) : 0.0;
        corner.values[6 + k] = colours ? double(groups.colours[size_t(groups.corner[vertex].vertexIndex)][k]) : 0.0;
    }
}

// The position a corner of a triangle has (its index among the model's positions).
uint32_t MaterialPlanBuilder::PositionOf(uint32_t triangle, int corner) const
{
    const uint32_t position =
        uint32_t(groups.corner[objFile.GetIndices()[3 * size_t(triangle) + size_t(corner)]].vertexIndex);
    return position < samePosition.size() ? samePosition[position] : position;
}

// Where the tiles' lines cross every edge of the tiled materials' triangles, by the edge's two positions (lower
// first) and as fractions of the way from the lower: a triangle whose texture coordinates along an edge differ
// from its neighbour's (a seam) is cut at its neighbour's points as well.
void MaterialPlanBuilder::CollectEdgePoints()
{
    edgePoints.clear();
    samePosition.clear();
    bool anyTiled = false;
    for (size_t m = 0; m < looks.size() && !anyTiled; ++m) {
        anyTiled = TiledTexture(uint32_t(m)) != nullptr;
    }
    if (!anyTiled) {
        return;
    }
    // Positions with the same coordinates (bit for bit, -0 as 0) are one.
    const size_t positionCount = groups.positions.size();
    std::vector<std::array<uint32_t, 4>> byCoordinates(positionCount);
    for (size_t p = 0; p < positionCount; ++p) {
        for (int k = 0; k < 3; ++k) {
            const float c = groups.positions[p][k] + 0.0f;
            std::memcpy(&byCoordinates[p][size_t(k)], &c, sizeof c);
        }
        byCoordinates[p][3] = uint32_t(p);
    }
    std::sort(byCoordinates.begin(), byCoordinates.end());
    samePosition.resize(positionCount);
    for (size_t k = 0; k < positionCount; ++k) {
        const bool same = k > 0 && std::equal(byCoordinates[k].begin(), byCoordinates[k].begin() + 3,
                                              byCoordinates[k - 1].begin());
        samePosition[byCoordinates[k][3]] = same ? samePosition[byCoordinates[k - 1][3]] : byCoordinates[k][3];
    }
    std::vector<double> at;
    for (size_t t = 0; t < groups.triangleMaterial.size(); ++t) {
        const TexturePlan* texture = TiledTexture(groups.triangleMaterial[t]);
        if (!texture) {
            continue;
        }
        const CutGrid grid = GridOf(*texture);
        CutVertex corners[3];
        CornersOf(uint32_t(t), looks[groups.triangleMaterial[t]], *texture, corners);
        if (!CanCutTriangle(corners, grid) || !CutsTriangle(corners, grid)) {
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            const uint32_t p = PositionOf(uint32_t(t), k), q = PositionOf(uint32_t(t), (k + 1) % 3);
            if (p == q) {
                continue;
            }
            at.clear();
            EdgeCrossings(corners[p < q ? k : (k + 1) % 3], corners[p < q ? (k + 1) % 3 : k], grid, at);
            const uint64_t key = uint64_t(std::min(p, q)) << 32 | std::max(p, q);
            for (const double u : at) {
                edgePoints.emplace_back(key, u);
            }
        }
    }
    std::sort(edgePoints.begin(), edgePoints.end());
    edgePoints.erase(std::unique(edgePoints.begin(), edgePoints.end()), edgePoints.end());
}

// Cuts one triangle with the points its edges share with their neighbours.
bool MaterialPlanBuilder::CutWithEdges(uint32_t triangle, const CutVertex corners[3], const CutGrid& grid,
                                       std::vector<double> (&at)[3], std::vector<CutPiece>& pieces) const
{
    CutEdges edges;
    EdgesOf(triangle, at, edges);
    return CutTriangle(corners, grid, pieces, &edges);
}

// The points a triangle's edges share with cut neighbours; false when there are none.
bool MaterialPlanBuilder::EdgesOf(uint32_t triangle, std::vector<double> (&at)[3], CutEdges& edges) const
{
    bool any = false;
    for (int k = 0; k < 3; ++k) {
        const uint32_t p = PositionOf(triangle, k), q = PositionOf(triangle, (k + 1) % 3);
        const uint64_t key = uint64_t(std::min(p, q)) << 32 | std::max(p, q);
        at[k].clear();
        auto point = std::lower_bound(edgePoints.begin(), edgePoints.end(), std::make_pair(key, -HUGE_VAL));
        for (; p != q && point != edgePoints.end() && point->first == key; ++point) {
            at[k].push_back(point->second);
        }
        edges.at[k] = at[k].data();
        edges.count[k] = at[k].size();
        edges.reversed[k] = p > q;
        any = any || !at[k].empty();
    }
    return any;
}

// A triangle that is not cut but shares an edge with one that is: split at that edge's points, its own values
// interpolated there (texture coordinates as the Vtx holds them), so that no crack opens beside the cut one.
void MaterialPlanBuilder::SplitUncut(uint32_t triangle, const MaterialLook& look, const TexturePlan* texture,
                                     const int32_t shift[2], CutVertex corners[3],
                                     std::vector<CutPiece>& pieces) const
{
    std::vector<double> at[3];
    CutEdges edges;
    if (!EdgesOf(triangle, at, edges)) {
        return;
    }
    const uint32_t* indices = objFile.GetIndices();
    for (int c = 0; c < 3; ++c) {
        const uint32_t vertex = indices[3 * size_t(triangle) + size_t(c)];
        uint64_t clamped = 0;
        const VertexRow row = RowOf(vertex, look, texture, shift, clamped);
        corners[c].st[0] = row.st[0];
        corners[c].st[1] = row.st[1];
        ValuesOf(vertex, corners[c]);
    }
    SplitAtEdgePoints(corners, edges, pieces);
}

// Cuts the run's triangles along the texture's tiles; per tile that has pieces, a sync, the tile's load and its
// pieces batched over the cache, their vertices welded where their rows are the same. A triangle is cut once to
// find its tiles and again for each of them, keeping that tile's pieces: only one tile's pieces are held at a time.
void MaterialPlanBuilder::AddTiledRun(ConsolePlan& plan, const Run& run, const TexturePlan& texture,
                                      std::vector<Command>& commands)
{
    const CutGrid grid = GridOf(texture);
    const MaterialLook& look = looks[run.material];
    const uint32_t* indices = objFile.GetIndices();
    // The run's triangles by the tiles they reach, in the order of the run within each tile.
    std::vector<std::pair<uint32_t, uint32_t>> reach;
    std::vector<bool> used(size_t(objFile.GetNumVertices()), false);
    uint64_t distinct = 0;
    uint64_t dropped = 0;
    uint64_t clamped = 0;
    std::vector<uint32_t> tiles;
    size_t pieceCount = 0;
    std::vector<CutPiece> cut;
    std::vector<double> at[3];
    for (const uint32_t triangle : run.triangles) {
        for (int c = 0; c < 3; ++c) {
            const uint32_t vertex = indices[3 * size_t(triangle) + size_t(c)];
            distinct += used[vertex] ? 0 : 1;
            used[vertex] = true;
        }
        CutVertex corners[3];
        CornersOf(triangle, look, texture, corners);
        cut.clear();
        if (!CutWithEdges(triangle, corners, grid, at, cut)) {
            ++dropped;
            continue;
        }
        pieceCount += cut.size();
        tiles.clear();
        for (const CutPiece& piece : cut) {
            tiles.push_back(piece.tile);
        }
        std::sort(tiles.begin(), tiles.end());
        tiles.erase(std::unique(tiles.begin(), tiles.end()), tiles.end());
        for (const uint32_t tile : tiles) {
            reach.emplace_back(tile, triangle);
        }
    }
    std::stable_sort(reach.begin(), reach.end(),
                     [](const std::pair<uint32_t, uint32_t>& a, const std::pair<uint32_t, uint32_t>& b) {
                         return a.first < b.first;
                     });
    MaterialPlanLists::Cutting& counts = cutting[run.material];
    counts.triangles += run.triangles.size();
    counts.vertices += distinct;
    // Room for a command per piece and a vertex load and sync per two: batches hold more pieces than that unless
    // the tiles hold very few, so the list is seldom moved while it grows, which would hold it twice.
    commands.reserve(commands.size() + pieceCount + pieceCount / 2 + 3 * size_t(grid.count[0] * grid.count[1]));

    for (size_t first = 0; first < reach.size();) {
        const uint32_t tile = reach[first].first;
        size_t end = first;
        std::map<std::array<uint8_t, sizeof(VertexRow)>, uint32_t> numberOf;
        std::vector<VertexRow> tileRows;
        std::vector<uint32_t> local;
        for (; end < reach.size() && reach[end].first == tile; ++end) {
            CutVertex corners[3];
            CornersOf(reach[end].second, look, texture, corners);
            cut.clear();
            CutWithEdges(reach[end].second, corners, grid, at, cut);
            for (const CutPiece& piece : cut) {
                if (piece.tile != tile) {
                    continue;
                }
                for (const CutVertex& corner : piece.corners) {
                    const VertexRow row = RowOf(corner, clamped);
                    std::array<uint8_t, sizeof(VertexRow)> key;
                    std::memcpy(key.data(), &row, sizeof row);
                    const auto inserted = numberOf.emplace(key, uint32_t(tileRows.size()));
                    if (inserted.second) {
                        tileRows.push_back(row);
                    }
                    local.push_back(inserted.first->second);
                }
            }
        }
        first = end;
        if (local.empty()) {
            continue;
        }
        counts.pieces += local.size() / 3;
        // The pieces drawn before must be done with texture memory before it is loaded again.
        if (commands.empty() || commands.back().kind != Command::PipeSync) {
            commands.push_back(Simple(Command::PipeSync));
        }
        Command load = Simple(Command::LoadTextureTile, uint32_t(look.texture));
        load.b = tile;
        commands.push_back(load);
        std::vector<uint32_t> rowVertex;
        PlanTriangles(local.data(), local.size(), uint32_t(tileRows.size()), cache, settings.optimize,
                      uint32_t(plan.rows.size()), commands, rowVertex);
        for (const uint32_t v : rowVertex) {
            plan.rows.push_back(tileRows[v]);
            plan.rowColours.push_back(!lit || packedNormals);
        }
        counts.rows += rowVertex.size();
    }
    const std::string& name = looks[run.material].name;
    if (clamped > 0) {
        warnings << Warning() << clamped << " texture coordinate component" << (clamped == 1 ? " was" : "s were")
                 << " clamped to -1024..1024 texels in material \"" << name << "\"\n";
    }
    if (dropped > 0) {
        warnings << Warning() << dropped << (dropped == 1 ? " triangle" : " triangles") << " of material \""
                 << name << "\" left out: texture coordinates too large or spread over too many tiles to cut\n";
    }
}

ConsolePlan MaterialPlanBuilder::Build(std::vector<TexturePlan> planTextures, const std::string& identifier,
                                       MaterialPlanLists& lists)
{
    ConsolePlan plan;
    plan.cacheSize = cache.size;
    plan.lit = true;
    plan.textures = std::move(planTextures);
    textures = &plan.textures;
    cutting.assign(looks.size(), MaterialPlanLists::Cutting());
    CollectEdgePoints();

    const std::vector<Run> runs = CollectRuns();
    UniqueNames materialNames;
    std::vector<int> materialList(looks.size(), -1);
    for (const Run& run : runs) {
        if (materialList[run.material] < 0) {
            const MaterialLook& look = looks[run.material];
            plan.lists.push_back(DisplayListPlan{identifier + "Material_" + materialNames.Add(look.name),
                                                 MaterialCommands(look, plan.textures, lit, packedNormals)});
            materialList[run.material] = int(plan.lists.size() - 1);
        }
    }
    lists.materials = materialList;
    UniqueNames partNames;
    std::vector<std::string> partName(groups.partNames.size());
    for (size_t p = 0; p < partName.size(); ++p) {
        partName[p] = partNames.Add(groups.partNames[p]);
    }
    UniqueNames meshNames;
    std::vector<int> runList;
    for (const Run& run : runs) {
        const std::string name = identifier + "Mesh_" +
                                  meshNames.Add(partName[run.part] + "_" + IdentifierPart(looks[run.material].name.empty()
                                                                                              ? "default"
                                                                                              : looks[run.material].name));
        runList.push_back(AddRun(plan, run, name));
    }

    const std::vector<Command> reset = DefaultStateCommands(packedNormals);
    // A material called right after itself (in consecutive parts) is already in place and loads nothing again.
    auto drawRun = [&](std::vector<Command>& commands, int& lastMaterial, size_t r) {
        if (materialList[runs[r].material] != lastMaterial) {
            lastMaterial = materialList[runs[r].material];
            commands.push_back(CallList(lastMaterial));
        }
        commands.push_back(CallList(runList[r]));
    };
    for (size_t p = 0; p < groups.partNames.size(); ++p) {
        std::vector<Command> commands;
        int lastMaterial = -1;
        for (size_t r = 0; r < runs.size(); ++r) {
            if (runs[r].part == p) {
                drawRun(commands, lastMaterial, r);
            }
        }
        if (commands.empty()) {
            continue;
        }
        commands.insert(commands.end(), reset.begin(), reset.end());
        lists.partNames.push_back(identifier + "Part_" + partName[p]);
        plan.lists.push_back(DisplayListPlan{lists.partNames.back(), std::move(commands)});
        lists.parts.push_back(int(plan.lists.size() - 1));
    }
    std::vector<Command> model;
    int lastMaterial = -1;
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t r = 0; r < runs.size(); ++r) {
            const bool translucent = looks[runs[r].material].renderMode == RenderMode::Translucent;
            if (translucent == (pass == 1)) {
                drawRun(model, lastMaterial, r);
            }
        }
    }
    model.insert(model.end(), reset.begin(), reset.end());
    plan.lists.push_back(DisplayListPlan{identifier + "DisplayList", std::move(model)});
    plan.modelList = int(plan.lists.size() - 1);
    lists.cutting = cutting;
    return plan;
}

}

uint16_t PackNormal(float x, float y, float z)
{
    return uint16_t(PackComponent(x, 16, 5) << 11 | PackComponent(y, 32, 6) << 5 | PackComponent(z, 16, 5));
}

std::vector<Command> DefaultStateCommands(bool packedNormals)
{
    std::vector<Command> commands;
    commands.push_back(Simple(Command::PipeSync));
    commands.push_back(Simple(Command::SetGeometryMode, geometryLighting));
    if (packedNormals) {
        commands.push_back(Simple(Command::ClearGeometryMode, geometryPackedNormals));
    }
    commands.push_back(Simple(Command::Texture, 0));
    commands.push_back(Simple(Command::SetTextureLUT, 0));
    commands.push_back(Combine(CombinerMode{In::Zero, In::Zero, In::Zero, In::Shade, In::Zero, In::Zero, In::Zero,
                                            In::Shade}));
    commands.push_back(Render(RenderMode::Opaque));
    commands.push_back(Simple(Command::SetCycleOne));
    commands.push_back(Simple(Command::AlphaCompareNone));
    commands.push_back(Simple(Command::End));
    return commands;
}

ConsolePlan BuildMaterialPlan(const ObjFile& objFile, const std::vector<MaterialLook>& looks,
                              std::vector<TexturePlan> textures, const ConversionSettings& settings,
                              const std::string& identifier, TextSink& warnings, MaterialPlanLists& lists)
{
    POLVANE_CHECK(objFile.GetGroups() && looks.size() == objFile.GetGroups()->materialNames.size());
    MaterialPlanBuilder builder(objFile, looks, settings, warnings);
    return builder.Build(std::move(textures), identifier, lists);
}
