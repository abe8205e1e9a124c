#include "m.h"

Vtx mVertices[] = 
{
    { -1000, 500, 0, 0, 0, 2048, 20, 71, 104, 0xff },
    { 600, -250, 200, 0, 0, 2048, 20, 71, 104, 0xff },
    { 0, 800, -400, 0, 0, 2048, 20, 71, 104, 0xff },
};

Gfx mDisplayList[] = 
{
    gsSPVertex(&mVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model mModel = { mVertices, mDisplayList };

