#ifndef POLVANE_TEXTUREFORMAT_H
#define POLVANE_TEXTUREFORMAT_H

// The console's texel formats that a texture can be converted to.
enum class TextureFormat { RGBA16, RGBA32, IA16, IA8, IA4, I8, I4, CI8, CI4 };

// "RGBA16", "CI4", ... as messages name the formats.
const char* TextureFormatName(TextureFormat format);
int TexelBits(TextureFormat format);
// CI8 and CI4: texels are indices into a palette of RGBA 5-5-5-1 colours.
bool IsColourIndexed(TextureFormat format);
// IA16, IA8, IA4, I8 and I4: texels hold a brightness and no colour.
bool IsGreyFormat(TextureFormat format);

#endif
