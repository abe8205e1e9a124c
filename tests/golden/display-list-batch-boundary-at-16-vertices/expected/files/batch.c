#include "batch.h"

Vtx batchVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 2, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 3, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 2, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 4, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 5, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 4, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 6, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 7, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 6, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 8, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 9, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 8, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, -1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1, 2, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 11, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 10, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx batchDisplayList[] = 
{
    gsSPVertex(&batchVertices[0], 16, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(3, 4, 5, 0),
    gsSP1Triangle(6, 7, 8, 0),
    gsSP1Triangle(9, 10, 11, 0),
    gsSP1Triangle(12, 13, 14, 0),
    gsSP1Triangle(0, 15, 1, 0),
    gsDPPipeSync(),
    gsSPVertex(&batchVertices[2], 2, 0),
    gsSPVertex(&batchVertices[16], 4, 2),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(3, 4, 5, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model batchModel = { batchVertices, batchDisplayList };

