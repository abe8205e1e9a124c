#ifndef POLVANE_CONSOLEPLAN_H
#define POLVANE_CONSOLEPLAN_H

#include <cstdint>
#include <string>
#include <vector>

#include "console/textureformat.h"

// What the console receives from one conversion, built once: the C writer prints it, the statistics count it,
// the preview draws it and the tests replay it.

// One Vtx as the console reads it.
struct VertexRow {
    int16_t position[3];
    uint16_t flag;       // 0, or F3DEX3's packed normal (5-6-5) when the material uses packed normals
    int16_t st[2];       // texture coordinate in texels, 10.5 fixed point
    uint8_t shade[4];    // the normal as three signed bytes (lit) or the colour (unlit), then the alpha
};

// How a texture larger than one load is cut into tiles. The texels are stored with a one-texel frame (the
// opposite edge where the axis wraps, the edge texel repeated where it clamps), so the image proper starts at
// texel 1, 1; tile c, r covers the image's texels from c * width, r * height (the last column and row end at the
// image's edge) and is loaded with the texel around it.
struct TileGrid {
    int columns = 0;  // 0: the texture is loaded whole
    int rows = 0;
    int width = 0;    // texels of the image per tile, without the frame
    int height = 0;
};

// A texture as it lies in memory for the console: texels big-endian in the chosen format, rows of whole 64-bit
// words when it is loaded as a block, the array padded to a multiple of 8 bytes.
struct TexturePlan {
    std::string name;             // identifier suffix: <id>Texture_<name>, <id>Palette_<name>
    TextureFormat format = TextureFormat::RGBA16;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> texels;
    std::vector<uint16_t> palette;  // RGBA 5-5-5-1 entries for CI4 (16) and CI8 (up to 256); empty otherwise
    bool clampS = false, clampT = false;
    bool mirrorS = false, mirrorT = false;
    int maskS = 0, maskT = 0;       // log2 of the repeat period in texels; 0 when the axis clamps at its size
    bool loadAsTile = false;        // rows are not whole 64-bit words: loaded with gsDPLoadTextureTile
    double psnr = -1.0;             // how close it draws to its image, in dB; negative when not measured
    TileGrid tiles;                 // tiled: width and height include the frame
};

// The inputs of the colour combiner that the materials use.
enum class CombinerInput : uint8_t { Zero, One, Texel0, Shade, Primitive, Combined };

// One cycle of the combiner: colour (a - b) * c + d, alpha (aa - ab) * ac + ad. Written the same for both cycles.
struct CombinerMode {
    CombinerInput a, b, c, d;
    CombinerInput aa, ab, ac, ad;
};

enum class RenderMode : uint8_t { Opaque, Cutout, Translucent };  // G_RM_AA_ZB_OPA_SURF, _TEX_EDGE, _XLU_SURF

// Bits of the geometry mode that the materials change.
enum GeometryBits : uint32_t { geometryLighting = 1u << 0, geometryPackedNormals = 1u << 1 };

// One display-list command. Argument meanings by kind:
//   Vertex: a = first row of the vertex array, b = count, c = first cache slot
//   Triangle: a, b, c = cache slots; TrianglePair: a, b, c and d, e, f
//   Call: a = index into ConsolePlan::lists
//   SetGeometryMode, ClearGeometryMode: a = GeometryBits
//   SetCombine: combiner
//   SetRenderMode: renderMode
//   Texture: a = 1 on, 0 off (gsSPTexture with scale 0xFFFF)
//   LoadTexture: a = index into ConsolePlan::textures (its texels, into tile 0)
//   LoadPalette: a = index into ConsolePlan::textures (its palette)
//   LoadTextureTile: a = index into ConsolePlan::textures, b = tile (column + row * columns), into tile 0 with
//     its size set to the loaded rectangle, which clamps
//   SetTextureLUT: a = 1 for RGBA16 palettes, 0 for none
//   SetPrimColour: a, b, c, d = red, green, blue, alpha
//   SetCycleOne, AlphaCompareNone: no arguments (gsDPSetCycleType(G_CYC_1CYCLE), gsDPSetAlphaCompare(G_AC_NONE))
//   TriangleSnake (F3DEX3): a, b = the first two slots, c = the byte of the third corner, d = the next four bytes
//     (the first in the top bits), e = the triangles of the whole snake
//   SnakeContinuation: a, b = eight more bytes of the snake before it, the first in the top bits of a
struct Command {
    enum Kind : uint8_t {
        Vertex,
        Triangle,
        TrianglePair,
        PipeSync,
        Call,
        SetGeometryMode,
        ClearGeometryMode,
        SetCombine,
        SetRenderMode,
        Texture,
        LoadTexture,
        LoadPalette,
        LoadTextureTile,
        SetTextureLUT,
        SetPrimColour,
        SetCycleOne,
        AlphaCompareNone,
        TriangleSnake,
        SnakeContinuation,
        End,
    };
    Kind kind = End;
    uint32_t a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
    CombinerMode combiner{};
    RenderMode renderMode = RenderMode::Opaque;
};

struct DisplayListPlan {
    std::string name;  // the C array's name
    std::vector<Command> commands;
};

struct ConsolePlan {
    std::vector<VertexRow> rows;
    std::vector<TexturePlan> textures;
    std::vector<DisplayListPlan> lists;  // material lists, part lists and the model's list
    int modelList = 0;                   // index of the whole model's list in lists
    int cacheSize = 16;                  // vertex cache slots of the microcode the lists are written for
    // How the rows' shade bytes are read before any material changes it: true for normals (the default
    // conversion), false for colours (-c).
    bool lit = true;
    // Per row, when the rows are read differently from `lit` by the materials that draw them: true where the
    // shade bytes are a colour. Empty for the plain conversion.
    std::vector<bool> rowColours;
};

#endif
