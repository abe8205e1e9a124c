#ifndef POLVANE_VERTEXROWS_H
#define POLVANE_VERTEXROWS_H

#include <cstdint>
#include <vector>

#include "model/objfile.h"
#include "output/outputtext.h"
#include "settings.h"

// v truncated toward zero, or the nearer bound when it lies outside -32768..32767; NaN gives 0.
int32_t ClampToInt16(double v);
// v truncated toward zero, or the nearer bound when it lies outside -128..127; NaN gives 0.
int32_t ClampToInt8(double v);

// One Vtx initialiser line per vertex, vertex 0 first: position, flag, texture coordinate, normal or colour,
// alpha. With rowVertex, row r describes vertex rowVertex[r] instead.
void WriteVertexRows(OutputText& out, const ObjFile& objFile, const ConversionSettings& settings,
                     const std::vector<uint32_t>* rowVertex = nullptr);

#endif
