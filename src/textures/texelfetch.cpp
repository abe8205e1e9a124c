#include "textures/texelfetch.h"

#include <cstddef>

#include "console/textureformat.h"

namespace {

uint8_t Widen4(unsigned value) { return uint8_t(value * 17); }

uint8_t Widen3(unsigned value) { return uint8_t((value << 5) | (value << 2) | (value >> 1)); }

Texel Grey(uint8_t intensity, uint8_t alpha) { return Texel{intensity, intensity, intensity, alpha}; }

Texel IndexedTexel(unsigned index, unsigned indexBits, const std::vector<uint16_t>* palette)
{
    if (palette == nullptr) {
        const uint8_t intensity = indexBits == 4 ? Widen4(index) : uint8_t(index);
        return Grey(intensity, intensity);
    }
    return index < palette->size() ? DecodeRgba5551((*palette)[index]) : Texel{};
}

} // namespace

Texel DecodeRgba5551(uint16_t value)
{
    const unsigned r = (value >> 11) & 31, g = (value >> 6) & 31, b = (value >> 1) & 31;
    return Texel{uint8_t((r << 3) | (r >> 2)), uint8_t((g << 3) | (g >> 2)), uint8_t((b << 3) | (b >> 2)),
                 uint8_t((value & 1) ? 255 : 0)};
}

Texel FetchTexel(const TexturePlan& texture, const std::vector<uint16_t>* palette, int s, int t)
{
    if (s < 0 || t < 0 || texture.width <= 0) {
        return Texel{};
    }
    const int bits = TexelBits(texture.format);
    const size_t rowBytes = (size_t(texture.width) * size_t(bits) + 7) / 8;
    const size_t bitOffset = size_t(s) * size_t(bits);
    const size_t at = size_t(t) * rowBytes + bitOffset / 8;
    const std::vector<uint8_t>& bytes = texture.texels;
    if (at + size_t(bits + 7) / 8 > bytes.size()) {
        return Texel{};
    }
    const uint8_t* p = bytes.data() + at;
    const unsigned nibble = (bitOffset & 4) ? (p[0] & 15u) : (p[0] >> 4);
    switch (texture.format) {
    case TextureFormat::RGBA16:
        return DecodeRgba5551(uint16_t((p[0] << 8) | p[1]));
    case TextureFormat::RGBA32:
        return Texel{p[0], p[1], p[2], p[3]};
    case TextureFormat::IA16:
        return Grey(p[0], p[1]);
    case TextureFormat::IA8:
        return Grey(Widen4(p[0] >> 4), Widen4(p[0] & 15u));
    case TextureFormat::IA4:
        return Grey(Widen3(nibble >> 1), (nibble & 1) ? 255 : 0);
    case TextureFormat::I8:
        return Grey(p[0], p[0]);
    case TextureFormat::I4:
        return Grey(Widen4(nibble), Widen4(nibble));
    case TextureFormat::CI8:
        return IndexedTexel(p[0], 8, palette);
    case TextureFormat::CI4:
        return IndexedTexel(nibble, 4, palette);
    }
    return Texel{};
}
