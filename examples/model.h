/*
 * model.h - one way to define the `model` type that Polvane's output uses.
 *
 * Every header that polvane writes includes "model.h" and declares
 *
 *     extern model shipModel;
 *
 * and the source file defines it as
 *
 *     model shipModel = { shipVertices, shipDisplayList };
 *
 * so the type needs two members that can be initialised, in this order, from the
 * vertex array (Vtx[]) and the display list (Gfx[]). This header must also make
 * Vtx and Gfx known, which the SDK's <ultra64.h> does. Put this file (or your
 * own version with more members after these two) on the include path of the
 * game's build.
 */
#ifndef MODEL_H
#define MODEL_H

#include <ultra64.h>

typedef struct {
    Vtx *vertices;    /* the vertex array; the display list loads from it */
    Gfx *displayList; /* draws every triangle; ends with gsSPEndDisplayList() */
} model;

#endif
