#include "big.h"

Vtx bigVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, -128, 0xff },
    { 32767, 0, 0, 0, 0, 2048, 0, 0, -128, 0xff },
    { 0, -32768, 0, 0, 0, 2048, 0, 0, -128, 0xff },
};

Gfx bigDisplayList[] = 
{
    gsSPVertex(&bigVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model bigModel = { bigVertices, bigDisplayList };

