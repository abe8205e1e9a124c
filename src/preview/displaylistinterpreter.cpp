#include "preview/displaylistinterpreter.h"

#include "plan/trianglesnake.h"

#include <algorithm>

#include "console/cachelayout.h"
#include "preview/vertexshading.h"

namespace {

constexpr int callDepthLimit = 10;
constexpr float textureScale = 65535.0f / 65536.0f; // gsSPTexture's 0xFFFF

class Interpreter {
public:
    Interpreter(const ConsolePlan& consolePlan, const float towardLight[3], TriangleSink& triangleSink)
        : plan(consolePlan), lightDirection{towardLight[0], towardLight[1], towardLight[2]}, sink(triangleSink),
          cache(size_t(std::min(std::max(consolePlan.cacheSize, 0), largestCache))),
          loaded(cache.size(), false)
    {
        size_t total = 0;
        for (const DisplayListPlan& list : plan.lists) {
            total += list.commands.size();
        }
        budget = 8 * total + 1000000;
        state.geometryMode = plan.lit ? uint32_t(geometryLighting) : 0u;
        const CombinerInput z = CombinerInput::Zero, shade = CombinerInput::Shade;
        state.combiner = CombinerMode{z, z, z, shade, z, z, z, shade};
    }

    void Run(size_t listIndex, int depth)
    {
        const std::vector<Command>& commands = plan.lists[listIndex].commands;
        for (size_t i = 0; i < commands.size(); ++i) {
            const Command& command = commands[i];
            if (budget == 0) {
                return;
            }
            --budget;
            if (command.kind == Command::End) {
                return;
            }
            if (command.kind == Command::Call) {
                if (command.a < plan.lists.size() && depth + 1 < callDepthLimit) {
                    Run(command.a, depth + 1);
                }
                continue;
            }
            if (command.kind == Command::TriangleSnake) {
                size_t words = 1;
                for (const std::array<uint32_t, 3>& t : SnakeTriangles(&command, commands.size() - i, words)) {
                    Draw(t[0], t[1], t[2]);
                }
                i += words - 1;
                continue;
            }
            Execute(command);
        }
    }

private:
    void Execute(const Command& command)
    {
        switch (command.kind) {
        case Command::Vertex:
            Load(command.a, command.b, command.c);
            break;
        case Command::Triangle:
            Draw(command.a, command.b, command.c);
            break;
        case Command::TrianglePair:
            Draw(command.a, command.b, command.c);
            Draw(command.d, command.e, command.f);
            break;
        case Command::SetGeometryMode:
            state.geometryMode |= command.a;
            break;
        case Command::ClearGeometryMode:
            state.geometryMode &= ~command.a;
            break;
        case Command::SetCombine:
            state.combiner = command.combiner;
            break;
        case Command::SetRenderMode:
            state.renderMode = command.renderMode;
            break;
        case Command::Texture:
            state.texturing = command.a != 0;
            break;
        case Command::LoadTexture:
            state.texture = command.a < plan.textures.size() ? &plan.textures[command.a] : nullptr;
            state.tiled = false;
            break;
        case Command::LoadTextureTile:
            state.texture = command.a < plan.textures.size() ? &plan.textures[command.a] : nullptr;
            state.tiled = state.texture != nullptr;
            if (state.tiled) {
                state.tile = TileRectangleOf(state.texture->tiles, state.texture->width - 2,
                                             state.texture->height - 2, int(command.b));
            }
            break;
        case Command::LoadPalette:
            palette = command.a < plan.textures.size() ? &plan.textures[command.a].palette : nullptr;
            break;
        case Command::SetTextureLUT:
            lookupTable = command.a != 0;
            break;
        case Command::SetPrimColour:
            state.primitive[0] = float(command.a & 255) / 255.0f;
            state.primitive[1] = float(command.b & 255) / 255.0f;
            state.primitive[2] = float(command.c & 255) / 255.0f;
            state.primitive[3] = float(command.d & 255) / 255.0f;
            break;
        default: // syncs, cycle type and alpha compare change nothing the preview draws
            break;
        }
    }

    void Load(uint32_t firstRow, uint32_t count, uint32_t firstSlot)
    {
        if (trianglesSinceLoad || !anyLoad) {
            state.batch += anyLoad ? 1 : 0;
            anyLoad = true;
            trianglesSinceLoad = false;
        }
        for (uint64_t i = 0; i < count && uint64_t(firstSlot) + i < cache.size(); ++i) {
            const size_t slot = size_t(firstSlot + i);
            const uint64_t row = uint64_t(firstRow) + i;
            loaded[slot] = row < plan.rows.size();
            if (loaded[slot]) {
                Transform(plan.rows[size_t(row)], cache[slot]);
            }
        }
    }

    void Transform(const VertexRow& row, CachedVertex& vertex)
    {
        for (int c = 0; c < 3; ++c) {
            vertex.position[c] = row.position[c];
        }
        vertex.st[0] = float(row.st[0]) * textureScale;
        vertex.st[1] = float(row.st[1]) * textureScale;
        vertex.hasNormal = ShadeVertex(row, state.geometryMode, lightDirection, vertex.shade, vertex.normal);
        vertex.serial = ++serial;
    }

    void Draw(uint32_t slot1, uint32_t slot2, uint32_t slot3)
    {
        trianglesSinceLoad = true;
        if (!Usable(slot1) || !Usable(slot2) || !Usable(slot3)) {
            return;
        }
        state.palette = lookupTable ? palette : nullptr;
        sink.Triangle(cache[slot1], cache[slot2], cache[slot3], state);
    }

    bool Usable(uint32_t slot) const { return slot < cache.size() && loaded[slot]; }

    const ConsolePlan& plan;
    const float lightDirection[3];
    TriangleSink& sink;
    std::vector<CachedVertex> cache;
    std::vector<bool> loaded;
    DrawState state;
    const std::vector<uint16_t>* palette = nullptr;
    bool lookupTable = false;
    bool anyLoad = false;
    bool trianglesSinceLoad = false;
    size_t budget = 0;
    uint32_t serial = 0;
};

} // namespace

void InterpretModelList(const ConsolePlan& plan, const float lightDirection[3], TriangleSink& sink)
{
    if (plan.modelList < 0 || size_t(plan.modelList) >= plan.lists.size()) {
        return;
    }
    Interpreter(plan, lightDirection, sink).Run(size_t(plan.modelList), 0);
}
