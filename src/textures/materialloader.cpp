#include "textures/materialloader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "cidentifier.h"
#include "diagnostics.h"
#include "model/assetpaths.h"
#include "model/mtlfile.h"
#include "model/objgroups.h"
#include "textures/alphameaning.h"
#include "textures/image.h"
#include "textures/textureconvert.h"
#include "textures/texturechooser.h"
#include "textures/texturefit.h"
#include "textures/texturescore.h"
#include "textures/tilegrid.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string FileStem(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Reads one map of a material. Ok with the image; Missing after a warning; false after an error.
enum class MapOutcome { Ok, Missing, Failed };

class MaterialLoader {
public:
    MaterialLoader(const ObjFile& model, const std::string& path, const ConversionSettings& conversion,
                   TextSink& warningStream, TextSink& errorStream, MaterialFiles& read)
        : groups(*model.GetGroups()), objPath(path), objFolder(FolderOf(path)),
          settings(conversion), warnings(warningStream), errors(errorStream), files(read)
    {
    }

    bool Load(std::vector<MaterialLook>& looks, std::vector<TexturePlan>& textures);

private:
    bool ReadLibraries();
    MapOutcome ReadMap(const MaterialDefinition& material, const std::string& name, uint64_t line, Image& image,
                       std::string& path);
    bool LookOf(const MaterialDefinition& material, MaterialLook& look, std::vector<TexturePlan>& textures);
    void WarnAboutUndefined(size_t materialIndex);
    bool ConvertTiled(const Image& image, TextureFormat format, bool clamp, const std::string& fileName,
                      TexturePlan& texture, std::vector<std::string>& lines);
    void NoteIgnoredOptions(const MaterialDefinition& material);

    const ObjGroups& groups;
    const std::string objPath;
    const std::string objFolder;
    const ConversionSettings& settings;
    TextSink& warnings;
    TextSink& errors;
    MaterialFiles& files;
    bool warnedGreyFormat = false;
    MaterialLibrary library;
    std::set<std::string> warnedMissing;
    // Textures already converted, by file, opacity map and clamping.
    std::map<std::tuple<std::string, std::string, bool, bool>, int> textureOf;
    std::set<std::string> textureNames;
    // Map options the console cannot honour, each once, and where the first was read.
    std::vector<std::string> ignoredOptions;
    std::string ignoredOptionsLibrary;
    uint64_t ignoredOptionsLine = 0;
};

bool MaterialLoader::ReadLibraries()
{
    for (const ObjGroups::Library& line : groups.libraries) {
        for (const std::string& path : MaterialLibraryNames(line.names, objFolder)) {
            switch (ReadMaterialLibraryFile(path, library, errors)) {
            case LibraryFileOutcome::Read:
                if (std::find(files.libraries.begin(), files.libraries.end(), path) == files.libraries.end()) {
                    files.libraries.push_back(path);
                }
                break;
            case LibraryFileOutcome::Missing:
                warnings << WarningAt(objPath, line.line) << "material library " << Quoted(path)
                         << " is missing; its materials are drawn in white\n";
                break;
            case LibraryFileOutcome::Rejected:
                return false;
            }
        }
    }
    return true;
}

MapOutcome MaterialLoader::ReadMap(const MaterialDefinition& material, const std::string& name, uint64_t line,
                                   Image& image, std::string& path)
{
    const AssetPath found = ResolveAssetPath(name, FolderOf(material.library), objFolder);
    path = found.path;
    std::string reason;
    const ImageLoad outcome = found.found ? LoadImage(found.path, image, reason) : ImageLoad::Missing;
    if (outcome == ImageLoad::Unreadable) {
        errors << material.library << ":" << line << ": texture " << Quoted(found.path) << " " << reason << "\n";
        return MapOutcome::Failed;
    }
    if (outcome == ImageLoad::Missing) {
        if (warnedMissing.insert(found.path).second) {
            warnings << WarningAt(material.library, line) << "texture " << Quoted(name)
                     << " is missing; material " << Quoted(material.name) << " is drawn without it\n";
        }
        return MapOutcome::Missing;
    }
    if (std::find(files.images.begin(), files.images.end(), found.path) == files.images.end()) {
        files.images.push_back(found.path);
    }
    return MapOutcome::Ok;
}

