#include "#1.h"

Vtx _1Vertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx _1DisplayList[] = 
{
    gsSPVertex(&_1Vertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model _1Model = { _1Vertices, _1DisplayList };

