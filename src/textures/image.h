#ifndef POLVANE_IMAGE_H
#define POLVANE_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "settings.h"

// Pixels of a picture file: 8-bit red, green, blue and alpha, the top row first. The only unit that knows how
// image files are decoded.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // width * height * 4 bytes
};

// The largest width and height read; larger pictures are refused before they are decoded.
constexpr int maxImageSide = 8192;

enum class ImageLoad { Ok, Missing, Unreadable };

// Reads a PNG, JPEG, TGA, BMP or GIF (its first frame). Missing: nothing exists at path. Unreadable: reason
// completes a sentence that starts with the file's name ("is not a regular file", "is damaged or truncated").
// Anything but a regular file is refused before it is opened, so a FIFO or device cannot block the read.
ImageLoad LoadImage(const std::string& path, Image& image, std::string& reason);
// The same for a file's bytes already in memory, Ok or Unreadable, refusing sides over maxSide.
ImageLoad LoadImageFromMemory(const uint8_t* data, size_t size, Image& image, std::string& reason,
                              int maxSide = maxImageSide);

// How a picture is resampled. Smooth: a wide kernel in linear light, soft on hard edges. Box: each pixel the
// area average of the pixels it covers, in the stored (sRGB) values, which keeps edges sharper when reducing.
enum class ResizeFilter { Smooth, Box };

// The picture resampled to width x height with a filtering kernel (never by picking pixels), weighted by alpha,
// so fully transparent pixels lend no colour to their neighbours. A wrapping axis filters across its edge into
// the opposite one.
Image ResizeImage(const Image& image, int width, int height, bool wrapX = false, bool wrapY = false,
                  ResizeFilter filter = ResizeFilter::Smooth);

bool WritePng(const std::string& path, const Image& image);
bool WritePicture(const std::string& path, const Image& image, PictureFormat format);

#endif