// The opacity map's brightness becomes the alpha of the colour image (or of a plain image of the diffuse colour).
void ApplyOpacityMap(Image& colour, const Image& opacity, const uint8_t diffuse[3])
{
    if (colour.rgba.empty()) {
        colour.width = opacity.width;
        colour.height = opacity.height;
        colour.rgba.assign(size_t(opacity.width) * size_t(opacity.height) * 4, 255);
        for (size_t i = 0; i < colour.rgba.size(); i += 4) {
            std::copy(diffuse, diffuse + 3, colour.rgba.begin() + long(i));
        }
    }
    const Image scaled = opacity.width == colour.width && opacity.height == colour.height
                             ? opacity
                             : ResizeImage(opacity, colour.width, colour.height);
    for (size_t i = 0; i + 3 < colour.rgba.size() && i + 3 < scaled.rgba.size(); i += 4) {
        const unsigned brightness = Luminance(scaled.rgba[i], scaled.rgba[i + 1], scaled.rgba[i + 2]);
        colour.rgba[i + 3] = uint8_t((unsigned(colour.rgba[i + 3]) * brightness + 127) / 255);
    }
}

// With --texture-max, an image that one load would reduce keeps up to that many texels a side, in the format
// one load takes, and is drawn in tiles. False when it stays a single load (no budget, or it fits one anyway).
bool MaterialLoader::ConvertTiled(const Image& image, TextureFormat format, bool clamp, const std::string& fileName,
                                  TexturePlan& texture, std::vector<std::string>& lines)
{
    if (settings.textureMax <= 0) {
        return false;
    }
    TextureChoice choice;
    std::string error;
    // Sized as a clamped texture is, keeping the image's shape and its own size up to the budget: the cutting does
    // the wrapping, so a wrapping texture in tiles needs no power-of-two size.
    if (!ChooseTexture(image, format, true, true, fileName, choice, error, settings.textureMax)) {
        return false;
    }
    choice.width = std::min(choice.width, maxTiledSide);
    choice.height = std::min(choice.height, maxTiledSide);
    if (FitsTmem(choice.format, choice.width, choice.height)) {
        return false;
    }
    const TileGrid grid = ChooseTileGrid(choice.format, choice.width, choice.height);
    if (grid.columns <= 0) {
        return false;
    }
    // Resized and quantised as the single load's chooser does it: an area average when reducing, a smooth kernel
    // when a side grows; the image's own colours as the palette when they fit, else a palette fitted to the texels.
    const bool reducing = choice.width <= image.width && choice.height <= image.height;
    const Image framed = FramedImage(ResizeImage(image, choice.width, choice.height, !clamp, !clamp,
                                                 reducing ? ResizeFilter::Box : ResizeFilter::Smooth),
                                     clamp, clamp);
    TextureChoice framedChoice = choice;
    framedChoice.width = framed.width;
    framedChoice.height = framed.height;
    std::string quantised;
    ConvertResizedTexture(image, CountRgba5551Colours(image), framed, framedChoice, clamp, clamp, fileName, texture,
                          quantised);
    texture.maskS = texture.maskT = 0;
    texture.loadAsTile = true;
    texture.tiles = grid;
    // Scored as the single load is: the whole texture as drawn, without its frame, against the image.
    const double measured = TextureError(texture, image, 1);
    texture.psnr = measured < 0.0 ? -1.0 : Psnr(measured);
    const std::string kept = std::to_string(choice.width) + "x" + std::to_string(choice.height);
    const std::string tiles = std::to_string(grid.columns * grid.rows) + " tiles of " +
                              std::to_string(grid.width) + "x" + std::to_string(grid.height);
    if (image.width != choice.width || image.height != choice.height) {
        const bool smaller = int64_t(choice.width) * choice.height < int64_t(image.width) * image.height;
        lines.push_back(WarningAt(fileName) + (smaller ? "reduced from " : "resized from ") +
                        std::to_string(image.width) + "x" + std::to_string(image.height) + " to " + kept + " as " +
                        TextureFormatName(choice.format) +
                        (texture.psnr < 0.0 ? std::string() : " (PSNR " + PsnrText(texture.psnr) + ")") +
                        ", drawn in " + tiles + " (--texture-max " + std::to_string(settings.textureMax) + ")");
    }
    if (!quantised.empty()) {
        lines.push_back(quantised);
    }
    return true;
}

void MaterialLoader::NoteIgnoredOptions(const MaterialDefinition& material)
{
    for (const std::string& option : material.ignoredMapOptions) {
        if (std::find(ignoredOptions.begin(), ignoredOptions.end(), option) == ignoredOptions.end()) {
            ignoredOptions.push_back(option);
        }
        if (ignoredOptionsLine == 0) {
            ignoredOptionsLibrary = material.library;
            ignoredOptionsLine = material.ignoredMapOptionsLine;
        }
    }
}

