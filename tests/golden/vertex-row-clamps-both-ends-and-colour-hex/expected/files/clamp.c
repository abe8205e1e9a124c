#include "clamp.h"

Vtx clampVertices[] = 
{
    { 1, -1, 32767, 0, 32767, 0, 0xff, 0x80, 0x0, 0xff },
    { -32768, 0, 0, 0, -32768, 2048, 0xff, 0x80, 0x0, 0xff },
    { 0, 0, 0, 0, 1024, 1024, 0xff, 0x80, 0x0, 0xff },
};

Gfx clampDisplayList[] = 
{
    gsSPVertex(&clampVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model clampModel = { clampVertices, clampDisplayList };

