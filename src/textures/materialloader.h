#ifndef POLVANE_MATERIALLOADER_H
#define POLVANE_MATERIALLOADER_H

#include <string>
#include <vector>

#include "console/consoleplan.h"
#include "console/materiallook.h"
#include "model/objfile.h"
#include "run/settings.h"
#include "textsink.h"

// Reads the material libraries a model loaded with its groups names, and the textures they use, and decides how
// each of the model's materials is drawn: looks gets one entry per material name, textures one per texture file
// used (converted to the console's format). A missing library or texture is a warning, and the material falls
// back to its colour or to white. A library or texture that cannot be read is an error: one line on errors and
// false.
// Materials that the libraries lack, and faces before any "usemtl" while they define some, are warnings too.
// files, when given, receives the libraries and images that were read.
struct MaterialFiles {
    std::vector<std::string> libraries;
    std::vector<std::string> images;
};
bool LoadMaterials(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                   TextSink& warnings, TextSink& errors, std::vector<MaterialLook>& looks,
                   std::vector<TexturePlan>& textures, MaterialFiles* files = nullptr);

// The defined name nearest to name when it differs only in letter case or by a small edit (at most two letters
// inserted, removed or changed, and fewer than half of them); "" when none does.
std::string ClosestName(const std::string& name, const std::vector<std::string>& defined);

// A colour component as exporters write "Kd" (linear light) turned into the byte the console shows (sRGB).
uint8_t LinearToDisplayByte(float linear);

#endif
