#ifndef POLVANE_VERTEXROW_H
#define POLVANE_VERTEXROW_H

#include <cstddef>
#include <cstdint>

#include "console/consoleplan.h"
#include "model/objfile.h"
#include "run/settings.h"

// v truncated toward zero, or the nearer bound when it lies outside -32768..32767; NaN gives 0.
int32_t ClampToInt16(double v);
// v truncated toward zero, or the nearer bound when it lies outside -128..127; NaN gives 0.
int32_t ClampToInt8(double v);

// The Vtx of vertex i: scaled position, flipped and scaled texture coordinate, the normal (or the -c colour),
// the alpha.
VertexRow MakeVertexRow(const ObjFile& objFile, size_t i, const ConversionSettings& settings);

#endif
