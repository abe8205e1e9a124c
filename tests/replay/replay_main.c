/* The generated source comes first, so that it is compiled exactly as it would be on its own; including it here
 * lets the replay see the true lengths of both arrays. */
#include "replay.c"

/* Replays the display list of a generated model named "replay" the way the graphics processor reads it, for the
 * microcode whose command format the stand-in headers were chosen for (REPLAY_F3DEX, REPLAY_F3DEX2,
 * REPLAY_F3DEX3, or Fast3D without any of them).
 *
 *   replay_prog <cache slots> [turned]
 *
 * Decodes the words of each command (never the macro arguments), keeps a vertex cache of <cache slots> entries
 * in which a slot holds its vertex until a later load overwrites it, and checks every command: a load names 1 to
 * the microcode's most vertices, lying inside the vertex array, and ends at or before the last cache slot; a
 * triangle names three slots that some earlier load has filled, with flag 0; where two triangles share a command,
 * a single-triangle command is never followed directly by another triangle; the end command is the last entry of
 * the list. Called lists are followed on a stack; the material state the commands set is tracked, and every
 * texture load, every drawn triangle's state and the state left at the end of the model's list and of each part
 * list are checked (see LoadBlock, LoadTile, LoadPalette, MaterialFault, DefaultStateFault). The part lists and
 * the texture and palette arrays are named when compiling: -DREPLAY_PARTS="REPLAY_PART(a)REPLAY_PART(b)...",
 * -DREPLAY_IMAGES="REPLAY_IMAGE(t)...". Each drawn triangle is printed as one line (see PrintTriangle). A last
 * line reads
 *   end <rows> <commands> <syncs> <sync right before the end: 0 or 1> <load commands> <vertices loaded>
 * Any fault is reported on the error stream with exit status 1. */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The command formats, from the public descriptions of the microcodes. SLOT_FACTOR is what a triangle command
 * multiplies a slot by. */
#if defined(REPLAY_F3DEX)
#define FORMAT_F3DEX 1
#define OP_VTX 0x04u
#define OP_TRI1 0xBFu
#define OP_TRI2 0xB1u
#define OP_END 0xB8u
#define FAMILY_F3D 1
#define MAX_LOAD 32
#define SLOT_FACTOR 2u
#elif defined(REPLAY_F3DEX2) || defined(REPLAY_F3DEX3)
#define FORMAT_F3DEX2 1
#define OP_VTX 0x01u
#define OP_TRI1 0x05u
#define OP_TRI2 0x06u
#define OP_END 0xDFu
#define OP_DL 0xDEu
#define OP_GEOMETRY 0xD9u
#define OP_OTHER_H 0xE3u
#define OP_OTHER_L 0xE2u
#define OP_TEXTURE 0xD7u
#if defined(REPLAY_F3DEX3)
#define MAX_LOAD 56
#define OP_SNAKE 0x08u
#else
#define MAX_LOAD 32
#endif
#define SLOT_FACTOR 2u
#else
#define FORMAT_F3D 1
#define OP_VTX 0x04u
#define OP_TRI1 0xBFu
#define OP_END 0xB8u
#define MAX_LOAD 16
#define SLOT_FACTOR 10u
#define FAMILY_F3D 1
#endif
#if defined(FAMILY_F3D)
#define OP_DL 0x06u
#define OP_SET_GEOMETRY 0xB7u
#define OP_CLEAR_GEOMETRY 0xB6u
#define OP_OTHER_H 0xBAu
#define OP_OTHER_L 0xB9u
#define OP_TEXTURE 0xBBu
#endif
#define OP_SYNC 0xE7u
#define OP_LOAD_SYNC 0xE6u
#define OP_TILE_SYNC 0xE8u
#define OP_COMBINE 0xFCu
#define OP_PRIM_COLOR 0xFAu
#define OP_IMAGE 0xFDu
#define OP_TILE 0xF5u
#define OP_TILE_SIZE 0xF2u
#define OP_LOAD_TILE 0xF4u
#define OP_LOAD_BLOCK 0xF3u
#define OP_LOAD_TLUT 0xF0u

/* Texture memory in 64-bit words, the lower half of it (where colour-indexed texels must lie) and the depth of
 * the microcode's stack of called lists. */
#define TMEM_WORDS 512u
#define TMEM_HALF 256u
#define MOST_DEPTH 10

#define MOST_SLOTS 64
/* The most triangles one command draws here: a snake longer than this is reported. */
#define MOST_DRAWN 4096

static long cache[MOST_SLOTS];
static int cacheSlots;

static int Fail(long command, const char *what)
{
    fprintf(stderr, "command %ld: %s\n", command, what);
    return 1;
}

/* The cache slot named by one byte of a triangle command, or -1 when the byte names none. */
static int SlotOf(unsigned int byte)
{
    if (byte % SLOT_FACTOR != 0u || byte / SLOT_FACTOR >= (unsigned int)cacheSlots) {
        return -1;
    }
    return (int)(byte / SLOT_FACTOR);
}

