#ifndef POLVANE_VERTEXROWS_H
#define POLVANE_VERTEXROWS_H

#include <cstdint>
#include <vector>

#include "model/objfile.h"
#include "output/outputtext.h"
#include "plan/consoleplan.h"
#include "settings.h"

// v truncated toward zero, or the nearer bound when it lies outside -32768..32767; NaN gives 0.
int32_t ClampToInt16(double v);
// v truncated toward zero, or the nearer bound when it lies outside -128..127; NaN gives 0.
int32_t ClampToInt8(double v);

// The Vtx of vertex i: scaled position, flipped and scaled texture coordinate, the normal (or the -c colour),
// the alpha.
VertexRow MakeVertexRow(const ObjFile& objFile, size_t i, const ConversionSettings& settings);

// One Vtx initialiser line: position, flag, texture coordinate, then the shade bytes as a signed normal in
// decimal or, with colour, as a colour in hexadecimal, then the alpha in hexadecimal. Fully braced rows brace
// the union member and each of its arrays.
void WriteVertexRow(OutputText& out, const VertexRow& row, bool colour, bool fullBraces = false);

// One Vtx initialiser line per vertex, vertex 0 first. With rowVertex, row r describes vertex rowVertex[r].
void WriteVertexRows(OutputText& out, const ObjFile& objFile, const ConversionSettings& settings,
                     const std::vector<uint32_t>* rowVertex = nullptr);

#endif
