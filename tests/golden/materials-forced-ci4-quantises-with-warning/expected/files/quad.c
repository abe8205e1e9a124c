#include "quad.h"

u64 quadTexture_big[] = 
{
    0x0000004444111166ULL, 0x0000004444111166ULL, 0x0000044441111666ULL, 0x0000444411116666ULL,
    0x0005444ccc17776dULL, 0x005544cccc7777ddULL, 0x55555cccc7777dddULL, 0x5555cccc7777ddddULL,
    0x5552ccc8777733ddULL, 0x5522cc88777733ddULL, 0x2222288883333aaaULL, 0x222288883333aaaaULL,
    0x222288883333aaaaULL, 0x222288883333aaaaULL, 0x99999eeeebbbbfffULL, 0x9999eeeebbbbffffULL,
};

u64 quadPalette_big[] = 
{
    0x084328470947294bULL, 0x184508c5384928c9ULL, 0x194909c9394d29cdULL, 0x18c738cb19cb39cfULL,
};

Vtx quadVertices[] = 
{
    { 0, 0, 0, 0, -16, 496, 0, 0, 127, 0xff },
    { 1, 0, 0, 0, 496, 496, 0, 0, 127, 0xff },
    { 1, 1, 0, 0, 496, -16, 0, 0, 127, 0xff },
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
    gsDPSetTextureLUT(G_TT_RGBA16),
    gsDPLoadTLUT_pal16(0, quadPalette_big),
    gsDPLoadTextureBlock_4b(quadTexture_big, G_IM_FMT_CI, 16, 16, 0, G_TX_WRAP | G_TX_NOMIRROR, G_TX_WRAP | G_TX_NOMIRROR, 4, 4, G_TX_NOLOD, G_TX_NOLOD),
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

