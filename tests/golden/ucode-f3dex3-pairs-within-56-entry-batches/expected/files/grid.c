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
    gsSPVertex(&gridVertices[0], 16, 0),
    gsDPPipeSync(),
    gsSP2Triangles(0, 1, 2, 0, 0, 2, 3, 0),
    gsSP2Triangles(1, 4, 5, 0, 1, 5, 2, 0),
    gsSP2Triangles(4, 6, 7, 0, 4, 7, 5, 0),
    gsSP2Triangles(3, 2, 8, 0, 3, 8, 9, 0),
    gsSP2Triangles(2, 5, 10, 0, 2, 10, 8, 0),
    gsSP2Triangles(5, 7, 11, 0, 5, 11, 10, 0),
    gsSP2Triangles(9, 8, 12, 0, 9, 12, 13, 0),
    gsSP2Triangles(8, 10, 14, 0, 8, 14, 12, 0),
    gsSP2Triangles(10, 11, 15, 0, 10, 15, 14, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model gridModel = { gridVertices, gridDisplayList };

