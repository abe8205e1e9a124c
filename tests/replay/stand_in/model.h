#ifndef REPLAY_MODEL_H
#define REPLAY_MODEL_H

/* The project header a game provides: it makes Vtx and Gfx known and defines the model record. The microcode's
 * graphics definitions are chosen when compiling: REPLAY_F3DEX, REPLAY_F3DEX2 or REPLAY_F3DEX3, Fast3D without
 * any of them. */
#if defined(REPLAY_F3DEX)
#include "f3dex.h"
#elif defined(REPLAY_F3DEX2) || defined(REPLAY_F3DEX3)
#include "f3dex2.h"
#else
#include "fast3d.h"
#endif

typedef struct {
    Vtx *vertices;
    Gfx *displayList;
} model;

#endif