/* Reads the first slot and the count of a load command; returns a fault or NULL. */
static const char *DecodeLoad(const Gfx *g, unsigned int *first, unsigned int *count)
{
#if defined(FORMAT_F3D)
    unsigned int size = g->w0 & 0xFFFFu;
    *first = (g->w0 >> 16) & 0xFu;
    *count = size / 16u;
    if (size % 16u != 0u || *count < 1u) {
        return "vertex load with a size that is not a whole number of vertices";
    }
    if (((g->w0 >> 20) & 0xFu) != *count - 1u) {
        return "vertex load whose count field disagrees with its size";
    }
#elif defined(FORMAT_F3DEX)
    unsigned int firstTwice = (g->w0 >> 16) & 0xFFu;
    *count = (g->w0 >> 10) & 0x3Fu;
    if (firstTwice % 2u != 0u) {
        return "vertex load whose first slot is not written doubled";
    }
    *first = firstTwice / 2u;
    if ((g->w0 & 0x3FFu) + 1u != 16u * *count) {
        return "vertex load whose size field disagrees with its count";
    }
#else
    unsigned int endTwice = g->w0 & 0xFFu;
    *count = (g->w0 >> 12) & 0xFFu;
    if ((g->w0 & 0xF00u) != 0u) {
        return "vertex load with stray bits between its count and its end";
    }
    if (endTwice % 2u != 0u) {
        return "vertex load whose end slot is not written doubled";
    }
    if (endTwice / 2u < *count) {
        return "vertex load that would start before the first cache slot";
    }
    *first = endTwice / 2u - *count;
#endif
    if (*count < 1u || *count > (unsigned int)MAX_LOAD) {
        return "vertex load of more vertices than one command may load, or of none";
    }
    return NULL;
}

/* Reads the slots of one triangle from the low 24 bits of a word into slots[0..2]; returns a fault or NULL. */
static const char *DecodeTriangle(unsigned int bytes, int *slots)
{
    int c;
    slots[0] = SlotOf((bytes >> 16) & 0xFFu);
    slots[1] = SlotOf((bytes >> 8) & 0xFFu);
    slots[2] = SlotOf(bytes & 0xFFu);
    for (c = 0; c < 3; ++c) {
        if (slots[c] < 0) {
            return "triangle corner that is not a cache slot of this cache";
        }
        if (cache[slots[c]] < 0) {
            return "triangle corner in a slot that no load has filled";
        }
    }
    return NULL;
}

#if defined(OP_SNAKE)
/* Draws one corner byte of a snake into the stored corners abc; returns a fault or NULL. */
static const char *SnakeStep(unsigned int byte, int *abc, int (*slots)[3], int *drawn)
{
    int slot = (int)((byte >> 1) & 0x3Fu);
    if (slot >= cacheSlots || cache[slot] < 0) {
        return "snake corner that is not a filled cache slot";
    }
    abc[(byte & 1u) ? 2 : 1] = abc[0];
    abc[0] = slot;
    if (abc[2] < 0) {
        return "snake triangle without a third corner";
    }
    if (*drawn == MOST_DRAWN) {
        return "snake longer than the replay follows";
    }
    slots[*drawn][0] = abc[0];
    slots[*drawn][1] = abc[1];
    slots[*drawn][2] = abc[2];
    ++*drawn;
    return NULL;
}

/* Decodes a snake from its head at *g through its continuation words (never past end, when end is known), leaving
 * *g at its last word; the bytes after the last corner must be zero. Returns a fault or NULL. */
static const char *DecodeSnake(const Gfx **g, const Gfx *end, int (*slots)[3], int *drawn)
{
    unsigned int bytes[12], count, k;
    int abc[3], last = 0;
    const char *fault;
    const Gfx *word = *g;
    abc[1] = SlotOf((word->w0 >> 8) & 0xFFu);
    abc[0] = SlotOf((word->w0 >> 16) & 0xFFu);
    abc[2] = -1;
    if (abc[0] < 0 || abc[1] < 0 || cache[abc[0]] < 0 || cache[abc[1]] < 0) {
        return "snake whose first corners are not filled cache slots";
    }
    if ((word->w0 & 1u) == 0u) {
        return "snake whose third corner does not turn left";
    }
    bytes[0] = word->w0 & 0xFFu;
    for (k = 0; k < 4; ++k) {
        bytes[1 + k] = (word->w1 >> (24 - 8 * k)) & 0xFFu;
    }
    count = 5;
    for (;;) {
        for (k = 0; k < count; ++k) {
            if (last) {
                if (bytes[k] != 0u) {
                    return "snake with stray bytes after its last corner";
                }
            } else {
                if ((fault = SnakeStep(bytes[k], abc, slots, drawn)) != NULL) {
                    return fault;
                }
                last = (bytes[k] & 0x80u) != 0u;
            }
        }
        if (last) {
            *g = word;
            return NULL;
        }
        ++word;
        if ((end != NULL && word >= end) || word->addr != NULL || word->flags != 0u) {
            return "snake that runs out of continuation words";
        }
        for (k = 0; k < 8; ++k) {
            bytes[k] = ((k < 4 ? word->w0 : word->w1) >> (24 - 8 * (k % 4))) & 0xFFu;
        }
        count = 8;
    }
}
#endif

