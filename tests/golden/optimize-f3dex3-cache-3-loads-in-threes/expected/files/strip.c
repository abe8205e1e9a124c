#include "strip.h"

Vtx stripVertices[] = 
{
    { 10, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx stripDisplayList[] = 
{
    gsSPVertex(&stripVertices[0], 3, 0),
    gsSP1Triangle(0, 1, 2, 0),
    gsSPVertex(&stripVertices[3], 1, 1),
    gsSP1Triangle(1, 0, 2, 0),
    gsSPVertex(&stripVertices[4], 1, 0),
    gsSP1Triangle(1, 2, 0, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model stripModel = { stripVertices, stripDisplayList };

