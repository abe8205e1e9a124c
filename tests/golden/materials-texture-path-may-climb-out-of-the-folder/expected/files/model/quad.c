#include "quad.h"

u64 quadTexture_checker[] = 
{
    0xf80107c1003fffffULL,
};

Vtx quadVertices[] = 
{
    { 0, 0, 0, 0, -16, 48, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 48, 48, 0, 0, 127, 0xff },
    { 1, 1, 0, 0, 48, -16, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, -16, -16, 0, 0, 127, 0xff },
};

/*
 * Every part list and the model's list end by restoring the state the next object of the game expects:
 * lighting on, texturing off, lookup table off, a shade-only combiner, the opaque z-buffered render
 * mode, one-cycle mode and alpha compare off.
 */
Gfx quadMaterial_checker[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(TEXEL0, 0, SHADE, 0, 0, 0, 0, SHADE, TEXEL0, 0, SHADE, 0, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_ON),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPLoadTextureTile(quadTexture_checker, G_IM_FMT_RGBA, G_IM_SIZ_16b, 2, 2, 0, 0, 1, 1, 0, G_TX_WRAP | G_TX_NOMIRROR, G_TX_WRAP | G_TX_NOMIRROR, 1, 1, G_TX_NOLOD, G_TX_NOLOD),
    gsDPSetPrimColor(0, 0, 255, 255, 255, 255),
    gsSPEndDisplayList(),
};

Gfx quadMesh_default_checker[] = 
{
    gsSPVertex(&quadVertices[0], 4, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(0, 2, 3, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

Gfx quadPart_default[] = 
{
    gsSPDisplayList(quadMaterial_checker),
    gsSPDisplayList(quadMesh_default_checker),
    gsDPPipeSync(),
    gsSPSetGeometryMode(G_LIGHTING),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetCombineLERP(0, 0, 0, SHADE, 0, 0, 0, SHADE, 0, 0, 0, SHADE, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsDPSetAlphaCompare(G_AC_NONE),
    gsSPEndDisplayList(),
};

Gfx quadDisplayList[] = 
{
    gsSPDisplayList(quadMaterial_checker),
    gsSPDisplayList(quadMesh_default_checker),
    gsDPPipeSync(),
    gsSPSetGeometryMode(G_LIGHTING),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetCombineLERP(0, 0, 0, SHADE, 0, 0, 0, SHADE, 0, 0, 0, SHADE, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsDPSetAlphaCompare(G_AC_NONE),
    gsSPEndDisplayList(),
};

model quadModel = { quadVertices, quadDisplayList };

