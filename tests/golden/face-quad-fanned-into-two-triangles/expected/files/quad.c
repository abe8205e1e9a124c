#include "quad.h"

Vtx quadVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 2, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 2, 2, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 2, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx quadDisplayList[] = 
{
    gsSPVertex(&quadVertices[0], 4, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(0, 2, 3, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model quadModel = { quadVertices, quadDisplayList };

