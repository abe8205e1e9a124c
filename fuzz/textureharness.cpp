#include "textureharness.h"

#include <cstring>

#include "plan/meshcutter.h"
#include "textures/texturefit.h"
#include "textures/tilegrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "textures/image.h"
#include "textures/texelfetch.h"
#include "textures/texturechooser.h"
#include "textures/textureconvert.h"
#include "textures/texturefit.h"

namespace {

bool IsPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

// Larger images decode too slowly under the fuzzer's checkers.
constexpr int fuzzMaxSide = 1024;

bool IsSizeRefusal(const std::string& reason)
{
    const std::string limit = " pixels; the largest image read is 1024x1024";
    return reason.size() > limit.size() + 3 && reason.compare(0, 3, "is ") == 0 &&
           reason.compare(reason.size() - limit.size(), limit.size(), limit) == 0;
}

bool KnownReason(const std::string& reason)
{
    static const char* const fixed[] = {"is not a PNG, JPEG, TGA, BMP or GIF image", "is damaged or truncated"};
    if (std::find(std::begin(fixed), std::end(fixed), reason) != std::end(fixed)) {
        return true;
    }
    return IsSizeRefusal(reason);
}

std::string SizeText(int width, int height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

// Chooses, converts and decodes one image; fileName appears in the warnings.
std::string CheckConversion(const Image& image, std::optional<TextureFormat> forced, bool clampS, bool clampT)
{
    TextureChoice choice;
    std::string error;
    if (!ChooseTexture(image, forced, clampS, clampT, "f.png", choice, error)) {
        return "an image with pixels was refused: " + error;
    }
    const TextureFormat format = choice.format;
    const std::string what = std::string(TextureFormatName(format)) + " " + SizeText(choice.width, choice.height) +
                             " from " + SizeText(image.width, image.height) + ": ";
    if (forced && format != *forced) {
        return what + "the forced format was not kept";
    }
    if (!FitsTmem(format, choice.width, choice.height)) {
        return what + "does not fit texture memory";
    }
    if ((!clampS && !IsPowerOfTwo(choice.width)) || (!clampT && !IsPowerOfTwo(choice.height))) {
        return what + "a wrapping axis is not a power of two";
    }
    if (TexelBits(format) == 4 && choice.width % 2 != 0) {
        return what + "4-bit texels in an odd width";
    }
    const bool resized = choice.width != image.width || choice.height != image.height;
    if (resized != !choice.warning.empty() || choice.warning.find('\n') != std::string::npos ||
        (resized && choice.warning.compare(0, 16, "f.png: warning: ") != 0)) {
        return what + "expected one warning line exactly when resized, got \"" + choice.warning + "\"";
    }

    TexturePlan plan;
    std::string warning;
    ConvertTexture(image, choice, clampS, clampT, "f.png", plan, warning);
    const size_t bits = size_t(plan.width) * size_t(plan.height) * size_t(TexelBits(format));
    if (plan.format != format || plan.width != choice.width || plan.height != choice.height ||
        plan.texels.size() != (bits + 63) / 64 * 8) {
        return what + "the plan's format, size or texel bytes do not match the choice";
    }
    const size_t paletteSize = format == TextureFormat::CI4 ? 16 : format == TextureFormat::CI8 ? 256 : 0;
    if (plan.palette.size() > paletteSize || (paletteSize != 0 && plan.palette.empty()) ||
        (format == TextureFormat::CI4 && plan.palette.size() != 16)) {
        return what + "a palette of " + std::to_string(plan.palette.size()) + " entries";
    }
    if (format == TextureFormat::CI8) {
        for (size_t k = 0; k < size_t(plan.width) * size_t(plan.height); ++k) {
            if (plan.texels[k] >= plan.palette.size()) {
                return what + "an index past the palette";
            }
        }
    }
    if (plan.maskS != (clampS ? 0 : int(std::log2(plan.width))) ||
        plan.maskT != (clampT ? 0 : int(std::log2(plan.height))) || plan.clampS != clampS || plan.clampT != clampT ||
        plan.loadAsTile != NeedsTileLoad(format, plan.width, plan.height)) {
        return what + "wrong clamp, mask or load fields";
    }
    if (!warning.empty() && (!IsColourIndexed(format) || warning.find('\n') != std::string::npos)) {
        return what + "unexpected conversion warning \"" + warning + "\"";
    }

    // The decoded texels are values the format holds exactly, so they convert to themselves.
    const Image decoded = DecodeTexture(plan);
    TexturePlan again;
    TextureChoice same = choice;
    ConvertTexture(decoded, same, clampS, clampT, "f.png", again, warning);
    if (!warning.empty() || DecodeTexture(again).rgba != decoded.rgba) {
        return what + "the decoded texels do not convert back to themselves";
    }
    const TextureAlpha alpha = AlphaOf(plan);
    if ((format == TextureFormat::I4 || format == TextureFormat::I8) && alpha != TextureAlpha::Opaque) {
        return what + "an intensity texture without alpha is not opaque";
    }
    if ((format == TextureFormat::RGBA16 || format == TextureFormat::IA4 || IsColourIndexed(format)) &&
        alpha == TextureAlpha::Translucent) {
        return what + "one alpha bit cannot be graded";
    }
    return std::string();
}

// Chooses by measured quality: the texture fits one load with the shapes wrapping needs, palette indices stay
// inside the palette, every warning is one line, the PSNR is a number or "not measured", and a second run gives
// the same bytes.
std::string CheckChooser(const Image& image, bool clampS, bool clampT)
{
    ChosenTexture chosen, again;
    std::string error;
    if (!ChooseAndConvertTexture(image, std::nullopt, clampS, clampT, "f.png", chosen, error) ||
        !ChooseAndConvertTexture(image, std::nullopt, clampS, clampT, "f.png", again, error)) {
        return "the chooser refused an image with pixels: " + error;
    }
    const TexturePlan& plan = chosen.plan;
    const std::string what = std::string("chosen ") + TextureFormatName(plan.format) + " " +
                             SizeText(plan.width, plan.height) + " from " + SizeText(image.width, image.height) +
                             ": ";
    if (!FitsTmem(plan.format, plan.width, plan.height) || (!clampS && !IsPowerOfTwo(plan.width)) ||
        (!clampT && !IsPowerOfTwo(plan.height)) || (TexelBits(plan.format) == 4 && plan.width % 2 != 0)) {
        return what + "a size one load cannot hold or wrap";
    }
    if (IsColourIndexed(plan.format)) {
        for (int t = 0; t < plan.height; ++t) {
            for (int s = 0; s < plan.width; ++s) {
                const Texel index = FetchTexel(plan, nullptr, s, t);
                if ((plan.format == TextureFormat::CI8 ? index.r : index.r / 17) >= plan.palette.size()) {
                    return what + "an index past the palette";
                }
            }
        }
    }
    for (const std::string& warning : chosen.warnings) {
        if (warning.compare(0, 16, "f.png: warning: ") != 0 || warning.find('\n') != std::string::npos) {
            return what + "a warning that is not one line: \"" + warning + "\"";
        }
    }
    if (!(chosen.psnr < 0.0 || (chosen.psnr >= 0.0 && chosen.psnr <= 99.0))) {
        return what + "a PSNR that is no number";
    }
    if (again.plan.texels != plan.texels || again.plan.palette != plan.palette || again.warnings != chosen.warnings) {
        return what + "a second run chose differently";
    }
    return std::string();
}

}

std::string CheckImageLoader(const uint8_t* data, size_t size, const std::string& scratchFolder)
{
    Image image;
    std::string reason;
    const ImageLoad loaded = LoadImageFromMemory(data, size, image, reason, fuzzMaxSide);
    if (loaded == ImageLoad::Missing) {
        return "bytes in memory cannot be missing";
    }
    if (loaded == ImageLoad::Unreadable) {
        if (!KnownReason(reason) || !image.rgba.empty()) {
            return "a refused image gave the reason \"" + reason + "\" and " + std::to_string(image.rgba.size()) +
                   " bytes of pixels";
        }
    } else if (image.width < 1 || image.height < 1 || image.width > fuzzMaxSide || image.height > fuzzMaxSide ||
               image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) {
        return "a decoded image of " + SizeText(image.width, image.height) + " holds " +
               std::to_string(image.rgba.size()) + " bytes";
    }

    uint32_t sum = 0;
    for (size_t k = 0; k < size; ++k) {
        sum += data[k];
    }
    if (!scratchFolder.empty() && sum % 16 == 0 && !IsSizeRefusal(reason)) {
        const std::string path = scratchFolder + "/fuzz-image";
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), std::streamsize(size));
        Image fromFile;
        std::string fileReason;
        const ImageLoad fileLoaded = LoadImage(path, fromFile, fileReason);
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        if (fileLoaded != loaded || fileReason != reason || fromFile.width != image.width ||
            fromFile.height != image.height || fromFile.rgba != image.rgba) {
            return "the file gave another result than its bytes in memory";
        }
    }
    if (loaded == ImageLoad::Ok && image.width <= 256 && image.height <= 256) {
        const int choice = int(sum / 16 % 10);
        const std::optional<TextureFormat> forced =
            choice == 9 ? std::nullopt : std::optional<TextureFormat>(TextureFormat(choice));
        return CheckConversion(image, forced, sum / 160 % 2 == 1, sum / 320 % 2 == 1);
    }
    return std::string();
}

