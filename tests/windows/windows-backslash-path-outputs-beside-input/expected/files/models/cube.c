#include "cube.h"

Vtx cubeVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, -42, -85, -85, 0xff },
    { 0, 1, 0, 0, 0, 2048, -104, 52, -52, 0xff },
    { 1, 1, 0, 0, 0, 2048, 42, 85, -85, 0xff },
    { 1, 0, 0, 0, 0, 2048, 104, -52, -52, 0xff },
    { 0, 0, 1, 0, 0, 2048, -85, -42, 85, 0xff },
    { 1, 0, 1, 0, 0, 2048, 52, -104, 52, 0xff },
    { 1, 1, 1, 0, 0, 2048, 85, 42, 85, 0xff },
    { 0, 1, 1, 0, 0, 2048, -52, 104, 52, 0xff },
};

Gfx cubeDisplayList[] = 
{
    gsSPVertex(&cubeVertices[0], 8, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(0, 2, 3, 0),
    gsSP1Triangle(4, 5, 6, 0),
    gsSP1Triangle(4, 6, 7, 0),
    gsSP1Triangle(0, 3, 5, 0),
    gsSP1Triangle(0, 5, 4, 0),
    gsSP1Triangle(3, 2, 6, 0),
    gsSP1Triangle(3, 6, 5, 0),
    gsSP1Triangle(2, 1, 7, 0),
    gsSP1Triangle(2, 7, 6, 0),
    gsSP1Triangle(1, 0, 4, 0),
    gsSP1Triangle(1, 4, 7, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model cubeModel = { cubeVertices, cubeDisplayList };

