#include "console/textureformat.h"

const char* TextureFormatName(TextureFormat format)
{
    switch (format) {
    case TextureFormat::RGBA16: return "RGBA16";
    case TextureFormat::RGBA32: return "RGBA32";
    case TextureFormat::IA16: return "IA16";
    case TextureFormat::IA8: return "IA8";
    case TextureFormat::IA4: return "IA4";
    case TextureFormat::I8: return "I8";
    case TextureFormat::I4: return "I4";
    case TextureFormat::CI8: return "CI8";
    case TextureFormat::CI4: return "CI4";
    }
    return "?";
}

int TexelBits(TextureFormat format)
{
    switch (format) {
    case TextureFormat::RGBA32: return 32;
    case TextureFormat::RGBA16:
    case TextureFormat::IA16: return 16;
    case TextureFormat::IA8:
    case TextureFormat::I8:
    case TextureFormat::CI8: return 8;
    case TextureFormat::IA4:
    case TextureFormat::I4:
    case TextureFormat::CI4: return 4;
    }
    return 16;
}

bool IsColourIndexed(TextureFormat format)
{
    return format == TextureFormat::CI8 || format == TextureFormat::CI4;
}

bool IsGreyFormat(TextureFormat format)
{
    return format == TextureFormat::IA16 || format == TextureFormat::IA8 || format == TextureFormat::IA4 ||
           format == TextureFormat::I8 || format == TextureFormat::I4;
}