/* The material state the commands set, as far as the replay follows it. */
typedef struct {
    int set;
    unsigned int fmt, siz, line, tmem, pal;   /* from the last SetTile */
    unsigned int cms, cmt;                    /* its clamp and mirror bits */
    unsigned int uls, ult, lrs, lrt;          /* from the last SetTileSize, in quarter texels */
} Tile;

typedef struct {
    int set, block;
    int part;                                 /* a tile load of part of its image: triangles must stay inside */
    unsigned int fmt, siz, tmem, words;       /* where in texture memory the load put its data */
    unsigned int rowWords;                    /* a tile load's words per row; a block load's is its dxt's */
    unsigned int dxt;
    unsigned long sum;                        /* checksum of the bytes loaded, the same in every mode */
} Load;

static struct {
    unsigned int geometry, otherH, otherL, combine0, combine1, textureOn, prim;
    unsigned int imageFmt, imageSiz, imageWidth;
    const unsigned char *image;
    Tile tiles[8];
    Load texels, palette;
} state;

/* The state every list starts from and every part and model list must leave behind: lighting on, texturing off,
 * lookup table off, one-cycle mode, the shade-only combiner for colour and alpha in both cycles, the opaque
 * z-buffered render mode and alpha compare off. */
#define DEFAULT_COMBINE0 0x00FFFFFFu
#define DEFAULT_COMBINE1 0xFFFE793Cu
#define DEFAULT_RENDER_MODE 0x00552078u

static void ResetState(void)
{
    memset(&state, 0, sizeof state);
    state.geometry = G_LIGHTING;
    state.otherL = DEFAULT_RENDER_MODE;
    state.combine0 = DEFAULT_COMBINE0;
    state.combine1 = DEFAULT_COMBINE1;
}

static const char *DefaultStateFault(void)
{
    if ((state.geometry & G_LIGHTING) == 0u) {
        return "lighting left off at the end of a list";
    }
    if (state.textureOn != 0u) {
        return "texturing left on at the end of a list";
    }
    if ((state.otherH >> 14 & 3u) != 0u) {
        return "lookup table left on at the end of a list";
    }
    if ((state.otherH >> 20 & 3u) != 0u) {
        return "cycle type other than one-cycle left at the end of a list";
    }
    if (state.combine0 != DEFAULT_COMBINE0 || state.combine1 != DEFAULT_COMBINE1) {
        return "combiner other than shade-only left at the end of a list";
    }
    if ((state.otherL & ~7u) != DEFAULT_RENDER_MODE) {
        return "render mode other than the opaque z-buffered one left at the end of a list";
    }
    if ((state.otherL & 3u) != 0u) {
        return "alpha compare left on at the end of a list";
    }
    return NULL;
}

/* The texture and palette arrays of the generated source, named on the command line of the compiler. */
#ifndef REPLAY_IMAGES
#define REPLAY_IMAGES
#endif
#define REPLAY_IMAGE(image) { (const unsigned char *)image, sizeof image },
static const struct {
    const unsigned char *bytes;
    unsigned long size;
} images[] = { REPLAY_IMAGES { NULL, 0 } };

/* Checks that a load reads bytes [begin, end) of the start of one of the arrays; returns a fault or NULL. */
static const char *ImageFault(unsigned long begin, unsigned long end)
{
    int i;
    for (i = 0; images[i].bytes != NULL; ++i) {
        if (state.image == images[i].bytes) {
            return begin <= end && end <= images[i].size ? NULL : "load that reads past the end of its array";
        }
    }
    return "load from an image that is not the start of a texture or palette array";
}

static unsigned int BitsOf(unsigned int siz)
{
    return 4u << siz;
}

static unsigned long Checksum(unsigned long sum, const unsigned char *bytes, unsigned long count)
{
    unsigned long i;
    for (i = 0; i < count; ++i) {
        sum = ((sum ^ bytes[i]) * 16777619ul) & 0xFFFFFFFFul;
    }
    return sum;
}

/* Whether a load of this many words from this address fits texture memory: a 32-bit texel keeps half its bytes
 * in each half of it, at the same place. */
static int FitsTmem(unsigned int tmem, unsigned int words, unsigned int siz)
{
    return siz == G_IM_SIZ_32b ? tmem + (words + 1u) / 2u <= TMEM_HALF : tmem + words <= TMEM_WORDS;
}

/* Records a block load (LoadBlock) through its tile; returns a fault or NULL. */
static const char *LoadBlock(const Gfx *g)
{
    const Tile *t = &state.tiles[g->w1 >> 24 & 7u];
    unsigned int lrs = g->w1 >> 12 & 0xFFFu, bytes;
    if ((g->w0 & 0xFFFFFFu) != 0u || (g->w1 >> 24) > 7u) {
        return "block load that does not start at the first texel, or with stray bits";
    }
    if (lrs > 2047u) {
        return "block load of more than 2048 texels, which the console cuts short";
    }
    if (state.image == NULL || !t->set || t->fmt != state.imageFmt || t->siz != state.imageSiz) {
        return "block load without an image, or through a tile whose format differs from the image's";
    }
    bytes = (lrs + 1u) * BitsOf(t->siz) / 8u;
    state.texels.set = 1;
    state.texels.block = 1;
    state.texels.fmt = t->fmt;
    state.texels.siz = t->siz;
    state.texels.tmem = t->tmem;
    state.texels.words = (bytes + 7u) / 8u;
    state.texels.dxt = g->w1 & 0xFFFu;
    if (!FitsTmem(t->tmem, state.texels.words, t->siz)) {
        return "texture load past the end of texture memory";
    }
    if (ImageFault(0ul, bytes) != NULL) {
        return ImageFault(0ul, bytes);
    }
    state.texels.sum = Checksum(2166136261ul, state.image, bytes);
    return NULL;
}

