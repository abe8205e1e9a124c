#include "vrow.h"

Vtx vrowVertices[] = 
{
    { 1, -2, 32767, 0, 512, 512, 0, 127, 0, 0xff },
    { 0, 0, 0, 0, 512, 512, 0, 127, 0, 0xff },
    { 1, 0, 0, 0, 512, 512, 0, 127, 0, 0xff },
};

Gfx vrowDisplayList[] = 
{
    gsSPVertex(&vrowVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model vrowModel = { vrowVertices, vrowDisplayList };

