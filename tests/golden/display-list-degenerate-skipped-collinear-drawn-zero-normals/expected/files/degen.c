#include "degen.h"

Vtx degenVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 5, 5, 0, 0, 0, 2048, 0, 0, 0, 0xff },
    { 2, 0, 0, 0, 0, 2048, 0, 0, 0, 0xff },
    { 3, 0, 0, 0, 0, 2048, 0, 0, 0, 0xff },
};

Gfx degenDisplayList[] = 
{
    gsSPVertex(&degenVertices[0], 3, 0),
    gsSPVertex(&degenVertices[4], 2, 3),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(1, 3, 4, 0),
    gsSP1Triangle(1, 2, 0, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model degenModel = { degenVertices, degenDisplayList };

