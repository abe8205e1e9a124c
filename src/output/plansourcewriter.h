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

// The pieces of a plan's source, which the plain conversion also prints one by one as its plan is made: the
// vertex array's and a display list's opening, the end of either, one command (Call names a list of plan, the
// texture loads its textures; C names start with identifier), and the model record.
void WriteVertexArrayStart(OutputText& out, const std::string& identifier);
void WriteListStart(OutputText& out, const std::string& name);
void WriteArrayEnd(OutputText& out);
void WriteCommand(OutputText& out, const ConsolePlan& plan, const std::string& identifier, const Command& command);
void WriteModelRecord(OutputText& out, const std::string& identifier);

// A snake's head or continuation word as a line of the display list.
void WriteSnake(OutputText& out, const Command& command);

// The texel array's and the palette array's C names.
std::string TextureArrayName(const std::string& identifier, const TexturePlan& texture);
std::string PaletteArrayName(const std::string& identifier, const TexturePlan& texture);

#endif
