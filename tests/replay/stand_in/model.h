#ifndef REPLAY_MODEL_H
#define REPLAY_MODEL_H

/* The project header a game provides: it makes Vtx and Gfx known and defines the model record. */
#include "fast3d.h"

typedef struct {
    Vtx *vertices;
    Gfx *displayList;
} model;

#endif
