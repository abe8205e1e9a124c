#ifndef REPLAY_GBI_SHARED_H
#define REPLAY_GBI_SHARED_H

/* The vertex and command types shared by the stand-ins for the console's graphics definitions, and the commands
 * of the display processor, which every microcode passes on unchanged. A command that carries an address (vertex
 * load, called list, image) keeps it in a field of host size instead of the second word, so that the list can be
 * replayed on the host; bits that the real commands would carry elsewhere (triangle flags) land in a field of
 * their own. */

typedef struct {
    short ob[3];          /* position */
    unsigned short flag;
    short tc[2];          /* texture coordinate, s and t */
    unsigned char cn[4];  /* normal or colour, then alpha */
} Vtx_t;

typedef union {
    Vtx_t v;
    long long forceAlign;
} Vtx;

typedef unsigned long long u64;

typedef struct {
    unsigned int w0;
    unsigned int w1;
    const void *addr;     /* the address of a vertex load, a called list or an image */
    unsigned int flags;   /* triangle flags of the commands that have no room for them in their words */
} Gfx;

#define REPLAY_U(x) ((unsigned int)(x))
#define REPLAY_NO_ARGUMENT(op) { REPLAY_U(op) << 24, 0u, 0, 0u }

#define gsDPPipeSync() REPLAY_NO_ARGUMENT(0xE7)
#define gsDPLoadSync() REPLAY_NO_ARGUMENT(0xE6)
#define gsDPTileSync() REPLAY_NO_ARGUMENT(0xE8)

/* Image formats and texel sizes, and what the load macros derive from a size. */
#define G_IM_FMT_RGBA 0
#define G_IM_FMT_YUV 1
#define G_IM_FMT_CI 2
#define G_IM_FMT_IA 3
#define G_IM_FMT_I 4
#define G_IM_SIZ_4b 0
#define G_IM_SIZ_8b 1
#define G_IM_SIZ_16b 2
#define G_IM_SIZ_32b 3
#define G_IM_SIZ_4b_LOAD_BLOCK G_IM_SIZ_16b
#define G_IM_SIZ_8b_LOAD_BLOCK G_IM_SIZ_16b
#define G_IM_SIZ_16b_LOAD_BLOCK G_IM_SIZ_16b
#define G_IM_SIZ_32b_LOAD_BLOCK G_IM_SIZ_32b
#define G_IM_SIZ_4b_BYTES 0
#define G_IM_SIZ_8b_BYTES 1
#define G_IM_SIZ_16b_BYTES 2
#define G_IM_SIZ_32b_BYTES 4
#define G_IM_SIZ_4b_LINE_BYTES 0
#define G_IM_SIZ_8b_LINE_BYTES 1
#define G_IM_SIZ_16b_LINE_BYTES 2
#define G_IM_SIZ_32b_LINE_BYTES 2
#define G_IM_SIZ_4b_INCR 3
#define G_IM_SIZ_8b_INCR 1
#define G_IM_SIZ_16b_INCR 0
#define G_IM_SIZ_32b_INCR 0
#define G_IM_SIZ_4b_SHIFT 2
#define G_IM_SIZ_8b_SHIFT 1
#define G_IM_SIZ_16b_SHIFT 0
#define G_IM_SIZ_32b_SHIFT 0

#define G_TX_LOADTILE 7
#define G_TX_RENDERTILE 0
#define G_TX_NOMIRROR 0
#define G_TX_WRAP 0
#define G_TX_MIRROR 1
#define G_TX_CLAMP 2
#define G_TX_NOMASK 0
#define G_TX_NOLOD 0
#define G_ON 1
#define G_OFF 0

/* Combiner inputs: colour (CCMUX) and alpha (ACMUX); "0" and "1" are spelt as digits in the macro. */
#define G_CCMUX_COMBINED 0
#define G_CCMUX_TEXEL0 1
#define G_CCMUX_TEXEL1 2
#define G_CCMUX_PRIMITIVE 3
#define G_CCMUX_SHADE 4
#define G_CCMUX_ENVIRONMENT 5
#define G_CCMUX_1 6
#define G_CCMUX_0 31
#define G_ACMUX_COMBINED 0
#define G_ACMUX_TEXEL0 1
#define G_ACMUX_TEXEL1 2
#define G_ACMUX_PRIMITIVE 3
#define G_ACMUX_SHADE 4
#define G_ACMUX_ENVIRONMENT 5
#define G_ACMUX_1 6
#define G_ACMUX_0 7

