#include "textures/image.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>

#include "cfile.h"

namespace {

// Memory the decoder takes is zeroed: a damaged file whose scans leave parts of the picture unwritten then decodes
// to the same pixels every time, never to what the memory held before.
void* ZeroedAllocation(size_t size)
{
    return std::calloc(1, size == 0 ? 1 : size);
}

// A fresh zeroed block rather than realloc and memset: the system hands out large zeroed blocks without touching
// them, so a header that claims a huge chunk costs nothing until its bytes arrive (they never do in a short file).
void* ZeroedReallocation(void* block, size_t oldSize, size_t newSize)
{
    void* grown = ZeroedAllocation(newSize);
    if (grown && block) {
        std::memcpy(grown, block, std::min(oldSize, newSize));
        std::free(block);
    }
    return grown;
}

}

#define STBI_MALLOC(size) ZeroedAllocation(size)
#define STBI_REALLOC_SIZED(block, oldSize, newSize) ZeroedReallocation(block, oldSize, newSize)
#define STBI_FREE(block) std::free(block)
// The decoders we need, nothing more: fewer formats are fewer ways for a hostile file in.
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_LINEAR
#define STBI_NO_STDIO
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_resize.h>
#include <stb_image_write.h>

namespace fs = std::filesystem;

namespace {

// stb_image 2.27 (Debian 12) writes past its Huffman tables when a JPEG's table lists more than 256 codes;
// such a file is refused before stb sees it. The walk below finds every table stb would read: it steps from
// marker to marker as stb does and, after a scan, goes on at the first byte 0xFF that is neither a stuffed
// zero nor a restart marker, where stb's entropy decoder also stops.
class JpegBytes {
public:
    JpegBytes(const uint8_t* bytes, size_t count) : data(bytes), size(count) {}
    bool AtEnd() const { return at >= size; }
    int Get8() { return at < size ? data[at++] : 0; }  // stb reads zeros past the end
    int Get16() { return Get8() << 8 | Get8(); }
    int Peek(size_t ahead) const { return at + ahead < size ? data[at + ahead] : -1; }
    void Skip(size_t count) { at = count < size - std::min(at, size) ? at + count : size; }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

// Reads one "define Huffman table" segment as stb does; false when a table has more than 256 codes.
bool HuffmanSegmentFits(JpegBytes& in)
{
    for (int left = in.Get16() - 2; left > 0 && !in.AtEnd();) {
        in.Get8();
        int codes = 0;
        for (int length = 0; length < 16; ++length) {
            codes += in.Get8();
        }
        if (codes > 256) {
            return false;
        }
        in.Skip(size_t(codes));
        left -= 17 + codes;
    }
    return true;
}

bool JpegHuffmanTablesFit(const uint8_t* data, size_t size)
{
    JpegBytes in(data, size);
    const auto nextMarker = [&in]() {
        int marker = 0xFF;
        while (marker == 0xFF && !in.AtEnd()) {
            marker = in.Get8();
        }
        return marker;
    };
    if (in.Get8() != 0xFF || nextMarker() != 0xD8) {
        return true;  // not a JPEG
    }
    while (!in.AtEnd()) {
        if (in.Get8() != 0xFF) {
            continue;  // stb skips bytes between segments until a marker
        }
        const int marker = nextMarker();
        if (marker == 0xD9) {
            return true;  // end of image
        }
        if (marker == 0xC4) {
            if (!HuffmanSegmentFits(in)) {
                return false;
            }
        } else if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x00 || marker == 0x01) {
            // no length follows
        } else {
            const int length = in.Get16();
            in.Skip(size_t(std::max(length - 2, 0)));
            if (marker == 0xDA) {
                // Entropy-coded data: 0xFF 0x00 is a stuffed byte, 0xFF 0xD0..0xD7 a restart; a marker ends it.
                while (!in.AtEnd()) {
                    int next = 0;
                    if (in.Peek(0) == 0xFF) {
                        size_t ahead = 1;
                        while (in.Peek(ahead) == 0xFF) {
                            ++ahead;
                        }
                        next = in.Peek(ahead);
                        if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7)) {
                            break;
                        }
                    }
                    in.Get8();
                }
            }
        }
    }
    return true;
}

// A PNG chunk that claims more bytes than the file has left is truncated; stb would allocate its claimed size first.
bool PngChunksFit(const uint8_t* data, size_t size)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || std::memcmp(data, signature, 8) != 0) {
        return true;  // not a PNG
    }
    for (size_t at = 8; at + 8 <= size;) {
        const uint64_t length = uint64_t(data[at]) << 24 | uint64_t(data[at + 1]) << 16 | uint64_t(data[at + 2]) << 8 |
                                data[at + 3];
        if (length + 12 > size - at) {
            return false;
        }
        if (std::memcmp(data + at + 4, "IEND", 4) == 0) {
            break;
        }
        at += size_t(length) + 12;
    }
    return true;
}

// The most pixels a byte of any of the formats read can hold: deflate expands a byte to at most 1032, and a PNG
// may pack 8 pixels into a byte. A file with more pixels than that for its size is truncated; refusing it early
// spares decoding a header's worth of zeros into a large picture.
constexpr uint64_t maxPixelsPerByte = 1032 * 8;

// Where stb's writers hand their bytes: the file, and whether all of them went into it.
struct PictureFile {
    std::FILE* file;
    bool failed;
};

