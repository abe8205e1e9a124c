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
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(0, 2, 3, 0),
    gsSP1Triangle(1, 4, 2, 0),
    gsSP1Triangle(1, 5, 4, 0),
    gsSP1Triangle(5, 6, 4, 0),
    gsSP1Triangle(5, 7, 6, 0),
    gsSP1Triangle(3, 2, 8, 0),
    gsSP1Triangle(2, 4, 9, 0),
    gsSP1Triangle(2, 9, 8, 0),
    gsSP1Triangle(4, 6, 10, 0),
    gsSP1Triangle(4, 10, 9, 0),
    gsSP1Triangle(3, 8, 11, 0),
    gsSP1Triangle(11, 8, 12, 0),
    gsSP1Triangle(8, 9, 13, 0),
    gsSP1Triangle(8, 13, 12, 0),
    gsSP1Triangle(9, 10, 14, 0),
    gsSP1Triangle(9, 14, 13, 0),
    gsSP1Triangle(11, 12, 15, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model gridModel = { gridVertices, gridDisplayList };

