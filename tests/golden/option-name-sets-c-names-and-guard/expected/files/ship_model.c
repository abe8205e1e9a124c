#include "ship_model.h"

Vtx ship_modelVertices[] = 
{
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx ship_modelDisplayList[] = 
{
    gsSPVertex(&ship_modelVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model ship_modelModel = { ship_modelVertices, ship_modelDisplayList };