/* Records a rectangle load (LoadTile) through its tile; returns a fault or NULL. */
static const char *LoadTile(const Gfx *g)
{
    const Tile *t = &state.tiles[g->w1 >> 24 & 7u];
    unsigned int uls = g->w0 >> 12 & 0xFFFu, ult = g->w0 & 0xFFFu, lrs = g->w1 >> 12 & 0xFFFu,
                 lrt = g->w1 & 0xFFFu, width, rows, rowBytes, r;
    unsigned long sum = 2166136261ul;
    /* The corners are in quarter texels; the fraction is dropped (a 4-bit image is loaded as 8-bit texels of half
     * the width, whose corners may fall on half texels). */
    if ((g->w0 >> 24) != OP_LOAD_TILE || (g->w1 >> 24) > 7u || lrs < uls || lrt < ult) {
        return "tile load of no texels, or with stray bits";
    }
    if (state.image == NULL || !t->set || t->fmt != state.imageFmt || t->siz != state.imageSiz ||
        t->siz == G_IM_SIZ_4b) {
        return "tile load without an image, or through a tile whose format differs from the image's";
    }
    width = (lrs >> 2) - (uls >> 2) + 1u;
    rows = (lrt >> 2) - (ult >> 2) + 1u;
    rowBytes = width * BitsOf(t->siz) / 8u;
    if (uls / 4u + width > state.imageWidth) {
        return "tile load wider than its image";
    }
    if (t->line * 8u < (t->siz == G_IM_SIZ_32b ? rowBytes / 2u : rowBytes)) {
        return "tile load whose rows are longer than its tile's line";
    }
    if (!FitsTmem(t->tmem, (t->siz == G_IM_SIZ_32b ? 2u : 1u) * t->line * rows, t->siz)) {
        return "texture load past the end of texture memory";
    }
    if (ImageFault(0ul, ((ult / 4u + rows - 1u) * state.imageWidth + uls / 4u) * BitsOf(t->siz) / 8u + rowBytes) !=
        NULL) {
        return "tile load that reads past its image array, or not from one";
    }
    for (r = 0; r < rows; ++r) {
        sum = Checksum(sum, state.image + ((ult / 4u + r) * state.imageWidth + uls / 4u) * BitsOf(t->siz) / 8u,
                       rowBytes);
    }
    state.texels.set = 1;
    state.texels.block = 0;
    state.texels.part = uls >= 4u || ult >= 4u || width < state.imageWidth ||
                        ImageFault(0ul, ((ult / 4u + rows) * state.imageWidth * BitsOf(t->siz) / 8u + 7u) / 8u * 8u + 1ul) == NULL;
    state.texels.fmt = t->fmt;
    state.texels.siz = t->siz;
    state.texels.tmem = t->tmem;
    state.texels.words = (t->siz == G_IM_SIZ_32b ? 2u : 1u) * t->line * rows;
    state.texels.rowWords = t->line;
    state.texels.sum = sum;
    return NULL;
}

/* Records a palette load (LoadTLUT); returns a fault or NULL. */
static const char *LoadPalette(const Gfx *g)
{
    const Tile *t = &state.tiles[g->w1 >> 24 & 7u];
    unsigned int entries = (g->w1 >> 14 & 0x3FFu) + 1u;
    if (g->w0 != (OP_LOAD_TLUT << 24) || (g->w1 & 0xF8003FFFu) != 0u) {
        return "palette load with stray bits";
    }
    if (state.image == NULL || !t->set || state.imageFmt != G_IM_FMT_RGBA || state.imageSiz != G_IM_SIZ_16b) {
        return "palette load without a 16-bit colour image";
    }
    if (t->tmem < TMEM_HALF || t->tmem + entries > TMEM_WORDS) {
        return "palette load outside the upper half of texture memory";
    }
    if (ImageFault(0ul, 2ul * entries) != NULL) {
        return ImageFault(0ul, 2ul * entries);
    }
    state.palette.set = 1;
    state.palette.tmem = t->tmem;
    state.palette.words = entries;
    state.palette.sum = Checksum(2166136261ul, state.image, 2ul * entries);
    return NULL;
}