/* Render modes: the first word is the blender of cycle one, the second that of cycle two, both with the same
 * flags (G_RM_AA_ZB_OPA_SURF | G_RM_AA_ZB_OPA_SURF2 is 0x00552078). */
#define G_RM_AA_ZB_OPA_SURF 0x00442078u
#define G_RM_AA_ZB_OPA_SURF2 0x00112078u
#define G_RM_AA_ZB_TEX_EDGE 0x00443078u
#define G_RM_AA_ZB_TEX_EDGE2 0x00113078u
#define G_RM_AA_ZB_XLU_SURF 0x004049D8u
#define G_RM_AA_ZB_XLU_SURF2 0x001049D8u

/* Other-mode settings: each is a field of the high or the low other-mode word, set through REPLAY_SET_OTHER_MODE
 * (high: 1, low: 0), which every microcode's stand-in defines for its own command. */
#define G_CYC_1CYCLE (0u << 20)
#define G_CYC_2CYCLE (1u << 20)
#define G_TT_NONE (0u << 14)
#define G_TT_RGBA16 (2u << 14)
#define G_TT_IA16 (3u << 14)
#define G_AC_NONE 0u
#define G_AC_THRESHOLD 1u
#define G_AC_DITHER 3u
#define gsDPSetCycleType(type) REPLAY_SET_OTHER_MODE(1, 20, 2, type)
#define gsDPSetTextureLUT(type) REPLAY_SET_OTHER_MODE(1, 14, 2, type)
#define gsDPSetAlphaCompare(type) REPLAY_SET_OTHER_MODE(0, 0, 2, type)
#define gsDPSetRenderMode(c0, c1) REPLAY_SET_OTHER_MODE(0, 3, 29, REPLAY_U(c0) | REPLAY_U(c1))

/* The combiner: (a - b) * c + d for colour and alpha, in two cycles. Fields are masked to their widths as in the
 * real macro, since "0" is a five-bit value in every field. */
