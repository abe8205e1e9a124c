#include "quad.h"

u64 quadTexture_colours[] = 
{
    0x36b613ffff13b636ULL, 0x3636ececc9c9ffffULL,
};

Vtx quadVertices[] = 
{
    { 0, 0, 0, 0, -16, 112, 0, 0, 127, 0x80 },
    { 1, 0, 0, 0, 112, 112, 0, 0, 127, 0x80 },
    { 1, 1, 0, 0, 112, -16, 0, 0, 127, 0x80 },
    { 0, 1, 0, 0, -16, -16, 0, 0, 127, 0x80 },
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
    gsDPLoadTextureTile(quadTexture_colours, G_IM_FMT_I, G_IM_SIZ_8b, 4, 4, 0, 0, 3, 3, 0, G_TX_WRAP | G_TX_NOMIRROR, G_TX_WRAP | G_TX_NOMIRROR, 2, 2, G_TX_NOLOD, G_TX_NOLOD),
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

