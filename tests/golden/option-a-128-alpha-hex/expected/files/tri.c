#include "tri.h"

Vtx triVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0x80 },
    { 1, 0, 0, 0, 0, 2048, 0, 0, 127, 0x80 },
    { 0, 1, 0, 0, 0, 2048, 0, 0, 127, 0x80 },
};

Gfx triDisplayList[] = 
{
    gsSPVertex(&triVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model triModel = { triVertices, triDisplayList };

