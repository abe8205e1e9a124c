#ifndef POLVANE_TEXTUREFORMAT_H
#define POLVANE_TEXTUREFORMAT_H

// The console's texel formats that a texture can be converted to.
enum class TextureFormat { RGBA16, RGBA32, IA16, IA8, IA4, I8, I4, CI8, CI4 };

#endif
