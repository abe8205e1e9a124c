#include "fan.h"

Vtx fanVertices[] = 
{
    { 100, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 66, -74, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 91, -40, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, -95, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -10, -99, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -50, -86, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -80, -58, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -97, -20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -97, 20, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -80, 58, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -50, 86, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -10, 99, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 30, 95, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 66, 74, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 91, 40, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx fanDisplayList[] = 
{
    gsSPVertex(&fanVertices[0], 15, 0),
    gsSPTriSnake(1, 2, 0, 3, G_SNAKE_LEFT, 4, G_SNAKE_RIGHT, 5, G_SNAKE_RIGHT, 6, G_SNAKE_RIGHT),
    gsSPContinueSnake(7, G_SNAKE_RIGHT, 8, G_SNAKE_RIGHT, 9, G_SNAKE_RIGHT, 10, G_SNAKE_RIGHT, 11, G_SNAKE_RIGHT, 12, G_SNAKE_RIGHT, 13, G_SNAKE_RIGHT, 14 | G_SNAKE_LAST, G_SNAKE_RIGHT),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model fanModel = { fanVertices, fanDisplayList };

