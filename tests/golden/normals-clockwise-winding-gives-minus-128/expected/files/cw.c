#include "cw.h"

Vtx cwVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, -128, 0xff },
    { 0, 1, 0, 0, 0, 2048, 0, 0, -128, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 0, -128, 0xff },
};

Gfx cwDisplayList[] = 
{
    gsSPVertex(&cwVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model cwModel = { cwVertices, cwDisplayList };

