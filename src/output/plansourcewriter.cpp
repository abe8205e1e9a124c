#include "output/plansourcewriter.h"

#include "console/textureformat.h"
#include "output/vertexrows.h"
#include "textures/tilegrid.h"
#include "plan/trianglesnake.h"

namespace {

const char* InputName(CombinerInput input)
{
    switch (input) {
    case CombinerInput::Zero:
        return "0";
    case CombinerInput::One:
        return "1";
    case CombinerInput::Texel0:
        return "TEXEL0";
    case CombinerInput::Shade:
        return "SHADE";
    case CombinerInput::Primitive:
        return "PRIMITIVE";
    default:
        return "COMBINED";
    }
}

const char* RenderModeNames(RenderMode mode)
{
    switch (mode) {
    case RenderMode::Cutout:
        return "G_RM_AA_ZB_TEX_EDGE, G_RM_AA_ZB_TEX_EDGE2";
    case RenderMode::Translucent:
        return "G_RM_AA_ZB_XLU_SURF, G_RM_AA_ZB_XLU_SURF2";
    default:
        return "G_RM_AA_ZB_OPA_SURF, G_RM_AA_ZB_OPA_SURF2";
    }
}

const char* FormatName(TextureFormat format)
{
    switch (format) {
    case TextureFormat::RGBA16:
    case TextureFormat::RGBA32:
        return "G_IM_FMT_RGBA";
    case TextureFormat::IA16:
    case TextureFormat::IA8:
    case TextureFormat::IA4:
        return "G_IM_FMT_IA";
    case TextureFormat::I8:
    case TextureFormat::I4:
        return "G_IM_FMT_I";
    default:
        return "G_IM_FMT_CI";
    }
}

std::string AxisMode(bool clamp, bool mirror)
{
    return std::string(clamp ? "G_TX_CLAMP" : "G_TX_WRAP") + (mirror ? " | G_TX_MIRROR" : " | G_TX_NOMIRROR");
}

void WriteGeometryBits(OutputText& out, uint32_t bits)
{
    const char* separator = "";
    if (bits & geometryLighting) {
        out << "G_LIGHTING";
        separator = " | ";
    }
    if (bits & geometryPackedNormals) {
        out << separator << "G_PACKED_NORMALS";
    }
}

void WriteLoad(OutputText& out, const std::string& identifier, const TexturePlan& texture)
{
    const int bits = TexelBits(texture.format);
    const std::string tail = std::string(", 0, ") + AxisMode(texture.clampS, texture.mirrorS) + ", " +
                             AxisMode(texture.clampT, texture.mirrorT) + ", " + std::to_string(texture.maskS) + ", " +
                             std::to_string(texture.maskT) + ", G_TX_NOLOD, G_TX_NOLOD),\n";
    const std::string size = std::to_string(texture.width) + ", " + std::to_string(texture.height);
    const std::string corner = ", 0, 0, " + std::to_string(texture.width - 1) + ", " + std::to_string(texture.height - 1);
    out << "    ";
    if (texture.loadAsTile) {
        if (bits == 4) {
            out << "gsDPLoadTextureTile_4b(" << TextureArrayName(identifier, texture) << ", " << FormatName(texture.format)
                << ", " << size << corner << tail;
        } else {
            out << "gsDPLoadTextureTile(" << TextureArrayName(identifier, texture) << ", " << FormatName(texture.format)
                << ", G_IM_SIZ_" << int64_t(bits) << "b, " << size << corner << tail;
        }
    } else if (bits == 4) {
        out << "gsDPLoadTextureBlock_4b(" << TextureArrayName(identifier, texture) << ", " << FormatName(texture.format)
            << ", " << size << tail;
    } else {
        out << "gsDPLoadTextureBlock(" << TextureArrayName(identifier, texture) << ", " << FormatName(texture.format)
            << ", G_IM_SIZ_" << int64_t(bits) << "b, " << size << tail;
    }
}

// One tile of a tiled texture with the texel around it; the render tile's size is the loaded rectangle, so the
// vertices' texture coordinates are those of the whole framed image. With mask 0 the tile clamps there on either
// axis; the mode still says whether the material wraps (its pieces then stay inside the tile) or clamps (pieces
// of the edge tiles reach past the image).
void WriteTileLoad(OutputText& out, const std::string& identifier, const TexturePlan& texture, int tile)
{
    const TileRectangle r = TileRectangleOf(texture.tiles, texture.width - 2, texture.height - 2, tile);
    const int bits = TexelBits(texture.format);
    out << "    " << (bits == 4 ? "gsDPLoadTextureTile_4b(" : "gsDPLoadTextureTile(")
        << TextureArrayName(identifier, texture) << ", " << FormatName(texture.format);
    if (bits != 4) {
        out << ", G_IM_SIZ_" << int64_t(bits) << "b";
    }
    out << ", " << int64_t(texture.width) << ", " << int64_t(texture.height) << ", " << int64_t(r.left) << ", "
        << int64_t(r.top) << ", " << int64_t(r.right) << ", " << int64_t(r.bottom) << ", 0, "
        << AxisMode(texture.clampS, false) << ", " << AxisMode(texture.clampT, false)
        << ", 0, 0, G_TX_NOLOD, G_TX_NOLOD),\n";
}

// One corner byte of a snake as the macros take it: the slot (marked when it is the last) and its direction.
void WriteSnakeCorner(OutputText& out, uint32_t byte)
{
    if (byte == 0) {
        out << "0, 0";
        return;
    }
    out << int64_t((byte >> 1) & 0x3Fu);
    if (byte & snakeLast) {
        out << " | G_SNAKE_LAST";
    }
    out << ((byte & snakeLeft) ? ", G_SNAKE_LEFT" : ", G_SNAKE_RIGHT");
}

}

