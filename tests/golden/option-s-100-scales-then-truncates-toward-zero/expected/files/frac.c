#include "frac.h"

Vtx fracVertices[] = 
{
    { 25, -25, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 100, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx fracDisplayList[] = 
{
    gsSPVertex(&fracVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model fracModel = { fracVertices, fracDisplayList };

