#include "m.h"

Vtx mVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 90, 0, -90, 0xff },
    { 0, 1, 0, 0, 0, 2048, 90, 0, -90, 0xff },
    { 50, 0, 0, 0, 0, 2048, 0, 0, -128, 0xff },
    { 0, 0, 0, 0, 0, 2048, 127, 0, 0, 0xff },
};

Gfx mDisplayList[] = 
{
    gsSPVertex(&mVertices[0], 4, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(0, 3, 1, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model mModel = { mVertices, mDisplayList };