/* Checks the state a triangle is drawn with; returns a fault or NULL. */
static const char *MaterialFault(void)
{
    const Tile *r = &state.tiles[0];
    const Load *tex = &state.texels;
    unsigned int lookup = state.otherH >> 14 & 3u, width, height, line, rowWords;
    if ((state.otherH >> 20 & 3u) == 0u) {
        /* In one-cycle mode both halves of the combiner and the blender must say the same. */
        unsigned int c0 = state.combine0, c1 = state.combine1;
        if ((c0 >> 20 & 0xFu) != (c0 >> 5 & 0xFu) || (c0 >> 15 & 0x1Fu) != (c0 & 0x1Fu) ||
            (c0 >> 12 & 7u) != (c1 >> 21 & 7u) || (c0 >> 9 & 7u) != (c1 >> 18 & 7u) ||
            (c1 >> 28 & 0xFu) != (c1 >> 24 & 0xFu) || (c1 >> 15 & 7u) != (c1 >> 6 & 7u) ||
            (c1 >> 12 & 7u) != (c1 >> 3 & 7u) || (c1 >> 9 & 7u) != (c1 & 7u)) {
            return "one-cycle combiner whose two cycles differ";
        }
        if ((state.otherL >> 2 & 0x33330000u) != (state.otherL & 0x33330000u)) {
            return "one-cycle render mode whose two blender cycles differ";
        }
    }
    if (!state.textureOn) {
        return lookup != 0u ? "lookup table on without a texture" : NULL;
    }
    if (!r->set || !tex->set) {
        return "texturing on without a render tile or a loaded texture";
    }
    if (r->tmem != tex->tmem || r->fmt != tex->fmt) {
        return "render tile not where the texture was loaded, or of another format";
    }
    if (r->lrs < r->uls || r->lrt < r->ult) {
        return "render tile of no texels";
    }
    /* A block load moves 4-, 8- and 16-bit texels as 16-bit ones; a tile load moves 4-bit texels as 8-bit ones. */
    if (tex->block ? (tex->siz == G_IM_SIZ_32b) != (r->siz == G_IM_SIZ_32b)
                   : tex->siz != r->siz && !(tex->siz == G_IM_SIZ_8b && r->siz == G_IM_SIZ_4b)) {
        return "render tile whose texel size differs from the loaded texture's";
    }
    width = (r->lrs >> 2) - (r->uls >> 2) + 1u;
    height = (r->lrt >> 2) - (r->ult >> 2) + 1u;
    /* A 32-bit texel keeps half its bytes in each half of texture memory. */
    line = r->siz == G_IM_SIZ_32b ? (width * 16u + 63u) / 64u : (width * BitsOf(r->siz) + 63u) / 64u;
    rowWords = r->siz == G_IM_SIZ_32b ? 2u * line : line;
    if (r->line != line) {
        return "render tile whose line does not match its width";
    }
    if (rowWords * height > tex->words) {
        return "render tile that reads more than was loaded";
    }
    if (tex->block) {
        if ((width * BitsOf(r->siz)) % 64u != 0u) {
            return "block load of rows that are not whole 64-bit words";
        }
        if (tex->dxt != (2048u + rowWords - 1u) / rowWords) {
            return "block load whose dxt does not match the render tile's rows";
        }
        if (tex->dxt * rowWords != 2048u && height >= (tex->dxt + tex->dxt * rowWords - 2049u) /
                                                          (tex->dxt * rowWords - 2048u)) {
            return "block load whose rows drift, since its dxt is not exact";
        }
    } else if (tex->rowWords != r->line) {
        return "tile load whose line differs from the render tile's";
    }
    if (r->fmt != G_IM_FMT_CI) {
        return lookup != 0u ? "lookup table on for a texture that is not colour-indexed" : NULL;
    }
    if (lookup != 2u && lookup != 3u) {
        return "colour-indexed texture drawn with the lookup table off";
    }
    if (tex->tmem + tex->words > TMEM_HALF) {
        return "colour-indexed texels beyond the lower half of texture memory";
    }
    if (r->siz == G_IM_SIZ_4b ? !state.palette.set || state.palette.tmem > TMEM_HALF + r->pal * 16u ||
                                    state.palette.tmem + state.palette.words < TMEM_HALF + r->pal * 16u + 16u
                              : r->siz != G_IM_SIZ_8b || state.palette.tmem != TMEM_HALF ||
                                    state.palette.words != 256u) {
        return "colour-indexed texture without its palette";
    }
    return NULL;
}

/* A triangle drawn from a tile load of part of its image: each corner's texture coordinate must lie inside the
 * render tile's rectangle, so that the bilinear filter, which reads the texel at or before the coordinate and
 * the one after it, reads only texels that were loaded (the one after a corner on the rectangle's far edge has
 * no weight). Returns a fault or NULL. */
