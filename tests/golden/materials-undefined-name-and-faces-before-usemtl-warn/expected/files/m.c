#include "m.h"

Vtx mVertices[] = 
{
    { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
};

/*
 * Every part list and the model's list end by restoring the state the next object of the game expects:
 * lighting on, texturing off, lookup table off, a shade-only combiner, the opaque z-buffered render
 * mode, one-cycle mode and alpha compare off.
 */
Gfx mMaterial_default[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE, PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetPrimColor(0, 0, 255, 255, 255, 255),
    gsSPEndDisplayList(),
};

Gfx mMaterial_red[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE, PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetPrimColor(0, 0, 255, 255, 255, 255),
    gsSPEndDisplayList(),
};

Gfx mMaterial_blue[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE, PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetPrimColor(0, 0, 255, 255, 255, 255),
    gsSPEndDisplayList(),
};

Gfx mMesh_default_default[] = 
{
    gsSPVertex(&mVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

Gfx mMesh_default_red[] = 
{
    gsSPVertex(&mVertices[3], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsSP1Triangle(2, 0, 1, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

Gfx mMesh_default_blue[] = 
{
    gsSPVertex(&mVertices[6], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

Gfx mPart_default[] = 
{
    gsSPDisplayList(mMaterial_default),
    gsSPDisplayList(mMesh_default_default),
    gsSPDisplayList(mMaterial_red),
    gsSPDisplayList(mMesh_default_red),
    gsSPDisplayList(mMaterial_blue),
    gsSPDisplayList(mMesh_default_blue),
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

Gfx mDisplayList[] = 
{
    gsSPDisplayList(mMaterial_default),
    gsSPDisplayList(mMesh_default_default),
    gsSPDisplayList(mMaterial_red),
    gsSPDisplayList(mMesh_default_red),
    gsSPDisplayList(mMaterial_blue),
    gsSPDisplayList(mMesh_default_blue),
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

model mModel = { mVertices, mDisplayList };

