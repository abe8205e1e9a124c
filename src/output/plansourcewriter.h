#ifndef POLVANE_PLANSOURCEWRITER_H
#define POLVANE_PLANSOURCEWRITER_H

#include <string>
#include <vector>

#include "console/consoleplan.h"
#include "output/outputnames.h"
#include "output/outputtext.h"

// The header of a model with materials: the model record and one display list per part.
void WritePlanHeader(OutputText& out, const OutputNames& names, const std::vector<std::string>& partLists);

// The source of a model with materials, in the order C needs: textures and palettes, the vertex array, then
// every display list of the plan (each after the lists it calls), and the model record.
void WritePlanSource(OutputText& out, const OutputNames& names, const ConsolePlan& plan, bool fullBraces);

// A snake's head or continuation word as a line of the display list.
std::string SnakeText(const Command& command);

// The texel array's and the palette array's C names.
std::string TextureArrayName(const std::string& identifier, const TexturePlan& texture);
std::string PaletteArrayName(const std::string& identifier, const TexturePlan& texture);

#endif
