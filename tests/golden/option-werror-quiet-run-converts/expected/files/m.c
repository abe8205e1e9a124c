#include "m.h"

Vtx mVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
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

