#include "uv.h"

Vtx uvVertices[] = 
{
    { 0, 0, 0, 0, 3072, 768, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 2048, 1024, 0, 0, 127, 0xff },
};

Gfx uvDisplayList[] = 
{
    gsSPVertex(&uvVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model uvModel = { uvVertices, uvDisplayList };

