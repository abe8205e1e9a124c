/*
 * draw.c - how a game draws the example ship once polvane has converted it.
 *
 *     polvane --full-braces -s 100 -u 0.5 -v 0.5 examples/ship.obj
 *
 * writes examples/ship.h and examples/ship.c next to the model. Build ship.c
 * and this file with the rest of the game, with examples/model.h (or your own
 * model.h) on the include path.
 *
 * Why those options: the model is in metres, about 2.5 long, and -s 100 makes
 * it 250 units long in the Vtx's 16-bit integer positions. Polvane writes a
 * texture coordinate of 1.0 as 2048, which the Vtx's 10.5 fixed point reads as
 * 64 texels; the ship's texture is 32x32, so -u 0.5 -v 0.5 halve both
 * coordinates. The vertex rows carry normals (polvane's default), so the ship
 * is lit by the RSP; with -c it would carry a constant colour instead and the
 * lighting below would have to go.
 *
 * The display list is written for the original Fast3D microcode. A game on
 * F3DEX2 converts with --ucode f3dex2 and builds everything, this file
 * included, with F3DEX_GBI_2 defined, so that the SDK's macros encode for that
 * microcode; nothing below changes.
 */
#include <ultra64.h>

#include "ship.h"

/* The game's texture for the ship: 32x32 texels of 16-bit RGBA, 2 KB of TMEM. */
extern u16 shipTexture[];

/* A dim ambient light and one white directional light. */
static Lights1 shipLights = gdSPDefLights1(
    0x30, 0x30, 0x38,  /* ambient colour */
    0xff, 0xff, 0xf0,  /* colour of the directional light */
    0x49, 0x49, 0x49); /* its direction, a signed vector of length about 127 */

/*
 * Render state for the ship: one-cycle mode, an opaque z-buffered surface,
 * the texture modulated by the lit vertex shade, back faces culled (the OBJ's
 * counter-clockwise faces are the front faces).
 */
static Gfx shipMaterial[] = {
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsDPSetCombineMode(G_CC_MODULATERGB, G_CC_MODULATERGB),
    gsDPSetTexturePersp(G_TP_PERSP),
    gsDPSetTextureFilter(G_TF_BILERP),
    gsDPSetTextureLUT(G_TT_NONE),
    gsSPClearGeometryMode(G_TEXTURE_GEN | G_TEXTURE_GEN_LINEAR | G_CULL_FRONT),
    gsSPSetGeometryMode(G_SHADE | G_SHADING_SMOOTH | G_ZBUFFER | G_CULL_BACK | G_LIGHTING),
    gsSPSetLights1(shipLights),
    gsSPTexture(0xffff, 0xffff, 0, G_TX_RENDERTILE, G_ON),
    gsDPLoadTextureBlock(shipTexture, G_IM_FMT_RGBA, G_IM_SIZ_16b, 32, 32, 0,
                         G_TX_WRAP | G_TX_NOMIRROR, G_TX_WRAP | G_TX_NOMIRROR,
                         5, 5, G_TX_NOLOD, G_TX_NOLOD),
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

    gSPDisplayList(gp++, shipMaterial);
    gSPDisplayList(gp++, shipModel.displayList); /* the record from ship.h */

    /* Leave the texture off for whatever the frame draws next. */
    gDPPipeSync(gp++);
    gSPTexture(gp++, 0, 0, 0, G_TX_RENDERTILE, G_OFF);
    return gp;
}
