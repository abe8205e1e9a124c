#ifndef POLVANE_TEXTURECHOOSER_H
#define POLVANE_TEXTURECHOOSER_H

#include <optional>
#include <string>
#include <vector>

#include "console/consoleplan.h"
#include "console/textureformat.h"
#include "textures/image.h"

struct ChosenTexture {
    TexturePlan plan;                   // all but its name
    double psnr = -1.0;                 // of plan against the image (TextureError); negative when not measured
    std::vector<std::string> warnings;  // lines "<file>: warning: ...", in order
};

// Converts an image to the texture the console draws best. A forced format is converted as ChooseTexture sizes
// it. Otherwise the image's alpha is read for its meaning (ReadAlpha), and every format that keeps that meaning
// is tried at its CandidateSizes: the smallest TextureError wins, ties going to fewer bytes. A line names the
// choice, its PSNR and the best other format's whenever the size changes. An image whose error cannot be
// measured (all transparent) takes ChooseTexture's automatic format. False, with an error, for an image without
// pixels.
bool ChooseAndConvertTexture(const Image& image, std::optional<TextureFormat> forced, bool clampS, bool clampT,
                             const std::string& fileName, ChosenTexture& chosen, std::string& error);

// "27.1 dB": a PSNR as lines and statistics show it.
std::string PsnrText(double psnr);

#endif