void WriteCommand(OutputText& out, const ConsolePlan& plan, const std::string& identifier, const Command& command)
{
    switch (command.kind) {
    case Command::Vertex:
        out << "    gsSPVertex(&" << identifier << "Vertices[" << int64_t(command.a) << "], " << int64_t(command.b)
            << ", " << int64_t(command.c) << "),\n";
        break;
    case Command::Triangle:
        out << "    gsSP1Triangle(" << int64_t(command.a) << ", " << int64_t(command.b) << ", " << int64_t(command.c)
            << ", 0),\n";
        break;
    case Command::TrianglePair:
        out << "    gsSP2Triangles(" << int64_t(command.a) << ", " << int64_t(command.b) << ", "
            << int64_t(command.c) << ", 0, " << int64_t(command.d) << ", " << int64_t(command.e) << ", "
            << int64_t(command.f) << ", 0),\n";
        break;
    case Command::TriangleSnake:
    case Command::SnakeContinuation:
        WriteSnake(out, command);
        break;
    case Command::PipeSync:
        out << "    gsDPPipeSync(),\n";
        break;
    case Command::Call:
        out << "    gsSPDisplayList(" << plan.lists[command.a].name << "),\n";
        break;
    case Command::SetGeometryMode:
    case Command::ClearGeometryMode:
        out << (command.kind == Command::SetGeometryMode ? "    gsSPSetGeometryMode(" : "    gsSPClearGeometryMode(");
        WriteGeometryBits(out, command.a);
        out << "),\n";
        break;
    case Command::SetCombine: {
        const CombinerMode& m = command.combiner;
        const std::string cycle = std::string(InputName(m.a)) + ", " + InputName(m.b) + ", " + InputName(m.c) + ", " +
                                  InputName(m.d) + ", " + InputName(m.aa) + ", " + InputName(m.ab) + ", " +
                                  InputName(m.ac) + ", " + InputName(m.ad);
        // In one-cycle mode the combiner reads the second cycle's inputs: both are the same.
        out << "    gsDPSetCombineLERP(" << cycle << ", " << cycle << "),\n";
        break;
    }
    case Command::SetRenderMode:
        out << "    gsDPSetRenderMode(" << RenderModeNames(command.renderMode) << "),\n";
        break;
    case Command::Texture:
        out << "    gsSPTexture(0xFFFF, 0xFFFF, 0, G_TX_RENDERTILE, " << (command.a ? "G_ON" : "G_OFF") << "),\n";
        break;
    case Command::LoadTexture:
        WriteLoad(out, identifier, plan.textures[command.a]);
        break;
    case Command::LoadTextureTile:
        WriteTileLoad(out, identifier, plan.textures[command.a], int(command.b));
        break;
    case Command::LoadPalette: {
        const TexturePlan& texture = plan.textures[command.a];
        if (texture.format == TextureFormat::CI4) {
            out << "    gsDPLoadTLUT_pal16(0, " << PaletteArrayName(identifier, texture) << "),\n";
        } else {
            out << "    gsDPLoadTLUT_pal256(" << PaletteArrayName(identifier, texture) << "),\n";
        }
        break;
    }
    case Command::SetTextureLUT:
        out << "    gsDPSetTextureLUT(" << (command.a ? "G_TT_RGBA16" : "G_TT_NONE") << "),\n";
        break;
    case Command::SetPrimColour:
        out << "    gsDPSetPrimColor(0, 0, " << int64_t(command.a) << ", " << int64_t(command.b) << ", "
            << int64_t(command.c) << ", " << int64_t(command.d) << "),\n";
        break;
    case Command::SetCycleOne:
        out << "    gsDPSetCycleType(G_CYC_1CYCLE),\n";
        break;
    case Command::AlphaCompareNone:
        out << "    gsDPSetAlphaCompare(G_AC_NONE),\n";
        break;
    case Command::End:
        out << "    gsSPEndDisplayList(),\n";
        break;
    }
}

