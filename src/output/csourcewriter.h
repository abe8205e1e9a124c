#ifndef POLVANE_CSOURCEWRITER_H
#define POLVANE_CSOURCEWRITER_H

#include <cstdint>
#include <string>
#include <vector>

#include "console/consoleplan.h"
#include "model/objfile.h"
#include "plan/materialplan.h"
#include "run/settings.h"
#include "textsink.h"

// What the display list of one conversion costs the console.
struct DisplayListStats {
    uint64_t trianglesDrawn = 0;
    uint64_t degenerateTriangles = 0;
    uint64_t vertices = 0;  // rows of the vertex array
    uint64_t batches = 0;   // groups of consecutive loads
    uint64_t loadRows = 0;
    uint64_t verticesLoaded = 0;
    uint64_t commands = 0;  // rows of the display list
    // The RSP instructions the lists cost as modelled for the microcode, and the least any order could cost.
    double modelledInstructions = 0;
    double instructionBound = 0;
    // With materials: what each material draws and the bytes of its texture and palette.
    struct Material {
        std::string name;
        uint64_t triangles = 0;
        uint64_t textureBytes = 0;
        // A tiled texture: its tiles, their size, the tile loads the model's list makes for it, and what the
        // cutting added.
        int tiles = 0;
        int tileWidth = 0, tileHeight = 0;
        uint64_t tileLoads = 0;
        uint64_t trianglesAdded = 0, verticesAdded = 0;
    };
    std::vector<Material> materials;
    // With materials: each texture as converted, and how close it draws to its image.
    struct Texture {
        std::string name;
        TextureFormat format = TextureFormat::RGBA16;
        int width = 0;
        int height = 0;
        uint64_t bytes = 0;
        double psnr = -1.0;  // negative when not measured
    };
    std::vector<Texture> textures;
    uint64_t textureBytes = 0;  // every texture and palette array
    bool withMaterials = false;
    // The box of the model's positions as read, and of the vertex rows' integer positions.
    double extentLow[3] = {0, 0, 0};
    double extentHigh[3] = {0, 0, 0};
    int32_t scaledLow[3] = {0, 0, 0};
    int32_t scaledHigh[3] = {0, 0, 0};
};

// Fills the extents of stats from the model's positions and the scale.
void MeasureExtent(const ObjFile& objFile, double scale, DisplayListStats& stats);

void PrintStats(TextSink& out, const DisplayListStats& stats);

// Triangles of the model that name one vertex twice and are never drawn.
uint64_t CountDegenerateTriangles(const ObjFile& objFile);

// Adds what one command of a drawn list loads and draws (not its cost in commands) to stats; afterLoad carries
// whether the command before it was a load, as consecutive loads make one batch.
void CountCommand(const Command& command, bool& afterLoad, DisplayListStats& stats);

// Counts what the plan's model list draws and loads, following its calls, and what all its lists cost.
// materialLists names, per material, its list in the plan (-1 for none); cutting, per material, what cutting
// along tiles made of its triangles (empty when nothing is tiled).
void CountPlan(const ConsolePlan& plan, const std::vector<int>& materialLists,
               const std::vector<std::string>& materialNames, DisplayListStats& stats,
               const std::vector<MaterialPlanLists::Cutting>& cutting = {});

// Prices the plan's model list, following its calls, for the microcode of settings.
void CostPlan(const ConsolePlan& plan, const ConversionSettings& settings, DisplayListStats& stats);

// Writes <name>.h and <name>.c for a loaded model next to objPath, or into settings.outputDir. Both files are
// written to temporary files first and replace the targets only when both are complete, so a failed run leaves
// earlier outputs as they were. Progress lines go to progress (when settings.verbose); warnings and a failure
// (one line, and false) go to errors.
bool WriteCSource(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                  TextSink& progress, TextSink& errors, DisplayListStats* stats = nullptr);

// Writes <name>.h and <name>.c of a model with materials from its plan, replacing earlier outputs as above.
bool WritePlanFiles(const ConsolePlan& plan, const std::vector<std::string>& partLists, const std::string& objPath,
                    const ConversionSettings& settings, TextSink& progress, TextSink& errors);

#endif
