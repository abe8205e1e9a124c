#include "corner.h"

Vtx cornerVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 73, 73, 73, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 90, 90, 0xff },
    { 0, 1, 0, 0, 0, 2048, 90, 0, 90, 0xff },
    { 0, 0, 1, 0, 0, 2048, 90, 90, 0, 0xff },
};

Gfx cornerDisplayList[] = 
{
    gsSPVertex(&cornerVertices[0], 4, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(0, 2, 3, 0),
    gsSP1Triangle(0, 3, 1, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model cornerModel = { cornerVertices, cornerDisplayList };

