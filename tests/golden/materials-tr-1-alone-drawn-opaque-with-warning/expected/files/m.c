#include "m.h"

Vtx mVertices[] = 
{
    { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xff },
    { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0xff },
};

/*
 * Every part list and the model's list end by restoring the state the next object of the game expects:
 * lighting on, texturing off, lookup table off, a shade-only combiner, the opaque z-buffered render
 * mode, one-cycle mode and alpha compare off.
 */
Gfx mMaterial_meshlab[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE, PRIMITIVE, 0, SHADE, 0, 0, 0, 0, SHADE),
    gsDPSetRenderMode(G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetPrimColor(0, 0, 0, 255, 0, 255),
    gsSPEndDisplayList(),
};

Gfx mMaterial_glass[] = 
{
    gsDPPipeSync(),
    gsDPSetCycleType(G_CYC_1CYCLE),
    gsSPSetGeometryMode(G_LIGHTING),
    gsDPSetCombineLERP(PRIMITIVE, 0, SHADE, 0, PRIMITIVE, 0, SHADE, 0, PRIMITIVE, 0, SHADE, 0, PRIMITIVE, 0, SHADE, 0),
    gsDPSetRenderMode(G_RM_AA_ZB_XLU_SURF, G_RM_AA_ZB_XLU_SURF2),
    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, G_OFF),
    gsDPSetTextureLUT(G_TT_NONE),
    gsDPSetPrimColor(0, 0, 0, 0, 255, 0),
    gsSPEndDisplayList(),
};

Gfx mMesh_default_meshlab[] = 
{
    gsSPVertex(&mVertices[0], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

Gfx mMesh_default_glass[] = 
{
    gsSPVertex(&mVertices[3], 3, 0),
    gsDPPipeSync(),
    gsSP1Triangle(0, 1, 2, 0),
    gsDPPipeSync(),
    gsSPEndDisplayList(),
};

Gfx mPart_default[] = 
{
    gsSPDisplayList(mMaterial_meshlab),
    gsSPDisplayList(mMesh_default_meshlab),
    gsSPDisplayList(mMaterial_glass),
    gsSPDisplayList(mMesh_default_glass),
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
    gsSPDisplayList(mMaterial_meshlab),
    gsSPDisplayList(mMesh_default_meshlab),
    gsSPDisplayList(mMaterial_glass),
    gsSPDisplayList(mMesh_default_glass),
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

