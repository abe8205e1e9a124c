#include "m.h"

Vtx mVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, -48, 118, 0xff },
    { 1, 0, 0, 0, 2048, 0, 0, -48, 118, 0xff },
    { 0, 1, 0, 0, 2048, 0, 0, 0, 127, 0xff },
    { 5, 5, 5, 0, 2048, 0, 0, -90, 90, 0xff },
};

Gfx mDisplayList[] = 
{
    gsSPVertex(&mVertices[0], 4, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(0, 1, 3, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model mModel = { mVertices, mDisplayList };

