#ifndef POLVANE_MATERIALLOADER_H
#define POLVANE_MATERIALLOADER_H

#include <ostream>
#include <string>
#include <vector>

#include "console/consoleplan.h"
#include "console/materiallook.h"
#include "model/objfile.h"
#include "settings.h"

// Reads the material libraries a model loaded with its groups names, and the textures they use, and decides how
// each of the model's materials is drawn: looks gets one entry per material name, textures one per texture file
// used (converted to the console's format). A missing library or texture is a warning, and the material falls
// back to its colour or to white. A library or texture that cannot be read is an error: one line on errors and
// false.
bool LoadMaterials(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                   std::ostream& warnings, std::ostream& errors, std::vector<MaterialLook>& looks,
                   std::vector<TexturePlan>& textures);

// A colour component as exporters write "Kd" (linear light) turned into the byte the console shows (sRGB).
uint8_t LinearToDisplayByte(float linear);

#endif
