#ifndef POLVANE_MATERIALPLAN_H
#define POLVANE_MATERIALPLAN_H

#include <cstdint>
#include <string>
#include <vector>

#include "console/consoleplan.h"
#include "console/materiallook.h"
#include "model/objfile.h"
#include "run/settings.h"
#include "textsink.h"

// The lists of a plan with materials, by index into ConsolePlan::lists.
struct MaterialPlanLists {
    std::vector<int> parts;            // one self-contained list per part, in the order of the file
    std::vector<std::string> partNames;  // the C names of those lists
    std::vector<int> materials;        // per material look, its list; -1 when no triangle uses it
    // Per material look, what cutting along its texture's tiles made of its triangles (all 0 when untiled):
    // triangles and distinct vertices before, triangles and vertex rows after.
    struct Cutting {
        uint64_t triangles = 0, vertices = 0, pieces = 0, rows = 0;
    };
    std::vector<Cutting> cutting;
};

// Builds the plan of a model loaded with its groups: the vertex rows welded per part and material (texture
// coordinates in texels of the material's texture, faces shifted by whole repeats to stay in range), one list
// per material with its state, one list of batches per part and material, one list per part and the model's
// list (opaque and cutout materials first, translucent ones last), each ending by restoring the default state.
// looks holds one entry per material name of the model's groups, textures the plan's textures. C names start
// with identifier. Texture coordinates that still do not fit are clamped, with a warning naming the material.
// A material whose texture is tiled has its triangles cut along the tiles; each part's list for it loads each
// tile it needs once and draws that tile's pieces.
ConsolePlan BuildMaterialPlan(const ObjFile& objFile, const std::vector<MaterialLook>& looks,
                              std::vector<TexturePlan> textures, const ConversionSettings& settings,
                              const std::string& identifier, TextSink& warnings, MaterialPlanLists& lists);

// The state every list with materials leaves behind, for whatever the game draws next.
std::vector<Command> DefaultStateCommands(bool packedNormals);

// F3DEX3's packed normal: X in bits 15..11, Y in 10..5, Z in 4..0, each rounded and kept in its signed range.
uint16_t PackNormal(float x, float y, float z);

#endif