void WriteToFile(void* user, void* data, int size)
{
    PictureFile& picture = *static_cast<PictureFile*>(user);
    picture.failed = std::fwrite(data, 1, size_t(size), picture.file) != size_t(size) || picture.failed;
}

}

ImageLoad LoadImage(const std::string& path, Image& image, std::string& reason)
{
    image = Image();
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return ImageLoad::Missing;
    }
    if (error) {
        reason = "cannot be read";
        return ImageLoad::Unreadable;
    }
    if (!fs::is_regular_file(status)) {
        reason = "is not a regular file";
        return ImageLoad::Unreadable;
    }
    std::FILE* file = OpenUnbuffered(path, "rb");
    if (!file) {
        reason = "cannot be opened";
        return ImageLoad::Unreadable;
    }
    std::vector<uint8_t> bytes;
    const WholeRead read = ReadRest(file, bytes, size_t(INT_MAX));
    std::fclose(file);
    if (read == WholeRead::TooLarge) {
        reason = "is larger than any image read";
        return ImageLoad::Unreadable;
    }
    if (read == WholeRead::Failed) {
        reason = "cannot be read";
        return ImageLoad::Unreadable;
    }
    return LoadImageFromMemory(bytes.data(), bytes.size(), image, reason, maxImageSide);
}

ImageLoad LoadImageFromMemory(const uint8_t* data, size_t size, Image& image, std::string& reason, int maxSide)
{
    image = Image();
    if (size > size_t(INT_MAX)) {
        reason = "is larger than any image read";
        return ImageLoad::Unreadable;
    }
    if (!JpegHuffmanTablesFit(data, size) || !PngChunksFit(data, size)) {
        reason = "is damaged or truncated";
        return ImageLoad::Unreadable;
    }
    const auto tooLarge = [maxSide](int width, int height) { return width > maxSide || height > maxSide; };
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, int(size), &width, &height, &channels) || width <= 0 || height <= 0) {
        reason = "is not a PNG, JPEG, TGA, BMP or GIF image";
        return ImageLoad::Unreadable;
    }
    if (tooLarge(width, height)) {
        reason = "is " + std::to_string(width) + "x" + std::to_string(height) + " pixels; the largest image read is " +
                 std::to_string(maxSide) + "x" + std::to_string(maxSide);
        return ImageLoad::Unreadable;
    }
    if (uint64_t(width) * uint64_t(height) > uint64_t(size) * maxPixelsPerByte) {
        reason = "is damaged or truncated";
        return ImageLoad::Unreadable;
    }
    stbi_uc* pixels = stbi_load_from_memory(data, int(size), &width, &height, &channels, 4);
    if (!pixels || width <= 0 || height <= 0 || tooLarge(width, height)) {
        stbi_image_free(pixels);
        reason = "is damaged or truncated";
        return ImageLoad::Unreadable;
    }
    image.width = width;
    image.height = height;
    image.rgba.assign(pixels, pixels + size_t(width) * size_t(height) * 4);
    stbi_image_free(pixels);
    return ImageLoad::Ok;
}

Image ResizeImage(const Image& image, int width, int height, bool wrapX, bool wrapY, ResizeFilter filter)
{
    if (width == image.width && height == image.height) {
        return image;
    }
    Image resized;
    resized.width = width;
    resized.height = height;
    resized.rgba.resize(size_t(width) * size_t(height) * 4);
    const stbir_filter kernel = filter == ResizeFilter::Box ? STBIR_FILTER_BOX : STBIR_FILTER_DEFAULT;
    const stbir_colorspace space = filter == ResizeFilter::Box ? STBIR_COLORSPACE_LINEAR : STBIR_COLORSPACE_SRGB;
    const int ok = stbir_resize(image.rgba.data(), image.width, image.height, image.width * 4, resized.rgba.data(),
                                width, height, width * 4, STBIR_TYPE_UINT8, 4, 3, 0,
                                wrapX ? STBIR_EDGE_WRAP : STBIR_EDGE_CLAMP, wrapY ? STBIR_EDGE_WRAP : STBIR_EDGE_CLAMP,
                                kernel, kernel, space, nullptr);
    if (!ok) {
        throw std::bad_alloc();  // the resampler fails only when it cannot allocate its buffers
    }
    return resized;
}

bool WritePng(const std::string& path, const Image& image)
{
    return WritePicture(path, image, PictureFormat::Png);
}

bool WritePicture(const std::string& path, const Image& image, PictureFormat format)
{
    PictureFile file{std::fopen(path.c_str(), "wb"), false};
    if (!file.file) {
        return false;
    }
    const int w = image.width;
    const int h = image.height;
    const void* pixels = image.rgba.data();
    int ok = 0;
    switch (format) {
    case PictureFormat::Png:
        ok = stbi_write_png_to_func(WriteToFile, &file, w, h, 4, pixels, w * 4);
        break;
    case PictureFormat::Bmp:
        ok = stbi_write_bmp_to_func(WriteToFile, &file, w, h, 4, pixels);
        break;
    case PictureFormat::Tga:
        ok = stbi_write_tga_to_func(WriteToFile, &file, w, h, 4, pixels);
        break;
    case PictureFormat::Jpg:
        ok = stbi_write_jpg_to_func(WriteToFile, &file, w, h, 4, pixels, 90);
        break;
    }
    const bool closed = std::fclose(file.file) == 0;
    return ok != 0 && !file.failed && closed;
}
