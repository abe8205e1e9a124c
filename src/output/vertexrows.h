#ifndef POLVANE_VERTEXROWS_H
#define POLVANE_VERTEXROWS_H

#include "console/consoleplan.h"
#include "output/outputtext.h"

// One Vtx initialiser line: position, flag, texture coordinate, then the shade bytes as a signed normal in
// decimal or, with colour, as a colour in hexadecimal, then the alpha in hexadecimal. Fully braced rows brace
// the union member and each of its arrays.
void WriteVertexRow(OutputText& out, const VertexRow& row, bool colour, bool fullBraces = false);

#endif
