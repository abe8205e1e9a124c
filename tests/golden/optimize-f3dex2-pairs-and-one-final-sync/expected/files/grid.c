#include "grid.h"

Vtx gridVertices[] = 
{
    { 0, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 10, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 30, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx gridDisplayList[] = 
{
    gsSPVertex(&gridVertices[0], 16, 0),
    gsSP2Triangles(0, 1, 2, 0, 0, 3, 1, 0),
    gsSP2Triangles(4, 3, 0, 0, 4, 5, 3, 0),
    gsSP2Triangles(6, 5, 4, 0, 6, 7, 5, 0),
    gsSP2Triangles(7, 8, 5, 0, 5, 8, 9, 0),
    gsSP2Triangles(5, 9, 3, 0, 3, 9, 10, 0),
    gsSP2Triangles(3, 10, 1, 0, 7, 11, 8, 0),
    gsSP2Triangles(11, 12, 8, 0, 8, 12, 13, 0),
    gsSP2Triangles(8, 13, 9, 0, 9, 13, 14, 0),
    gsSP2Triangles(9, 14, 10, 0, 11, 15, 12, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model gridModel = { gridVertices, gridDisplayList };