std::string CheckTexture(const uint8_t* data, size_t size)
{
    // Header: width and height (2 bytes each, 1 to 128), format (9 and up: automatic), flags, colour count; then
    // the pixels.
    const auto byte = [&](size_t k) { return k < size ? data[k] : uint8_t(0); };
    const int width = 1 + (byte(0) | byte(1) << 8) % 128;
    const int height = 1 + (byte(2) | byte(3) << 8) % 128;
    const std::optional<TextureFormat> forced =
        byte(4) % 10 == 9 ? std::nullopt : std::optional<TextureFormat>(TextureFormat(byte(4) % 10));
    const uint8_t flags = byte(5);
    const bool clampS = flags & 1, clampT = flags & 2, grey = flags & 4, few = flags & 8;
    const size_t colours = 1 + byte(6) % 24;
    const size_t header = 7;

    Image image;
    image.width = width;
    image.height = height;
    image.rgba.resize(size_t(width) * size_t(height) * 4);
    const size_t pixelBytes = size > header ? size - header : 0;
    for (size_t k = 0; k < image.rgba.size(); ++k) {
        // Few colours: each pixel repeats one of the first ones.
        const size_t source = few ? (k / 4 % colours) * 4 + k % 4 : k;
        image.rgba[k] = pixelBytes == 0 ? 0 : data[header + source % pixelBytes];
    }
    if (grey) {
        for (size_t k = 0; k < image.rgba.size(); k += 4) {
            image.rgba[k + 1] = image.rgba[k + 2] = image.rgba[k];
        }
    }
    const std::string broken = CheckConversion(image, forced, clampS, clampT);
    return broken.empty() && !forced ? CheckChooser(image, clampS, clampT) : broken;
}