namespace {

// Bytes as big-endian 64-bit words, four to a line; the console reads them in this order.
void WriteWords(OutputText& out, const std::string& name, const std::vector<uint8_t>& bytes)
{
    out << "u64 " << name << "[] = \n{\n";
    const size_t words = (bytes.size() + 7) / 8;
    for (size_t w = 0; w < words; ++w) {
        out << (w % 4 == 0 ? "    " : " ") << "0x";
        for (size_t b = 0; b < 8; ++b) {
            const size_t i = w * 8 + b;
            const unsigned value = i < bytes.size() ? bytes[i] : 0u;
            const char digits[] = "0123456789abcdef";
            const char pair[2] = {digits[value >> 4], digits[value & 15]};
            out << std::string_view(pair, 2);
        }
        out << "ULL,";
        if (w % 4 == 3 || w + 1 == words) {
            out << "\n";
        }
    }
    out << "};\n\n";
}

}

void WriteVertexArrayStart(OutputText& out, const std::string& identifier)
{
    out << "Vtx " << identifier << "Vertices[] = \n"
        << "{\n";
}

void WriteListStart(OutputText& out, const std::string& name)
{
    out << "Gfx " << name << "[] = \n"
        << "{\n";
}

void WriteArrayEnd(OutputText& out)
{
    out << "};\n"
        << "\n";
}

void WriteModelRecord(OutputText& out, const std::string& identifier)
{
    out << "model " << identifier << "Model = { " << identifier << "Vertices, " << identifier << "DisplayList };\n"
        << "\n";
}

std::string TextureArrayName(const std::string& identifier, const TexturePlan& texture)
{
    return identifier + "Texture_" + texture.name;
}

std::string PaletteArrayName(const std::string& identifier, const TexturePlan& texture)
{
    return identifier + "Palette_" + texture.name;
}

void WritePlanHeader(OutputText& out, const OutputNames& names, const std::vector<std::string>& partLists)
{
    out << "#ifndef " << names.identifier << "_H\n"
        << "#define " << names.identifier << "_H\n"
        << "\n"
        << "#include \"model.h\"\n"
        << "\n"
        << "extern model " << names.identifier << "Model;\n";
    for (const std::string& part : partLists) {
        out << "extern Gfx " << part << "[];\n";
    }
    out << "\n"
        << "#endif\n";
}

void WritePlanSource(OutputText& out, const OutputNames& names, const ConsolePlan& plan, bool fullBraces)
{
    const std::string& id = names.identifier;
    out << "#include \"" << names.headerFileName << "\"\n"
        << "\n";
    for (const TexturePlan& texture : plan.textures) {
        WriteWords(out, TextureArrayName(id, texture), texture.texels);
        if (!texture.palette.empty()) {
            // pal256 loads 256 entries and pal16 16, whatever the image uses.
            std::vector<uint8_t> bytes(texture.format == TextureFormat::CI4 ? 32 : 512, 0);
            for (size_t i = 0; i < texture.palette.size() && 2 * i + 1 < bytes.size(); ++i) {
                bytes[2 * i] = uint8_t(texture.palette[i] >> 8);
                bytes[2 * i + 1] = uint8_t(texture.palette[i] & 0xFF);
            }
            WriteWords(out, PaletteArrayName(id, texture), bytes);
        }
    }
    WriteVertexArrayStart(out, id);
    for (size_t r = 0; r < plan.rows.size(); ++r) {
        WriteVertexRow(out, plan.rows[r], r < plan.rowColours.size() ? plan.rowColours[r] : !plan.lit, fullBraces);
    }
    WriteArrayEnd(out);
    out << "/*\n"
        << " * Every part list and the model's list end by restoring the state the next object of the game expects:\n"
        << " * lighting on, texturing off, lookup table off, a shade-only combiner, the opaque z-buffered render\n"
        << " * mode, one-cycle mode and alpha compare off.\n"
        << " */\n";
    for (const DisplayListPlan& list : plan.lists) {
        WriteListStart(out, list.name);
        for (const Command& command : list.commands) {
            WriteCommand(out, plan, id, command);
        }
        WriteArrayEnd(out);
    }
    WriteModelRecord(out, id);
}

void WriteSnake(OutputText& out, const Command& command)
{
    uint32_t words[2] = {command.d, 0};
    if (command.kind == Command::TriangleSnake) {
        out << "    gsSPTriSnake(" << int64_t(command.a) << ", " << int64_t(command.b) << ", "
            << int64_t((command.c >> 1) & 0x3Fu);
    } else {
        words[0] = command.a;
        words[1] = command.b;
        out << "    gsSPContinueSnake(";
    }
    const char* separator = command.kind == Command::TriangleSnake ? ", " : "";
    for (int w = 0; w < (command.kind == Command::TriangleSnake ? 1 : 2); ++w) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            out << separator;
            WriteSnakeCorner(out, (words[w] >> shift) & 0xFFu);
            separator = ", ";
        }
    }
    out << "),\n";
}
