#include "rows.h"

Vtx rowsVertices[] = 
{
    {{{ 1, 2, 3 }, 0, { 512, 1024 }, { 0, 0, -128, 0xff }}},
    {{{ -4, 5, -6 }, 0, { 2048, 2048 }, { 0, 0, -128, 0xff }}},
    {{{ 7, -8, 9 }, 0, { 0, 0 }, { 0, 0, -128, 0xff }}},
};

Gfx rowsDisplayList[] = 
{
    gsSPVertex(&rowsVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model rowsModel = { rowsVertices, rowsDisplayList };