bool MaterialLoader::LookOf(const MaterialDefinition& material, MaterialLook& look, std::vector<TexturePlan>& textures)
{
    if (material.hasDiffuse) {
        for (int c = 0; c < 3; ++c) {
            look.diffuse[c] = LinearToDisplayByte(material.diffuse[c]);
        }
    }
    const float opacity = std::isfinite(material.opacity) ? std::min(1.0f, std::max(0.0f, material.opacity)) : 1.0f;
    look.opacity = uint8_t(std::lround(opacity * 255.0f));
    if (look.opacity == 0 && material.transmissionLine != 0) {
        // A model that draws nothing is never what was meant: MeshLab, for one, writes "Tr 1" for opaque.
        look.opacity = 255;
        warnings << WarningAt(material.library, material.transmissionLine) << "material " << Quoted(material.name)
                 << " would be fully transparent by \"Tr\" with no \"d\"; drawn opaque, since some exporters write"
                    " Tr as opacity\n";
    }
    if (look.opacity == 0) {
        warnings << WarningAt(material.library, material.line) << "material " << Quoted(material.name)
                 << " is fully transparent (d 0 or Tr 1) and draws nothing visible\n";
    }

    Image image;
    Image opacityImage;
    std::string imagePath;
    std::string opacityPath;
    bool hasImage = false;
    bool hasOpacity = false;
    if (!material.diffuseMap.empty()) {
        const MapOutcome outcome = ReadMap(material, material.diffuseMap, material.diffuseMapLine, image, imagePath);
        if (outcome == MapOutcome::Failed) {
            return false;
        }
        hasImage = outcome == MapOutcome::Ok;
    }
    if (!material.opacityMap.empty()) {
        const MapOutcome outcome =
            ReadMap(material, material.opacityMap, material.opacityMapLine, opacityImage, opacityPath);
        if (outcome == MapOutcome::Failed) {
            return false;
        }
        hasOpacity = outcome == MapOutcome::Ok;
    }
    if (hasImage || hasOpacity) {
        const MapTransform& transform = hasImage ? material.diffuseTransform : material.opacityTransform;
        std::copy(transform.scale, transform.scale + 2, look.mapScale);
        std::copy(transform.offset, transform.offset + 2, look.mapOffset);
        NoteIgnoredOptions(material);
        const bool clamp = material.clampDiffuse;
        // Without a colour image the texture is made of the diffuse colour, which is then part of what it is.
        const std::string colour = hasImage ? imagePath
                                            : std::to_string(look.diffuse[0]) + " " + std::to_string(look.diffuse[1]) +
                                                  " " + std::to_string(look.diffuse[2]);
        const auto key = std::make_tuple(colour, opacityPath, clamp, hasImage);
        const auto known = textureOf.find(key);
        if (known != textureOf.end()) {
            look.texture = known->second;
        } else {
            if (hasOpacity) {
                ApplyOpacityMap(image, opacityImage, look.diffuse);
            }
            const std::string fileName = hasImage ? imagePath : opacityPath;
            ChosenTexture chosen;
            std::string error;
            const uint64_t line = hasImage ? material.diffuseMapLine : material.opacityMapLine;
            if (!ChooseAndConvertTexture(image, settings.textureFormat, clamp, clamp, fileName, chosen, error)) {
                errors << material.library << ":" << line << ": " << error << "\n";
                return false;
            }
            if (settings.textureMax > 0) {
                // The automatic choice draws the image as its alpha means it; so do the tiles. Their lines tell
                // what they keep instead of the single load's.
                const bool automatic = !settings.textureFormat;
                const AlphaReading alpha = automatic ? ReadAlpha(image) : AlphaReading();
                TexturePlan tiled;
                std::vector<std::string> lines;
                if (ConvertTiled(automatic ? ApplyAlphaMeaning(image, alpha.meaning) : image, chosen.plan.format,
                                 clamp, fileName, tiled, lines)) {
                    chosen.warnings.clear();
                    if (automatic && !AlphaWarning(alpha, fileName).empty()) {
                        chosen.warnings.push_back(AlphaWarning(alpha, fileName));
                    }
                    chosen.warnings.insert(chosen.warnings.end(), lines.begin(), lines.end());
                    chosen.psnr = tiled.psnr;
                    chosen.plan = std::move(tiled);
                }
            }
            for (const std::string& warning : chosen.warnings) {
                warnings << warning << "\n";
            }
            if (settings.textureFormat && IsGreyFormat(*settings.textureFormat) && !IsGrey(image) &&
                !warnedGreyFormat) {
                warnedGreyFormat = true;
                warnings << WarningAt(fileName) << "--texture-format " << TextureFormatName(*settings.textureFormat)
                         << " keeps only the brightness of this colour texture (and of any other)\n";
            }
            TexturePlan texture = std::move(chosen.plan);
            texture.psnr = chosen.psnr;
            std::string name = IdentifierPart(FileStem(fileName));
            for (int n = 2; !textureNames.insert(name).second; ++n) {
                name = IdentifierPart(FileStem(fileName)) + "_" + std::to_string(n);
            }
            texture.name = name;
            textures.push_back(std::move(texture));
            look.texture = int(textures.size() - 1);
            textureOf.emplace(key, look.texture);
        }
    }
    if (look.texture >= 0) {
        switch (AlphaOf(textures[size_t(look.texture)])) {
        case TextureAlpha::Cutout:
            look.renderMode = RenderMode::Cutout;
            break;
        case TextureAlpha::Translucent:
            look.renderMode = RenderMode::Translucent;
            break;
        default:
            break;
        }
    }
    if (look.opacity < 255) {
        look.renderMode = RenderMode::Translucent;
    }
    return true;
}

