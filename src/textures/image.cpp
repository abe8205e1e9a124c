#include "textures/image.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>

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

// The decoder reads a file through these, so that it is opened the way every other input is.
int ReadFromStream(void* user, char* data, int size)
{
    std::istream& in = *static_cast<std::istream*>(user);
    in.read(data, size);
    return int(in.gcount());
}

void SkipInStream(void* user, int count)
{
    std::istream& in = *static_cast<std::istream*>(user);
    if (!in.seekg(count, std::ios::cur)) {
        in.clear();
        in.seekg(0, std::ios::end);
    }
}

int StreamAtEnd(void* user)
{
    std::istream& in = *static_cast<std::istream*>(user);
    return in.peek() == std::char_traits<char>::eof() ? 1 : 0;
}

const stbi_io_callbacks streamCallbacks = {ReadFromStream, SkipInStream, StreamAtEnd};

bool TooLarge(int width, int height)
{
    return width > maxImageSide || height > maxImageSide;
}

// Reads the size with probe(), refuses what is too large, then decodes to 8-bit RGBA with decode().
template <typename Probe, typename Decoder>
ImageLoad Decode(Probe probe, Decoder decode, Image& image, std::string& reason)
{
    int width = 0, height = 0, channels = 0;
    if (!probe(&width, &height, &channels) || width <= 0 || height <= 0) {
        reason = "is not a PNG, JPEG, TGA, BMP or GIF image";
        return ImageLoad::Unreadable;
    }
    if (TooLarge(width, height)) {
        reason = "is " + std::to_string(width) + "x" + std::to_string(height) + " pixels; the largest image read is " +
                 std::to_string(maxImageSide) + "x" + std::to_string(maxImageSide);
        return ImageLoad::Unreadable;
    }
    stbi_uc* pixels = decode(&width, &height, &channels);
    if (!pixels || width <= 0 || height <= 0 || TooLarge(width, height)) {
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

void WriteToStream(void* user, void* data, int size)
{
    static_cast<std::ostream*>(user)->write(static_cast<const char*>(data), size);
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
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        reason = "cannot be opened";
        return ImageLoad::Unreadable;
    }
    return Decode(
        [&](int* width, int* height, int* channels) {
            const int known = stbi_info_from_callbacks(&streamCallbacks, &file, width, height, channels);
            file.clear();
            file.seekg(0);
            return known != 0;
        },
        [&](int* width, int* height, int* channels) {
            return stbi_load_from_callbacks(&streamCallbacks, &file, width, height, channels, 4);
        },
        image, reason);
}

ImageLoad LoadImageFromMemory(const uint8_t* data, size_t size, Image& image, std::string& reason)
{
    image = Image();
    const int length = size > size_t(INT_MAX) ? INT_MAX : int(size);
    return Decode(
        [&](int* width, int* height, int* channels) {
            return size <= size_t(INT_MAX) && stbi_info_from_memory(data, length, width, height, channels) != 0;
        },
        [&](int* width, int* height, int* channels) {
            return stbi_load_from_memory(data, length, width, height, channels, 4);
        },
        image, reason);
}

Image ResizeImage(const Image& image, int width, int height, bool wrapX, bool wrapY)
{
    if (width == image.width && height == image.height) {
        return image;
    }
    Image resized;
    resized.width = width;
    resized.height = height;
    resized.rgba.resize(size_t(width) * size_t(height) * 4);
    const int ok = stbir_resize(image.rgba.data(), image.width, image.height, image.width * 4, resized.rgba.data(),
                                width, height, width * 4, STBIR_TYPE_UINT8, 4, 3, 0,
                                wrapX ? STBIR_EDGE_WRAP : STBIR_EDGE_CLAMP, wrapY ? STBIR_EDGE_WRAP : STBIR_EDGE_CLAMP,
                                STBIR_FILTER_DEFAULT, STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_SRGB, nullptr);
    if (!ok) {
        throw std::bad_alloc();  // the resampler fails only when it cannot allocate its buffers
    }
    return resized;
}

bool WritePng(const std::string& path, const Image& image)
{
    std::ofstream file(path, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!file.is_open()) {
        return false;
    }
    const int ok = stbi_write_png_to_func(WriteToStream, &file, image.width, image.height, 4, image.rgba.data(),
                                          image.width * 4);
    file.close();
    return ok != 0 && !file.fail();
}
