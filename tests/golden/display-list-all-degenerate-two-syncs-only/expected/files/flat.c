#include "flat.h"

Vtx flatVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 0, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 0, 0, 0xff },
};

Gfx flatDisplayList[] = 
{
    gsDPPipeSync(),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model flatModel = { flatVertices, flatDisplayList };

