#ifndef POLVANE_DISPLAYLISTINTERPRETER_H
#define POLVANE_DISPLAYLISTINTERPRETER_H

#include <cstdint>
#include <vector>

#include "console/consoleplan.h"
#include "textures/tilegrid.h"

// A vertex in the cache, as the vertex load made it under the state of that moment.
struct CachedVertex {
    float position[3];
    float st[2];        // in 1/32 texels, after the texture scale
    float shade[4];     // 0 to 1: lit or coloured, as the geometry mode said
    bool hasNormal;     // the row was read as a normal (lighting on)
    float normal[3];    // unit length when hasNormal
    uint32_t serial;    // counts the vertex loads, 1 and up: equal serials are the same vertex
};

// The state a triangle is drawn with.
struct DrawState {
    uint32_t geometryMode = 0;
    bool texturing = false;
    const TexturePlan* texture = nullptr;               // the texture in tile 0, if any was loaded
    bool tiled = false;                                 // only tile's rectangle of it was loaded
    TileRectangle tile;
    const std::vector<uint16_t>* palette = nullptr;     // the lookup table, while it is switched on and loaded
    CombinerMode combiner{};
    RenderMode renderMode = RenderMode::Opaque;
    float primitive[4] = {1, 1, 1, 1};  // white until a list sets it
    int batch = 0;  // which group of vertex loads the triangle is drawn from, counted from 0
};

// Receives the triangles in the order the console draws them; corners in the command's order.
class TriangleSink {
public:
    virtual ~TriangleSink() = default;
    virtual void Triangle(const CachedVertex& v1, const CachedVertex& v2, const CachedVertex& v3,
                          const DrawState& state) = 0;
};

// Runs the model's list from its start until its end command, following calls (ten deep at most, as the
// microcode's call stack; a deeper call is skipped, so a cycle ends) and keeping a cache of plan.cacheSize
// slots. Before the list: lighting as plan.lit, texturing off, a shade-only combiner, the opaque render mode.
// Triangles naming a slot that was never loaded, or loaded from a row that does not exist, are skipped; so are
// loads past the cache's end and calls or textures that do not exist. Runs at most a bounded number of
// commands, so no plan can make it run for ever.
// Vertices are lit by the light toward lightDirection (unit length, model space) as they are loaded.
void InterpretModelList(const ConsolePlan& plan, const float lightDirection[3], TriangleSink& sink);

#endif
