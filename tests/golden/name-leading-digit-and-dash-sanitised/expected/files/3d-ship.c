#include "3d-ship.h"

Vtx _3d_shipVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx _3d_shipDisplayList[] = 
{
    gsSPVertex(&_3d_shipVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model _3d_shipModel = { _3d_shipVertices, _3d_shipDisplayList };

