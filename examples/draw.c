/*
 * draw.c - how a game draws the example ship once polvane has converted it.
 *
 *     polvane --materials --full-braces -s 100 examples/ship.obj
 *
 * writes examples/ship.h and examples/ship.c next to the model: the ship's
 * texture (ship.png, converted to the console's format), one display list per
 * material of ship.mtl with the state it needs, one display list per part, and
 * shipModel, whose display list draws the whole ship and leaves the default
 * state behind it. Build ship.c and this file with the rest of the game, with
 * examples/model.h (or your own model.h) on the include path.
 *
 * Why those options: the model is in metres, about 2.5 long, and -s 100 makes
 * it 250 units long in the Vtx's 16-bit integer positions. --materials reads
 * ship.mtl, so the texture coordinates come out in texels of ship.png and every
 * material's texture load, colour combiner and render mode is written for us.
 * The vertex rows carry normals, so the ship is lit by the RSP with the lights
 * below.
 *
 * The display list is written for the original Fast3D microcode. A game on
 * F3DEX2 converts with --ucode f3dex2 and builds everything, this file
 * included, with F3DEX_GBI_2 defined, so that the SDK's macros encode for that
 * microcode; nothing below changes.
 */
#include <ultra64.h>

#include "ship.h"

/* A dim ambient light and one white directional light. */
static Lights1 shipLights = gdSPDefLights1(
    0x30, 0x30, 0x38,  /* ambient colour */
    0xff, 0xff, 0xf0,  /* colour of the directional light */
    0x49, 0x49, 0x49); /* its direction, a signed vector of length about 127 */

/*
 * What the ship's lists expect of the game and do not set themselves: smooth
 * shading, the z-buffer, back faces culled (the OBJ's counter-clockwise faces
 * are the front faces), perspective-correct, bilinear texturing, and the
 * lights. Each material sets its own combiner, render mode, texture and
 * lighting; the model's list restores the default state at its end.
 */
static Gfx shipSetup[] = {
    gsDPPipeSync(),
    gsDPSetTexturePersp(G_TP_PERSP),
    gsDPSetTextureFilter(G_TF_BILERP),
    gsSPClearGeometryMode(G_TEXTURE_GEN | G_TEXTURE_GEN_LINEAR | G_CULL_FRONT),
    gsSPSetGeometryMode(G_SHADE | G_SHADING_SMOOTH | G_ZBUFFER | G_CULL_BACK | G_LIGHTING),
    gsSPSetLights1(shipLights),
    gsSPEndDisplayList(),
};

/*
 * The matrices of one frame. The RSP reads them while it runs that frame's
 * task, so they belong to the frame's own buffer (double-buffered with the
 * display list), never to the stack.
 */
typedef struct {
    Mtx projection;
    Mtx viewing;
    Mtx modeling;
} ShipMatrices;

/*
 * Appends the commands that draw the ship, turned by `angle` degrees about its
 * vertical axis, to the frame's display list at `gp`; returns the next free
 * command. A frame, in outline:
 *
 *     gSPSegment(gp++, 0, 0x0);        segment 0 = physical address 0, so the
 *                                      plain addresses in ship.c work
 *     ... RSP and RDP set-up, viewport, clear the colour and z-buffers ...
 *     gp = DrawShip(gp, &frameBuffers[frame].ship, angle);
 *     gDPFullSync(gp++);
 *     gSPEndDisplayList(gp++);
 *
 * then osWritebackDCacheAll() and osSpTaskStart() as for any frame.
 */
Gfx *DrawShip(Gfx *gp, ShipMatrices *m, float angle)
{
    u16 perspNorm;

    guPerspective(&m->projection, &perspNorm, 33.0F, 320.0F / 240.0F, 10.0F, 1000.0F, 1.0F);
    guLookAt(&m->viewing, 0.0F, 120.0F, 420.0F, 0.0F, 0.0F, 0.0F, 0.0F, 1.0F, 0.0F);
    guRotate(&m->modeling, angle, 0.0F, 1.0F, 0.0F);

    gSPPerspNormalize(gp++, perspNorm);
    gSPMatrix(gp++, OS_K0_TO_PHYSICAL(&m->projection), G_MTX_PROJECTION | G_MTX_LOAD | G_MTX_NOPUSH);
    gSPMatrix(gp++, OS_K0_TO_PHYSICAL(&m->viewing), G_MTX_PROJECTION | G_MTX_MUL | G_MTX_NOPUSH);
    gSPMatrix(gp++, OS_K0_TO_PHYSICAL(&m->modeling), G_MTX_MODELVIEW | G_MTX_LOAD | G_MTX_NOPUSH);

    gSPDisplayList(gp++, shipSetup);
    /* The whole ship; shipPart_canopy and the other part lists draw one part. */
    gSPDisplayList(gp++, shipModel.displayList);
    return gp;
}
