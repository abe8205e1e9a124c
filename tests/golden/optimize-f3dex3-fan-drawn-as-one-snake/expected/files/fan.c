#include "fan.h"

Vtx fanVertices[] = 
{
    { 100, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 85, -51, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 96, -26, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 68, -73, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 46, -88, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, -97, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -6, -99, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -33, -94, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -57, -81, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -77, -63, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -91, -39, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -99, -13, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -99, 13, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -91, 39, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -77, 63, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -57, 81, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -33, 94, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { -6, 99, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 20, 97, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 46, 88, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 68, 73, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 85, 51, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 96, 26, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx fanDisplayList[] = 
{
    gsSPVertex(&fanVertices[0], 23, 0),
    gsSPTriSnake(1, 2, 0, 3, G_SNAKE_LEFT, 4, G_SNAKE_RIGHT, 5, G_SNAKE_RIGHT, 6, G_SNAKE_RIGHT),
    gsSPContinueSnake(7, G_SNAKE_RIGHT, 8, G_SNAKE_RIGHT, 9, G_SNAKE_RIGHT, 10, G_SNAKE_RIGHT, 11, G_SNAKE_RIGHT, 12, G_SNAKE_RIGHT, 13, G_SNAKE_RIGHT, 14, G_SNAKE_RIGHT),
    gsSPContinueSnake(15, G_SNAKE_RIGHT, 16, G_SNAKE_RIGHT, 17, G_SNAKE_RIGHT, 18, G_SNAKE_RIGHT, 19, G_SNAKE_RIGHT, 20, G_SNAKE_RIGHT, 21, G_SNAKE_RIGHT, 22 | G_SNAKE_LAST, G_SNAKE_RIGHT),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model fanModel = { fanVertices, fanDisplayList };

