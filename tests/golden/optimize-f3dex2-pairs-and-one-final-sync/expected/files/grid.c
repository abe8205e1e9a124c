#include "grid.h"

Vtx gridVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx gridDisplayList[] = 
{
    gsSPVertex(&gridVertices[0], 16, 0),
    gsSP2Triangles(0, 1, 2, 0, 0, 2, 3, 0),
    gsSP2Triangles(1, 4, 2, 0, 1, 5, 4, 0),
    gsSP2Triangles(5, 6, 4, 0, 5, 7, 6, 0),
    gsSP2Triangles(3, 2, 8, 0, 2, 4, 9, 0),
    gsSP2Triangles(2, 9, 8, 0, 4, 6, 10, 0),
    gsSP2Triangles(4, 10, 9, 0, 3, 8, 11, 0),
    gsSP2Triangles(11, 8, 12, 0, 8, 9, 13, 0),
    gsSP2Triangles(8, 13, 12, 0, 9, 10, 14, 0),
    gsSP2Triangles(9, 14, 13, 0, 11, 12, 15, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model gridModel = { gridVertices, gridDisplayList };

