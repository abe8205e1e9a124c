#include "quad.h"

u64 quadTexture_arrow[] = 
{
    0xffffffffffff40ffULL, 0xffff40ffffff40ffULL, 0xffffffffffff40ffULL, 0xffff40ffffff40ffULL,
    0x00ffffff00ff40ffULL, 0x00ff40ff00ff40ffULL, 0x00ffffff00ff40ffULL, 0x00ff40ff00ff40ffULL,
    0xffff40ffffff40ffULL, 0xffff40ffffffffffULL, 0xffff40ffffff40ffULL, 0xffff40ffffffffffULL,
    0x00ff40ff00ff40ffULL, 0x00ff40ff00ffffffULL, 0x00ff40ff00ff40ffULL, 0x00ff40ff00ffffffULL,
    0xffff40ffffff40ffULL, 0xffffffffffff40ffULL, 0xffff40ffffff40ffULL, 0xffffffffffff40ffULL,
    0x00ff40ff00ff40ffULL, 0x00ffffff00ff40ffULL, 0x00ff40ff00ff40ffULL, 0x00ffffff00ff40ffULL,
    0xffff40ffffffffffULL, 0xffff40ffffff40ffULL, 0xffff40ffffffffffULL, 0xffff40ffffff40ffULL,
    0x00ff40ff00ffffffULL, 0x00ff40ff00ff40ffULL, 0x00ff40ff00ffffffULL, 0x00ff40ff00ff40ffULL,
    0xffffffffffff40ffULL, 0xffff40ffffff40ffULL, 0xffffffffffff40ffULL, 0xffff40ffffff40ffULL,
    0x00ffffff00ff40ffULL, 0x00ff40ff00ff40ffULL, 0x00ffffff00ff40ffULL, 0x00ff40ff00ff40ffULL,
    0xffff40ffffff40ffULL, 0xffff40ffffffffffULL, 0xffff40ffffff40ffULL, 0xffff40ffffffffffULL,
    0x00ff40ff00ff40ffULL, 0x00ff40ff00ffffffULL, 0x00ff40ff00ff40ffULL, 0x00ff40ff00ffffffULL,
    0xffff40ffffff40ffULL, 0xffffffffffff40ffULL, 0xffff40ffffff40ffULL, 0xffffffffffff40ffULL,
    0x00ff40ff00ff40ffULL, 0x00ffffff00ff40ffULL, 0x00ff40ff00ff40ffULL, 0x00ffffff00ff40ffULL,
    0xffff40ffffffffffULL, 0xffff40ffffff40ffULL, 0xffff40ffffffffffULL, 0xffff40ffffff40ffULL,
    0x00ff40ff00ffffffULL, 0x00ff40ff00ff40ffULL, 0x00ff40ff00ffffffULL, 0x00ff40ff00ff40ffULL,
    0xff00ffffff0040ffULL, 0xff0040ffff0040ffULL, 0xff00ffffff0040ffULL, 0xff0040ffff0040ffULL,
    0x0000ffff000040ffULL, 0x000040ff000040ffULL, 0x0000ffff000040ffULL, 0x000040ff000040ffULL,
    0xff0040ffff0040ffULL, 0xff0040ffff00ffffULL, 0xff0040ffff0040ffULL, 0xff0040ffff00ffffULL,
    0x000040ff000040ffULL, 0x000040ff0000ffffULL, 0x000040ff000040ffULL, 0x000040ff0000ffffULL,
    0xff0040ffff0040ffULL, 0xff00ffffff0040ffULL, 0xff0040ffff0040ffULL, 0xff00ffffff0040ffULL,
    0x000040ff000040ffULL, 0x0000ffff000040ffULL, 0x000040ff000040ffULL, 0x0000ffff000040ffULL,
    0xff0040ffff00ffffULL, 0xff0040ffff0040ffULL, 0xff0040ffff00ffffULL, 0xff0040ffff0040ffULL,
    0x000040ff0000ffffULL, 0x000040ff000040ffULL, 0x000040ff0000ffffULL, 0x000040ff000040ffULL,
    0xff00ffffff0040ffULL, 0xff0040ffff0040ffULL, 0xff00ffffff0040ffULL, 0xff0040ffff0040ffULL,
    0x0000ffff000040ffULL, 0x000040ff000040ffULL, 0x0000ffff000040ffULL, 0x000040ff000040ffULL,
    0xff0040ffff0040ffULL, 0xff0040ffff00ffffULL, 0xff0040ffff0040ffULL, 0xff0040ffff00ffffULL,
    0x000040ff000040ffULL, 0x000040ff0000ffffULL, 0x000040ff000040ffULL, 0x000040ff0000ffffULL,
    0xff0040ffff0040ffULL, 0xff00ffffff0040ffULL, 0xff0040ffff0040ffULL, 0xff00ffffff0040ffULL,
    0x000040ff000040ffULL, 0x0000ffff000040ffULL, 0x000040ff000040ffULL, 0x0000ffff000040ffULL,
    0xff0040ffff00ffffULL, 0xff0040ffff0040ffULL, 0xff0040ffff00ffffULL, 0xff0040ffff0040ffULL,
    0x000040ff0000ffffULL, 0x000040ff000040ffULL, 0x000040ff0000ffffULL, 0x000040ff000040ffULL,
};

Vtx quadVertices[] = 
{
    { 0, 0, 0, 0, 112, 240, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 1136, 240, 0, 0, 127, 0xff },
    { 1, 1, 0, 0, 1136, -1296, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 112, -1296, 0, 0, 127, 0xff },
};

/*
 * Every part list and the model's list end by restoring the state the next object of the game expects:
 * lighting on, texturing off, lookup table off, a shade-only combiner, the opaque z-buffered render
 * mode, one-cycle mode and alpha compare off.
 */
Gfx quadMaterial_look[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(TEXEL0, 0, SHADE, 0, 0, 0, 0, SHADE, TEXEL0, 0, SHADE, 0, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_ON),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPLoadTextureBlock(quadTexture_arrow, G_IM_FMT_RGBA, G_IM_SIZ_32b, 16, 16, 0, G_TX_WRAP | G_TX_NOMIRROR, G_TX_WRAP | G_TX_NOMIRROR, 4, 4, G_TX_NOLOD, G_TX_NOLOD),
    gsDPSetPrimColor(0, 0, 255, 255, 255, 255),
    gsSPEndDisplayList(),
};

Gfx quadMesh_default_look[] = 
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
    gsSPDisplayList(quadMaterial_look),
    gsSPDisplayList(quadMesh_default_look),
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
    gsSPDisplayList(quadMaterial_look),
    gsSPDisplayList(quadMesh_default_look),
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

