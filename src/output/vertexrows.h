#ifndef POLVANE_VERTEXROWS_H
#define POLVANE_VERTEXROWS_H

#include <cstdint>
#include <vector>

#include "console/consoleplan.h"
#include "model/objfile.h"
#include "output/outputtext.h"
#include "settings.h"

// One Vtx initialiser line: position, flag, texture coordinate, then the shade bytes as a signed normal in
// decimal or, with colour, as a colour in hexadecimal, then the alpha in hexadecimal. Fully braced rows brace
// the union member and each of its arrays.
void WriteVertexRow(OutputText& out, const VertexRow& row, bool colour, bool fullBraces = false);

// One Vtx initialiser line per vertex, vertex 0 first. With rowVertex, row r describes vertex rowVertex[r].
void WriteVertexRows(OutputText& out, const ObjFile& objFile, const ConversionSettings& settings,
                     const std::vector<uint32_t>* rowVertex = nullptr);

#endif