static const char *TileReachFault(const int *slots)
{
    const Tile *r = &state.tiles[0];
    unsigned long size = 0ul, bits = BitsOf(r->siz), width = state.imageWidth, rows;
    long low[2], high[2];
    int c, i;
    if (!state.textureOn || !state.texels.set || state.texels.block || !state.texels.part) {
        return NULL;
    }
    for (i = 0; images[i].bytes != NULL; ++i) {
        size = state.image == images[i].bytes ? images[i].size : size;
    }
    /* A 4-bit image is loaded as 8-bit texels of half the width. */
    width = r->siz == G_IM_SIZ_4b ? 2ul * width : width;
    rows = size * 8ul / (width * bits);
    low[0] = (long)(r->uls >> 2) * 32L;
    high[0] = (long)(r->lrs >> 2) * 32L;
    low[1] = (long)(r->ult >> 2) * 32L;
    high[1] = (long)(r->lrt >> 2) * 32L;
    /* An axis that clamps reaches past the image's own edges. */
    if ((r->cms & G_TX_CLAMP) != 0u) {
        low[0] = r->uls < 4u ? -32768L : low[0];
        high[0] = (r->lrs >> 2) + 1ul >= width ? 32767L : high[0];
    }
    if ((r->cmt & G_TX_CLAMP) != 0u) {
        low[1] = r->ult < 4u ? -32768L : low[1];
        high[1] = (r->lrt >> 2) + 1ul >= rows ? 32767L : high[1];
    }
    for (c = 0; c < 3; ++c) {
        const Vtx_t *v = &replayVertices[cache[slots[c]]].v;
        if (v->tc[0] < low[0] || v->tc[0] > high[0] || v->tc[1] < low[1] || v->tc[1] > high[1]) {
            return "triangle reads texels outside the tile that was loaded";
        }
    }
    return NULL;
}

/* Prints the material state a triangle is drawn with: the texture (checksums of texels and palette, render tile
 * format and size) or "none", the combiner words, the low other-mode word (render mode and alpha compare), the
 * primitive colour and the lighting bit. */
static void PrintMaterial(void)
{
    if (state.textureOn) {
        printf("  tex %08lx %08lx %u %u", state.texels.sum,
               state.tiles[0].fmt == G_IM_FMT_CI ? state.palette.sum : 0ul, state.tiles[0].fmt,
               state.tiles[0].siz);
    } else {
        printf("  tex none");
    }
    printf("  cc %08X %08X  rm %08X  prim %08X  light %u", state.combine0, state.combine1, state.otherL,
           state.prim, (state.geometry & G_LIGHTING) != 0u);
}

/* Prints one drawn triangle: the row numbers of its corners and the ten values of each corner's row; "turned",
 * only the values, turned so that the smallest corner comes first (turning keeps the winding); then the material
 * state it is drawn with. */
static void PrintTriangle(const int *slots, int turned)
{
    int c, r, first = 0;
    const Vtx_t *v[3];
    for (c = 0; c < 3; ++c) {
        v[c] = &replayVertices[cache[slots[c]]].v;
    }
    for (r = 1; turned && r < 3; ++r) {
        int order = 0;
        for (c = 0; c < 3 && order == 0; ++c) {
            order = memcmp(v[(r + c) % 3], v[(first + c) % 3], sizeof *v[0]);
        }
        if (order < 0) {
            first = r;
        }
    }
    if (!turned) {
        printf("%ld %ld %ld", cache[slots[0]], cache[slots[1]], cache[slots[2]]);
    }
    for (c = 0; c < 3; ++c) {
        const Vtx_t *t = v[(first + c) % 3];
        printf("  %d %d %d %u %d %d %u %u %u %u", t->ob[0], t->ob[1], t->ob[2], (unsigned int)t->flag, t->tc[0],
               t->tc[1], (unsigned int)t->cn[0], (unsigned int)t->cn[1], (unsigned int)t->cn[2],
               (unsigned int)t->cn[3]);
    }
    PrintMaterial();
    printf("\n");
}

/* Decodes an other-mode command into its field's mask; returns a fault or NULL. */
static const char *OtherModeMask(unsigned int w0, unsigned int *mask)
{
#if defined(FAMILY_F3D)
    unsigned int sft = w0 >> 8 & 0xFFu, len = w0 & 0xFFu;
#else
    unsigned int len = (w0 & 0xFFu) + 1u, sft = 32u - len - (w0 >> 8 & 0xFFu);
#endif
    if ((w0 & 0xFF0000u) != 0u || len < 1u || len > 32u || sft >= 32u || sft + len > 32u) {
        return "other-mode command with a field outside its word";
    }
    *mask = (len == 32u ? 0xFFFFFFFFu : (1u << len) - 1u) << sft;
    return NULL;
}

typedef struct {
    long triangles, syncs, loads, loaded;
    int lastWasSync;
} Counts;

/* Replays one list and every list it calls, starting from the current state and an empty vertex cache; a list
 * of known length (ends > 0) must end exactly at its last entry. Prints every drawn triangle when print is set. */
