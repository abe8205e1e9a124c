#ifndef POLVANE_VERTEXSHADING_H
#define POLVANE_VERTEXSHADING_H

#include <cstdint>

#include "console/consoleplan.h"

// The scene's lights, as the example game sets them (gdSPDefLights1): ambient 0x30, 0x30, 0x38 and one
// directional light 0xff, 0xff, 0xf0. `lightDirection` is the unit vector toward that light in the model's own
// space.

// The light that reaches a surface of unit normal n, 0 to 1 per channel (ambient plus the directional light's
// share, clamped at 1).
void LightFor(const float normal[3], const float lightDirection[3], float light[3]);

// The shade the vertex carries into the rasteriser, 0 to 1 per channel: lit, the light (times the row's colour
// with packed normals); unlit, the row's colour. Alpha is always the row's fourth byte.
// Lit, the normal is read from the row and scaled to unit length: packed normals are 5-6-5 in the flag (X bits
// 15..11, Y 10..5, Z 4..0, two's complement), otherwise the shade bytes are a signed normal. Returns whether
// there was one (lighting on and not zero), and then gives it in `normal`.
bool ShadeVertex(const VertexRow& row, uint32_t geometryMode, const float lightDirection[3], float shade[4],
                 float normal[3]);

#endif