namespace {

// Reads bytes in order; zeros past the end.
class ByteReader {
public:
    ByteReader(const uint8_t* bytes, size_t count) : data(bytes), size(count) {}
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    double Double()
    {
        // Mostly small coordinates; a raw bit pattern (NaN, infinities, huge values) when the first byte says so.
        const uint8_t kind = Byte();
        if (kind >= 240) {
            uint64_t bits = 0;
            for (int k = 0; k < 8; ++k) {
                bits = bits << 8 | Byte();
            }
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        return (double(int(Byte()) - 128) * 4.0 + double(Byte()) / 64.0) * (kind % 4 == 0 ? 16.0 : 1.0);
    }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

double CrossArea(const CutVertex& a, const CutVertex& b, const CutVertex& c)
{
    return (b.st[0] - a.st[0]) * (c.st[1] - a.st[1]) - (b.st[1] - a.st[1]) * (c.st[0] - a.st[0]);
}

// The positions of the pieces' corners: all of them, or those on the edge from corner 0 to corner 1 (told by
// value 8 being 0 there, and 1 at corner 2).
std::vector<std::array<double, 3>> PiecePositions(const std::vector<CutPiece>& pieces, bool edgeOnly)
{
    std::vector<std::array<double, 3>> points;
    for (const CutPiece& piece : pieces) {
        for (const CutVertex& v : piece.corners) {
            if (!edgeOnly || v.values[8] == 0.0) {
                points.push_back({v.values[0], v.values[1], v.values[2]});
            }
        }
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

// A second triangle on the far side of the first's edge from corner 0 to corner 1, with the same positions there
// but its own texture coordinates (a seam): cut with each other's points, both sides meet at the same positions.
std::string CheckSeam(ByteReader& in, const CutVertex corners[3], const CutGrid& grid)
{
    CutVertex near[3], far[3];
    for (int c = 0; c < 3; ++c) {
        near[c] = corners[c];
        near[c].values[8] = c == 2 ? 1.0 : 0.0;
    }
    far[0] = near[1];
    far[1] = near[0];
    far[2] = near[2];
    for (CutVertex& corner : far) {
        corner.st[0] = in.Double();
        corner.st[1] = in.Double();
    }
    far[2].values[0] += 1.0;
    // Texture coordinates as a model gives them, floats, which keeps the cutting's products clear of underflow.
    for (CutVertex* side : {near, far}) {
        for (int c = 0; c < 3; ++c) {
            for (double& st : side[c].st) {
                st = std::fabs(st) < 1e30 ? double(float(st)) : st;
            }
        }
    }
    if (!CanCutTriangle(near, grid) || !CanCutTriangle(far, grid)) {
        return "";
    }
    // The shared edge's points from both sides, from corner 0 of the first.
    std::vector<double> at;
    EdgeCrossings(near[0], near[1], grid, at);
    EdgeCrossings(far[1], far[0], grid, at);
    std::sort(at.begin(), at.end());
    CutEdges nearEdges, farEdges;
    nearEdges.at[0] = farEdges.at[0] = at.data();
    nearEdges.count[0] = farEdges.count[0] = at.size();
    farEdges.reversed[0] = true;
    std::vector<CutPiece> nearPieces, farPieces;
    if (!CutTriangle(near, grid, nearPieces, &nearEdges) || !CutTriangle(far, grid, farPieces, &farEdges)) {
        return "a triangle that can be cut was not";
    }
    // Every point one side has on the edge is a corner of the other's pieces too (a point a hair's breadth past
    // the edge in texture space may stand in for it, with the very same position).
    using Points = std::vector<std::array<double, 3>>;
    const auto within = [](const Points& part, const Points& all) {
        return std::includes(all.begin(), all.end(), part.begin(), part.end());
    };
    if (!within(PiecePositions(nearPieces, true), PiecePositions(farPieces, false)) ||
        !within(PiecePositions(farPieces, true), PiecePositions(nearPieces, false))) {
        return "the two sides of a seam do not meet at the same points";
    }
    // The far side not cut at all (another material), only split at the edge's points, meets the near side too.
    std::vector<CutPiece> uncut;
    SplitAtEdgePoints(far, farEdges, uncut);
    if (!within(PiecePositions(nearPieces, true), PiecePositions(uncut, false)) ||
        !within(PiecePositions(uncut, true), PiecePositions(nearPieces, false))) {
        return "a triangle that is not cut does not meet its cut neighbour at the same points";
    }
    return "";
}

}

std::string CheckCutting(const uint8_t* data, size_t size)
{
    ByteReader in(data, size);
    const TextureFormat formats[] = {TextureFormat::RGBA16, TextureFormat::RGBA32, TextureFormat::CI4,
                                     TextureFormat::CI8, TextureFormat::I4, TextureFormat::IA8};
    const TextureFormat format = formats[in.Byte() % 6];
    const int width = 1 + in.Byte() * 4, height = 1 + in.Byte() * 4;
    const TileGrid tiles = ChooseTileGrid(format, width, height);
    if (tiles.columns > 0) {
        if (!FitsTmem(format, tiles.width + 2, tiles.height + 2) ||
            int64_t(tiles.columns) * tiles.width < width || int64_t(tiles.rows) * tiles.height < height ||
            int64_t(tiles.columns - 1) * tiles.width >= width || int64_t(tiles.rows - 1) * tiles.height >= height ||
            (TexelBits(format) == 4 && tiles.width % 2 != 0)) {
            return "tile grid " + std::to_string(tiles.columns) + "x" + std::to_string(tiles.rows) + " of " +
                   std::to_string(tiles.width) + "x" + std::to_string(tiles.height) + " does not suit the image";
        }
    } else if (width <= maxTiledSide && height <= maxTiledSide) {
        return "no tile grid for an image that can be tiled";
    }

    CutGrid grid;
    for (int axis = 0; axis < 2; ++axis) {
        grid.count[axis] = 1 + in.Byte() % 8;
        grid.pitch[axis] = 1 + in.Byte() % 64;
        grid.period[axis] = in.Byte() % 2 == 0 ? 0.0 : grid.pitch[axis] * grid.count[axis] - in.Byte() % 2;
    }
    CutVertex corners[3];
    for (CutVertex& corner : corners) {
        corner.st[0] = in.Double();
        corner.st[1] = in.Double();
        for (double& value : corner.values) {
            value = in.Byte();
        }
    }
    std::vector<CutPiece> pieces;
    if (!CutTriangle(corners, grid, pieces)) {
        return pieces.empty() ? "" : "a triangle that was not cut left pieces";
    }
    double area = 0.0, triangleArea = 0.0, extent = 0.0;
    CutVertex finite[3];
    for (int c = 0; c < 3; ++c) {
        finite[c] = corners[c];
        for (double& st : finite[c].st) {
            st = std::isfinite(st) ? st : 0.0;
            extent = std::max(extent, std::fabs(st));
        }
    }
    triangleArea = std::fabs(CrossArea(finite[0], finite[1], finite[2]));
    for (const CutPiece& piece : pieces) {
        if (piece.tile >= uint32_t(grid.count[0] * grid.count[1])) {
            return "piece in tile " + std::to_string(piece.tile) + ", which does not exist";
        }
        const int cell[2] = {int(piece.tile) % grid.count[0], int(piece.tile) / grid.count[0]};
        for (const CutVertex& corner : piece.corners) {
            for (int axis = 0; axis < 2; ++axis) {
                const double st = corner.st[axis], slack = 1e-6 * std::max(1.0, extent);
                if (!std::isfinite(st)) {
                    return "piece with a coordinate that is not finite";
                }
                const bool first = cell[axis] == 0, last = cell[axis] == grid.count[axis] - 1;
                const bool clamped = grid.period[axis] == 0.0;
                const double low = cell[axis] * grid.pitch[axis];
                const double high = last && !clamped ? grid.period[axis] : low + grid.pitch[axis];
                if ((!(clamped && first) && st < low - slack) || (!(clamped && last) && st > high + slack)) {
                    return "piece corner outside its tile's cell";
                }
            }
        }
        area += std::fabs(CrossArea(piece.corners[0], piece.corners[1], piece.corners[2]));
    }
    if (std::fabs(area - triangleArea) > 1e-6 * std::max(1.0, extent * extent)) {
        return "pieces cover " + std::to_string(area) + " of the triangle's " + std::to_string(triangleArea);
    }
    return CheckSeam(in, corners, grid);
}
