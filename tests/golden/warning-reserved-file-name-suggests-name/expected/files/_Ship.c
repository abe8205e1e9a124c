#include "_Ship.h"

Vtx _ShipVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx _ShipDisplayList[] = 
{
    gsSPVertex(&_ShipVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model _ShipModel = { _ShipVertices, _ShipDisplayList };