#define REPLAY_FIELD(x, at, width) ((REPLAY_U(x) & ((1u << (width)) - 1u)) << (at))
#define gsDPSetCombineLERP(a0, b0, c0, d0, Aa0, Ab0, Ac0, Ad0, a1, b1, c1, d1, Aa1, Ab1, Ac1, Ad1)        \
    { (0xFCu << 24) | REPLAY_FIELD(G_CCMUX_##a0, 20, 4) | REPLAY_FIELD(G_CCMUX_##c0, 15, 5) |              \
          REPLAY_FIELD(G_ACMUX_##Aa0, 12, 3) | REPLAY_FIELD(G_ACMUX_##Ac0, 9, 3) |                         \
          REPLAY_FIELD(G_CCMUX_##a1, 5, 4) | REPLAY_FIELD(G_CCMUX_##c1, 0, 5),                             \
      REPLAY_FIELD(G_CCMUX_##b0, 28, 4) | REPLAY_FIELD(G_CCMUX_##d0, 15, 3) |                              \
          REPLAY_FIELD(G_ACMUX_##Ab0, 12, 3) | REPLAY_FIELD(G_ACMUX_##Ad0, 9, 3) |                         \
          REPLAY_FIELD(G_CCMUX_##b1, 24, 4) | REPLAY_FIELD(G_ACMUX_##Aa1, 21, 3) |                         \
          REPLAY_FIELD(G_ACMUX_##Ac1, 18, 3) | REPLAY_FIELD(G_CCMUX_##d1, 6, 3) |                          \
          REPLAY_FIELD(G_ACMUX_##Ab1, 3, 3) | REPLAY_FIELD(G_ACMUX_##Ad1, 0, 3),                           \
      0, 0u }

#define gsDPSetPrimColor(m, l, r, g, b, a)                                                                 \
    { (0xFAu << 24) | (REPLAY_U(m) << 8) | REPLAY_U(l),                                                    \
      (REPLAY_U(r) << 24) | (REPLAY_U(g) << 16) | (REPLAY_U(b) << 8) | REPLAY_U(a), 0, 0u }

/* Texture loading. Fields are not masked, so that an out-of-range line, address or count spills into the
 * neighbouring field; the block load keeps its texel count unclamped (the real macro clamps it silently at 2047)
 * so that the replay sees a load that would be cut short. */
#define gsDPSetTextureImage(fmt, siz, width, img)                                                          \
    { (0xFDu << 24) | (REPLAY_U(fmt) << 21) | (REPLAY_U(siz) << 19) | (REPLAY_U(width) - 1u), 0u, (img), 0u }
#define gsDPSetTile(fmt, siz, line, tmem, tile, pal, cmt, maskt, shiftt, cms, masks, shifts)               \
    { (0xF5u << 24) | (REPLAY_U(fmt) << 21) | (REPLAY_U(siz) << 19) | (REPLAY_U(line) << 9) | REPLAY_U(tmem), \
      (REPLAY_U(tile) << 24) | (REPLAY_U(pal) << 20) | (REPLAY_U(cmt) << 18) | (REPLAY_U(maskt) << 14) |   \
          (REPLAY_U(shiftt) << 10) | (REPLAY_U(cms) << 8) | (REPLAY_U(masks) << 4) | REPLAY_U(shifts),     \
      0, 0u }
#define REPLAY_TILE_RECT(op, tile, uls, ult, lrs, lrt)                                                      \
    { (REPLAY_U(op) << 24) | (REPLAY_U(uls) << 12) | REPLAY_U(ult),                                        \
      (REPLAY_U(tile) << 24) | (REPLAY_U(lrs) << 12) | REPLAY_U(lrt), 0, 0u }
#define gsDPSetTileSize(tile, uls, ult, lrs, lrt) REPLAY_TILE_RECT(0xF2, tile, uls, ult, lrs, lrt)
#define gsDPLoadTile(tile, uls, ult, lrs, lrt) REPLAY_TILE_RECT(0xF4, tile, uls, ult, lrs, lrt)
#define gsDPLoadBlock(tile, uls, ult, lrs, dxt) REPLAY_TILE_RECT(0xF3, tile, uls, ult, lrs, dxt)
#define gsDPLoadTLUTCmd(tile, count) { 0xF0u << 24, (REPLAY_U(tile) << 24) | (REPLAY_U(count) << 14), 0, 0u }

/* F3DEX3's headers can leave the syncs out of the load macros (NO_SYNCS_IN_TEXTURE_LOADS) and load palettes
 * through tile 5; its stand-in does so, so that the replay cannot count on a macro's length. */
#if defined(REPLAY_F3DEX3)
#define REPLAY_SYNC(command)
#define REPLAY_LAST_SYNC(command)
#define REPLAY_PALETTE_TILE 5
#else
#define REPLAY_SYNC(command) command,
#define REPLAY_LAST_SYNC(command) , command
#define REPLAY_PALETTE_TILE G_TX_LOADTILE
#endif

/* Words per row for a block load's line counter, and its increment per word in 1.11 fixed point. */
#define REPLAY_MAX(a, b) ((a) > (b) ? (a) : (b))
#define REPLAY_TXL2WORDS(txls, b_txl) REPLAY_MAX(1, ((txls) * (b_txl) / 8))
#define CALC_DXT(width, b_txl) (((1 << 11) + REPLAY_TXL2WORDS(width, b_txl) - 1) / REPLAY_TXL2WORDS(width, b_txl))
#define REPLAY_TXL2WORDS_4b(txls) REPLAY_MAX(1, ((txls) / 16))
#define CALC_DXT_4b(width) (((1 << 11) + REPLAY_TXL2WORDS_4b(width) - 1) / REPLAY_TXL2WORDS_4b(width))

#define gsDPLoadTextureBlock(timg, fmt, siz, width, height, pal, cms, cmt, masks, maskt, shifts, shiftt)   \
    gsDPSetTextureImage(fmt, siz##_LOAD_BLOCK, 1, timg),                                                   \
    gsDPSetTile(fmt, siz##_LOAD_BLOCK, 0, 0, G_TX_LOADTILE, 0, cmt, maskt, shiftt, cms, masks, shifts),    \
    REPLAY_SYNC(gsDPLoadSync())                                                                            \
    gsDPLoadBlock(G_TX_LOADTILE, 0, 0, (((width) * (height) + siz##_INCR) >> siz##_SHIFT) - 1,             \
                  CALC_DXT(width, siz##_BYTES)),                                                           \
    REPLAY_SYNC(gsDPPipeSync())                                                                            \
    gsDPSetTile(fmt, siz, ((((width) * siz##_LINE_BYTES) + 7) >> 3), 0, G_TX_RENDERTILE, pal, cmt, maskt,  \
                shiftt, cms, masks, shifts),                                                               \
    gsDPSetTileSize(G_TX_RENDERTILE, 0, 0, ((width) - 1) << 2, ((height) - 1) << 2)

#define gsDPLoadTextureBlock_4b(timg, fmt, width, height, pal, cms, cmt, masks, maskt, shifts, shiftt)     \
    gsDPSetTextureImage(fmt, G_IM_SIZ_16b, 1, timg),                                                       \
    gsDPSetTile(fmt, G_IM_SIZ_16b, 0, 0, G_TX_LOADTILE, 0, cmt, maskt, shiftt, cms, masks, shifts),        \
    REPLAY_SYNC(gsDPLoadSync())                                                                            \
    gsDPLoadBlock(G_TX_LOADTILE, 0, 0, (((width) * (height) + 3) >> 2) - 1, CALC_DXT_4b(width)),           \
    REPLAY_SYNC(gsDPPipeSync())                                                                            \
    gsDPSetTile(fmt, G_IM_SIZ_4b, ((((width) >> 1) + 7) >> 3), 0, G_TX_RENDERTILE, pal, cmt, maskt,        \
                shiftt, cms, masks, shifts),                                                               \
    gsDPSetTileSize(G_TX_RENDERTILE, 0, 0, ((width) - 1) << 2, ((height) - 1) << 2)

#define gsDPLoadTextureTile(timg, fmt, siz, width, height, uls, ult, lrs, lrt, pal, cms, cmt, masks, maskt, \
                            shifts, shiftt)                                                                \
    gsDPSetTextureImage(fmt, siz, width, timg),                                                            \
    gsDPSetTile(fmt, siz, (((((lrs) - (uls) + 1) * siz##_LINE_BYTES) + 7) >> 3), 0, G_TX_LOADTILE, 0, cmt, \
                maskt, shiftt, cms, masks, shifts),                                                        \
    REPLAY_SYNC(gsDPLoadSync())                                                                            \
    gsDPLoadTile(G_TX_LOADTILE, (uls) << 2, (ult) << 2, (lrs) << 2, (lrt) << 2),                           \
    REPLAY_SYNC(gsDPPipeSync())                                                                            \
    gsDPSetTile(fmt, siz, (((((lrs) - (uls) + 1) * siz##_LINE_BYTES) + 7) >> 3), 0, G_TX_RENDERTILE, pal,  \
                cmt, maskt, shiftt, cms, masks, shifts),                                                   \
    gsDPSetTileSize(G_TX_RENDERTILE, (uls) << 2, (ult) << 2, (lrs) << 2, (lrt) << 2)

/* A 4-bit tile is loaded as 8-bit texels of half the width. */
#define gsDPLoadTextureTile_4b(timg, fmt, width, height, uls, ult, lrs, lrt, pal, cms, cmt, masks, maskt,   \
                               shifts, shiftt)                                                             \
    gsDPSetTextureImage(fmt, G_IM_SIZ_8b, ((width) >> 1), timg),                                           \
    gsDPSetTile(fmt, G_IM_SIZ_8b, (((((lrs) - (uls) + 1) >> 1) + 7) >> 3), 0, G_TX_LOADTILE, 0, cmt, maskt, \
                shiftt, cms, masks, shifts),                                                               \
    REPLAY_SYNC(gsDPLoadSync())                                                                            \
    gsDPLoadTile(G_TX_LOADTILE, (uls) << 1, (ult) << 2, (lrs) << 1, (lrt) << 2),                           \
    REPLAY_SYNC(gsDPPipeSync())                                                                            \
    gsDPSetTile(fmt, G_IM_SIZ_4b, (((((lrs) - (uls) + 1) >> 1) + 7) >> 3), 0, G_TX_RENDERTILE, pal, cmt,   \
                maskt, shiftt, cms, masks, shifts),                                                        \
    gsDPSetTileSize(G_TX_RENDERTILE, (uls) << 2, (ult) << 2, (lrs) << 2, (lrt) << 2)

/* Palettes sit in the upper half of texture memory, from 64-bit word 256 on, one word per entry. */
#define REPLAY_LOAD_TLUT(dram, tmem, count)                                                                \
    gsDPSetTextureImage(G_IM_FMT_RGBA, G_IM_SIZ_16b, 1, dram),                                             \
    REPLAY_SYNC(gsDPTileSync())                                                                            \
    gsDPSetTile(0, 0, 0, tmem, REPLAY_PALETTE_TILE, 0, 0, 0, 0, 0, 0, 0),                                  \
    REPLAY_SYNC(gsDPLoadSync())                                                                            \
    gsDPLoadTLUTCmd(REPLAY_PALETTE_TILE, count)                                                            \
    REPLAY_LAST_SYNC(gsDPPipeSync())
#define gsDPLoadTLUT_pal16(pal, dram) REPLAY_LOAD_TLUT(dram, 256 + ((pal) & 0xF) * 16, 15)
#define gsDPLoadTLUT_pal256(dram) REPLAY_LOAD_TLUT(dram, 256, 255)

/* The signal processor's state commands, which differ between the microcode families (Fast3D and F3DEX share
 * theirs). The replay follows only the lighting bit of the geometry mode. */
#define G_LIGHTING 0x00020000u
#if defined(REPLAY_F3DEX2) || defined(REPLAY_F3DEX3)
#define G_PACKED_NORMALS 0x00080000u
#define REPLAY_SET_OTHER_MODE(high, sft, len, data)                                                        \
    { ((high) ? 0xE3u : 0xE2u) << 24 | (32u - (sft) - (len)) << 8 | ((len) - 1u), REPLAY_U(data), 0, 0u }
#define gsSPDisplayList(dl) { 0xDEu << 24, 0u, (dl), 0u }
#define gsSPSetGeometryMode(word) { (0xD9u << 24) | 0xFFFFFFu, REPLAY_U(word), 0, 0u }
#define gsSPClearGeometryMode(word) { (0xD9u << 24) | (~REPLAY_U(word) & 0xFFFFFFu), 0u, 0, 0u }
#define gsSPTexture(s, t, level, tile, on)                                                                 \
    { (0xD7u << 24) | (REPLAY_U(level) << 11) | (REPLAY_U(tile) << 8) | (REPLAY_U(on) << 1),             \
      (REPLAY_U(s) << 16) | REPLAY_U(t), 0, 0u }
#else
#define REPLAY_SET_OTHER_MODE(high, sft, len, data)                                                        \
    { ((high) ? 0xBAu : 0xB9u) << 24 | (sft) << 8 | (len), REPLAY_U(data), 0, 0u }
#define gsSPDisplayList(dl) { 0x06u << 24, 0u, (dl), 0u }
#define gsSPSetGeometryMode(word) { 0xB7u << 24, REPLAY_U(word), 0, 0u }
#define gsSPClearGeometryMode(word) { 0xB6u << 24, REPLAY_U(word), 0, 0u }
#define gsSPTexture(s, t, level, tile, on)                                                                 \
    { (0xBBu << 24) | (REPLAY_U(level) << 11) | (REPLAY_U(tile) << 8) | REPLAY_U(on),                    \
      (REPLAY_U(s) << 16) | REPLAY_U(t), 0, 0u }
#endif

#endif