bool MaterialLoader::Load(std::vector<MaterialLook>& looks, std::vector<TexturePlan>& textures)
{
    if (!ReadLibraries()) {
        return false;
    }
    looks.clear();
    textures.clear();
    for (size_t i = 0; i < groups.materialNames.size(); ++i) {
        MaterialLook look;
        look.name = groups.materialNames[i];
        const MaterialDefinition* material = FindMaterial(library, look.name);
        if (!material) {
            WarnAboutUndefined(i);
        } else if (!LookOf(*material, look, textures)) {
            return false;
        }
        looks.push_back(look);
    }
    if (!ignoredOptions.empty()) {
        warnings << WarningAt(ignoredOptionsLibrary, ignoredOptionsLine) << "texture option"
                 << (ignoredOptions.size() == 1 ? " " : "s ");
        for (size_t k = 0; k < ignoredOptions.size(); ++k) {
            warnings << (k == 0 ? "" : ", ") << ignoredOptions[k];
        }
        warnings << (ignoredOptions.size() == 1 ? " has" : " have")
                 << " no equivalent on the console and " << (ignoredOptions.size() == 1 ? "is" : "are") << " ignored\n";
    }
    return true;
}

void MaterialLoader::WarnAboutUndefined(size_t materialIndex)
{
    const std::string& name = groups.materialNames[materialIndex];
    const uint64_t line = materialIndex < groups.materialLines.size() ? groups.materialLines[materialIndex] : 0;
    std::vector<std::string> defined;
    for (const MaterialDefinition& material : library.materials) {
        defined.push_back(material.name);
    }
    if (name.empty()) {
        // Faces before any "usemtl" are only worth a word when there were materials to choose from.
        if (!defined.empty()) {
            warnings << WarningAt(objPath, line) << "faces before the first \"usemtl\" are drawn in white";
            if (defined.size() == 1) {
                warnings << "; put \"usemtl " << defined[0] << "\" before them to draw them in " << Quoted(defined[0]);
            }
            warnings << "\n";
        }
        return;
    }
    warnings << WarningAt(objPath, line) << "material " << Quoted(name) << " is not defined";
    if (files.libraries.empty()) {
        warnings << " (no material library was read)";
    } else {
        warnings << " in ";
        for (size_t i = 0; i < files.libraries.size(); ++i) {
            warnings << (i == 0 ? "" : i + 1 == files.libraries.size() ? " or " : ", ") << Quoted(files.libraries[i]);
        }
    }
    warnings << "; it is drawn in white";
    const std::string closest = ClosestName(name, defined);
    if (!closest.empty()) {
        warnings << "; did you mean " << Quoted(closest) << "?";
    }
    warnings << "\n";
}

}

uint8_t LinearToDisplayByte(float linear)
{
    const double c = std::isfinite(linear) ? std::min(1.0, std::max(0.0, double(linear))) : 0.0;
    const double display = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
    return uint8_t(std::lround(display * 255.0));
}

bool LoadMaterials(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                   TextSink& warnings, TextSink& errors, std::vector<MaterialLook>& looks,
                   std::vector<TexturePlan>& textures, MaterialFiles* files)
{
    MaterialFiles ignored;
    MaterialLoader loader(objFile, objPath, settings, warnings, errors, files ? *files : ignored);
    return loader.Load(looks, textures);
}

std::string ClosestName(const std::string& name, const std::vector<std::string>& defined)
{
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](char c) { return char(std::tolower(uint8_t(c))); });
        return text;
    };
    const std::string wanted = lower(name);
    std::string best;
    size_t bestDistance = 3;
    for (const std::string& candidate : defined) {
        // Edit distance between the lower-case names, row by row.
        const std::string other = lower(candidate);
        std::vector<size_t> row(other.size() + 1);
        for (size_t j = 0; j <= other.size(); ++j) {
            row[j] = j;
        }
        for (size_t i = 1; i <= wanted.size(); ++i) {
            size_t diagonal = row[0];
            row[0] = i;
            for (size_t j = 1; j <= other.size(); ++j) {
                const size_t above = row[j];
                row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (wanted[i - 1] == other[j - 1] ? 0 : 1)});
                diagonal = above;
            }
        }
        const size_t distance = row[other.size()];
        if (distance < bestDistance && (distance == 0 || distance * 2 < wanted.size())) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}