static int Replay(const Gfx *list, long length, int print, int turned, Counts *counts)
{
    const Gfx *stack[MOST_DEPTH];
    const Gfx *g = list;
    int depth = 0, slot, lastWasSync = 0, lastWasLoneTriangle = 0;
    long command, numRows = (long)(sizeof replayVertices / sizeof replayVertices[0]);

    memset(counts, 0, sizeof *counts);
    for (slot = 0; slot < MOST_SLOTS; ++slot) {
        cache[slot] = -1;
    }
    for (command = 0; command < 10000000L; ++command, ++g) {
        unsigned int opcode = g->w0 >> 24;
        int wasSync = 0, wasLoneTriangle = 0, drawn = 0;
        static int slots[MOST_DRAWN][3];
        const char *fault = NULL;
        if (depth == 0 && g - list >= length) {
            return Fail(command, "no end of list");
        }
        if (g->addr != NULL && opcode != OP_VTX && opcode != OP_DL && opcode != OP_IMAGE) {
            return Fail(command, "command with an address where it takes none");
        }
        if (g->flags != 0u) {
            return Fail(command, "command with a triangle flag");
        }
        if (opcode == OP_VTX) {
            unsigned int first, count, k;
            long row;
            fault = DecodeLoad(g, &first, &count);
            if (fault != NULL) {
                return Fail(command, fault);
            }
            if (first + count > (unsigned int)cacheSlots) {
                return Fail(command, "vertex load that runs past the last cache slot");
            }
            if (g->w1 != 0u || g->addr == NULL) {
                return Fail(command, "vertex load without an address, or with stray bits");
            }
            row = (long)((const Vtx *)g->addr - replayVertices);
            if (row < 0 || row + (long)count > numRows) {
                return Fail(command, "vertex load outside the vertex array");
            }
            for (k = 0; k < count; ++k) {
                cache[first + k] = row + (long)k;
            }
            ++counts->loads;
            counts->loaded += (long)count;
        } else if (opcode == OP_TRI1) {
            unsigned int bytes;
#if defined(FORMAT_F3DEX2)
            if (g->w1 != 0u) {
                return Fail(command, "triangle with stray bits in its second word");
            }
            bytes = g->w0 & 0xFFFFFFu;
#else
            if (g->w0 != (OP_TRI1 << 24)) {
                return Fail(command, "triangle with stray bits in its first word");
            }
            if ((g->w1 >> 24) != 0u) {
                return Fail(command, "triangle with a flag other than 0");
            }
            bytes = g->w1;
#endif
            if (lastWasLoneTriangle) {
                return Fail(command, "two single-triangle commands in a row where one command draws two");
            }
            fault = DecodeTriangle(bytes, slots[0]);
            drawn = 1;
#if defined(OP_TRI2)
            wasLoneTriangle = 1;
        } else if (opcode == OP_TRI2) {
            if ((g->w1 >> 24) != 0u) {
                return Fail(command, "triangle pair with stray bits in the top of its second word");
            }
            if (lastWasLoneTriangle) {
                return Fail(command, "single-triangle command followed by a triangle pair");
            }
            fault = DecodeTriangle(g->w0 & 0xFFFFFFu, slots[0]);
            if (fault == NULL) {
                fault = DecodeTriangle(g->w1 & 0xFFFFFFu, slots[1]);
            }
            drawn = 2;
#endif
#if defined(OP_SNAKE)
        } else if (opcode == OP_SNAKE) {
            if (lastWasLoneTriangle) {
                return Fail(command, "single-triangle command followed by a snake");
            }
            fault = DecodeSnake(&g, depth == 0 ? list + length : NULL, slots, &drawn);
#endif
        } else if (opcode == OP_SYNC || opcode == OP_LOAD_SYNC || opcode == OP_TILE_SYNC) {
            if (g->w0 != (opcode << 24) || g->w1 != 0u) {
                return Fail(command, "sync with stray bits");
            }
            if (opcode == OP_SYNC) {
                ++counts->syncs;
                wasSync = 1;
            }
        } else if (opcode == OP_DL) {
            if (g->w0 != (OP_DL << 24) || g->w1 != 0u || g->addr == NULL) {
                return Fail(command, "list call that does not return, without an address, or with stray bits");
            }
            if (depth == MOST_DEPTH) {
                return Fail(command, "list calls nested deeper than the microcode's stack");
            }
            stack[depth++] = g;
            g = (const Gfx *)g->addr - 1;
        } else if (opcode == OP_END) {
            if (g->w0 != (OP_END << 24) || g->w1 != 0u) {
                return Fail(command, "end of list with stray bits");
            }
            if (depth > 0) {
                g = stack[--depth];
            } else if (g - list + 1 != length) {
                return Fail(command, "commands after the end of the list");
            } else {
                counts->lastWasSync = lastWasSync;
                return 0;
            }
#if defined(FAMILY_F3D)
        } else if (opcode == OP_SET_GEOMETRY || opcode == OP_CLEAR_GEOMETRY) {
            if (g->w0 != (opcode << 24)) {
                return Fail(command, "geometry mode with stray bits");
            }
            state.geometry = opcode == OP_SET_GEOMETRY ? state.geometry | g->w1 : state.geometry & ~g->w1;
#else
        } else if (opcode == OP_GEOMETRY) {
            state.geometry = (state.geometry & (g->w0 | 0xFF000000u)) | g->w1;
#endif
        } else if (opcode == OP_OTHER_H || opcode == OP_OTHER_L) {
            unsigned int mask, *word = opcode == OP_OTHER_H ? &state.otherH : &state.otherL;
            fault = OtherModeMask(g->w0, &mask);
            if (fault == NULL && (g->w1 & ~mask) != 0u) {
                fault = "other-mode value outside its field";
            }
            *word = (*word & ~mask) | g->w1;
        } else if (opcode == OP_TEXTURE) {
#if defined(FAMILY_F3D)
            unsigned int on = g->w0 & 0xFFu;
#else
            unsigned int on = g->w0 >> 1 & 0x7Fu;
            if ((g->w0 & 1u) != 0u) {
                fault = "texture command with stray bits";
            }
#endif
            if ((g->w0 >> 8 & 0xFFFFu) != 0u || on > 1u) {
                fault = "texture command for another tile or level, or with stray bits";
            }
            state.textureOn = on;
        } else if (opcode == OP_COMBINE) {
            state.combine0 = g->w0 & 0xFFFFFFu;
            state.combine1 = g->w1;
        } else if (opcode == OP_PRIM_COLOR) {
            state.prim = g->w1;
        } else if (opcode == OP_IMAGE) {
            if (g->w1 != 0u || g->addr == NULL || (g->w0 & 0x7F000u) != 0u) {
                return Fail(command, "image without an address, or with stray bits");
            }
            state.imageFmt = g->w0 >> 21 & 7u;
            state.imageSiz = g->w0 >> 19 & 3u;
            state.imageWidth = (g->w0 & 0xFFFu) + 1u;
            state.image = (const unsigned char *)g->addr;
        } else if (opcode == OP_TILE || opcode == OP_TILE_SIZE) {
            Tile *t = &state.tiles[g->w1 >> 24 & 7u];
            if ((g->w1 >> 24) > 7u) {
                return Fail(command, "tile command with stray bits");
            }
            t->set = 1;
            if (opcode == OP_TILE) {
                t->fmt = g->w0 >> 21 & 7u;
                t->siz = g->w0 >> 19 & 3u;
                t->line = g->w0 >> 9 & 0x1FFu;
                t->tmem = g->w0 & 0x1FFu;
                t->pal = g->w1 >> 20 & 0xFu;
                t->cmt = g->w1 >> 18 & 3u;
                t->cms = g->w1 >> 8 & 3u;
            } else {
                t->uls = g->w0 >> 12 & 0xFFFu;
                t->ult = g->w0 & 0xFFFu;
                t->lrs = g->w1 >> 12 & 0xFFFu;
                t->lrt = g->w1 & 0xFFFu;
            }
        } else if (opcode == OP_LOAD_BLOCK) {
            fault = LoadBlock(g);
        } else if (opcode == OP_LOAD_TILE) {
            fault = LoadTile(g);
        } else if (opcode == OP_LOAD_TLUT) {
            fault = LoadPalette(g);
        } else {
            return Fail(command, "unknown command");
        }
        if (fault == NULL && drawn > 0) {
            fault = MaterialFault();
        }
        for (slot = 0; fault == NULL && slot < drawn; ++slot) {
            fault = TileReachFault(slots[slot]);
        }
        if (fault != NULL) {
            return Fail(command, fault);
        }
        for (slot = 0; slot < drawn; ++slot) {
            ++counts->triangles;
            if (print) {
                PrintTriangle(slots[slot], turned);
            }
        }
        lastWasSync = wasSync;
        lastWasLoneTriangle = wasLoneTriangle;
    }
    return Fail(command, "list that does not end");
}

