#include "grid.h"

Vtx gridVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx gridDisplayList[] = 
{
    gsSPVertex(&gridVertices[0], 8, 0),
    gsDPPipeSync(),
    gsSP2Triangles(0, 1, 2, 0, 0, 2, 3, 0),
    gsSP2Triangles(1, 4, 5, 0, 1, 5, 2, 0),
    gsSP2Triangles(4, 6, 7, 0, 4, 7, 5, 0),
    gsDPPipeSync(),
    gsSPVertex(&gridVertices[2], 2, 0),
    gsSPVertex(&gridVertices[5], 1, 2),
    gsSPVertex(&gridVertices[7], 5, 3),
    gsDPPipeSync(),
    gsSP2Triangles(1, 0, 4, 0, 1, 4, 5, 0),
    gsSP2Triangles(0, 2, 6, 0, 0, 6, 4, 0),
    gsSP2Triangles(2, 3, 7, 0, 2, 7, 6, 0),
    gsDPPipeSync(),
    gsSPVertex(&gridVertices[8], 8, 0),
    gsDPPipeSync(),
    gsSP2Triangles(1, 0, 4, 0, 1, 4, 5, 0),
    gsSP2Triangles(0, 2, 6, 0, 0, 6, 4, 0),
    gsSP2Triangles(2, 3, 7, 0, 2, 7, 6, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model gridModel = { gridVertices, gridDisplayList };

