#include "small.h"

Vtx smallVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 0, 0, 0, 0, 2048, 0, 0, 0, 0xff },
};

Gfx smallDisplayList[] = 
{
    gsSPVertex(&smallVertices[0], 4, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(1, 3, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model smallModel = { smallVertices, smallDisplayList };

