#include "strip.h"

Vtx stripVertices[] = 
{
    { 1, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 2, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 2, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 1, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 0, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 0, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 5, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 6, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 6, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 5, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 4, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 4, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 9, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 10, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 10, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 9, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 8, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 8, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 3, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 4, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 4, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 3, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 2, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 2, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 7, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 8, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 8, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 7, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 6, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 6, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 10, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 11, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 10, 1, 0, 0, 0, 0, 0, 0, 127, 0xff },
    { 11, 0, 0, 0, 0, 0, 0, 0, 127, 0xff },
};

/*
 * Every part list and the model's list end by restoring the state the next object of the game expects:
 * lighting on, texturing off, lookup table off, a shade-only combiner, the opaque z-buffered render
 * mode, one-cycle mode and alpha compare off.
 */
Gfx stripMaterial_red[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE, PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetPrimColor(0, 0, 255, 0, 0, 255),
    gsSPEndDisplayList(),
};

Gfx stripMaterial_blue[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE, PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetPrimColor(0, 0, 0, 0, 255, 255),
    gsSPEndDisplayList(),
};

Gfx stripMesh_default_red[] = 
{
    gsSPVertex(&stripVertices[0], 18, 0),
    gsSP2Triangles(0, 1, 2, 0, 0, 2, 3, 0),
    gsSP2Triangles(4, 0, 3, 0, 4, 3, 5, 0),
    gsSP2Triangles(6, 7, 8, 0, 6, 8, 9, 0),
    gsSP2Triangles(10, 6, 9, 0, 10, 9, 11, 0),
    gsSP2Triangles(12, 13, 14, 0, 12, 14, 15, 0),
    gsSP2Triangles(16, 12, 15, 0, 16, 15, 17, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

Gfx stripMesh_default_blue[] = 
{
    gsSPVertex(&stripVertices[18], 16, 0),
    gsSP2Triangles(0, 1, 2, 0, 0, 2, 3, 0),
    gsSP2Triangles(4, 0, 3, 0, 4, 3, 5, 0),
    gsSP2Triangles(6, 7, 8, 0, 6, 8, 9, 0),
    gsSP2Triangles(10, 6, 9, 0, 10, 9, 11, 0),
    gsSP2Triangles(12, 13, 14, 0, 12, 15, 13, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

Gfx stripPart_default[] = 
{
    gsSPDisplayList(stripMaterial_red),
    gsSPDisplayList(stripMesh_default_red),
    gsSPDisplayList(stripMaterial_blue),
    gsSPDisplayList(stripMesh_default_blue),
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

Gfx stripDisplayList[] = 
{
    gsSPDisplayList(stripMaterial_red),
    gsSPDisplayList(stripMesh_default_red),
    gsSPDisplayList(stripMaterial_blue),
    gsSPDisplayList(stripMesh_default_blue),
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

model stripModel = { stripVertices, stripDisplayList };