#ifndef REPLAY_PARTS
#define REPLAY_PARTS
#endif
#define REPLAY_PART(part) { part, (long)(sizeof part / sizeof part[0]) },

int main(int argc, char **argv)
{
    static const struct {
        const Gfx *list;
        long length;
    } parts[] = { REPLAY_PARTS { NULL, 0 } };
    const long numCommands = (long)(sizeof replayDisplayList / sizeof replayDisplayList[0]);
    Counts whole, part;
    const char *fault;
    long partTriangles = 0;
    int p;

    cacheSlots = argc < 2 ? 0 : (int)strtol(argv[1], NULL, 10);
    if (cacheSlots < 1 || cacheSlots > MOST_SLOTS) {
        fprintf(stderr, "usage: %s <cache slots: 1 to %d> [turned]\n", argv[0], MOST_SLOTS);
        return 2;
    }
    if (replayModel.vertices != replayVertices || replayModel.displayList != replayDisplayList) {
        return Fail(0, "the model record does not join the vertex array and the display list");
    }
    ResetState();
    if (Replay(replayModel.displayList, numCommands, 1, argc > 2 && strcmp(argv[2], "turned") == 0, &whole) != 0) {
        return 1;
    }
    if ((fault = DefaultStateFault()) != NULL) {
        return Fail(numCommands - 1, fault);
    }
    /* Each part list draws on its own, from the default state and an empty vertex cache. */
    for (p = 0; parts[p].list != NULL; ++p) {
        ResetState();
        if (Replay(parts[p].list, parts[p].length, 0, 0, &part) != 0) {
            fprintf(stderr, "in part list %d\n", p);
            return 1;
        }
        if ((fault = DefaultStateFault()) != NULL) {
            fprintf(stderr, "part list %d: %s\n", p, fault);
            return 1;
        }
        partTriangles += part.triangles;
    }
    if (p > 0 && partTriangles != whole.triangles) {
        fprintf(stderr, "the part lists draw %ld triangles, the model's list %ld\n", partTriangles,
                whole.triangles);
        return 1;
    }
    printf("end %ld %ld %ld %d %ld %ld\n", (long)(sizeof replayVertices / sizeof replayVertices[0]), numCommands,
           whole.syncs, whole.lastWasSync, whole.loads, whole.loaded);
    return 0;
}
