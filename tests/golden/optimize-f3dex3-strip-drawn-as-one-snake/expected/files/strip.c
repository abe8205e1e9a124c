#include "strip.h"

Vtx stripVertices[] = 
{
    { 1000, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1100, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1100, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 1000, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 900, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 900, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 800, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 800, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 700, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 700, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 600, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 600, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 500, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 500, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 400, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 400, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 300, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 300, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 200, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 200, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 100, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 100, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 100, 0, 0, 0, 2048, 0, 0, 127, 0xff },
    { 0, 0, 0, 0, 0, 2048, 0, 0, 127, 0xff },
};

Gfx stripDisplayList[] = 
{
    gsSPVertex(&stripVertices[0], 24, 0),
    gsSPTriSnake(1, 2, 0, 3, G_SNAKE_LEFT, 4, G_SNAKE_RIGHT, 5, G_SNAKE_LEFT, 6, G_SNAKE_RIGHT),
    gsSPContinueSnake(7, G_SNAKE_LEFT, 8, G_SNAKE_RIGHT, 9, G_SNAKE_LEFT, 10, G_SNAKE_RIGHT, 11, G_SNAKE_LEFT, 12, G_SNAKE_RIGHT, 13, G_SNAKE_LEFT, 14, G_SNAKE_RIGHT),
    gsSPContinueSnake(15, G_SNAKE_LEFT, 16, G_SNAKE_RIGHT, 17, G_SNAKE_LEFT, 18, G_SNAKE_RIGHT, 19, G_SNAKE_LEFT, 20, G_SNAKE_RIGHT, 21, G_SNAKE_LEFT, 22, G_SNAKE_RIGHT),
    gsSPContinueSnake(23 | G_SNAKE_LAST, G_SNAKE_LEFT, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

model stripModel = { stripVertices, stripDisplayList };

