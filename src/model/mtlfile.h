#ifndef POLVANE_MTLFILE_H
#define POLVANE_MTLFILE_H

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "textsink.h"

// What the options of a "map_" line do to the texture coordinates: u' = u * scale + offset, likewise v.
struct MapTransform {
    float scale[2] = {1.0f, 1.0f};   // "-s u v" (v is 1 when left out)
    float offset[2] = {0.0f, 0.0f};  // "-o u v" (v is 0 when left out)
};

// One material of a material library (.mtl), with only what the converter uses. Values are stored as read,
// never clamped.
struct MaterialDefinition {
    std::string name;  // the rest of the "newmtl" line, trimmed; may hold spaces, may be empty
    std::string library;  // the path of the .mtl it came from, as given to the reader
    bool hasDiffuse = false;
    float diffuse[3] = {1.0f, 1.0f, 1.0f};
    float opacity = 1.0f;  // from "d", or 1 - "Tr" when the material has no "d"
    bool hasDissolve = false;  // a "d" line was read
    uint64_t transmissionLine = 0;  // of the "Tr" line that set opacity; 0 when none did
    std::string diffuseMap;  // as written after the options (backslashes kept); empty when none
    bool clampDiffuse = false;  // "-clamp on" on "map_Kd"
    MapTransform diffuseTransform;
    std::string opacityMap;
    MapTransform opacityTransform;
    // Options of "map_Kd" and "map_d" that the console cannot honour ("-bm", "-mm", ...), as written in the
    // option table, each once, in the order first read; line is where the first was read.
    std::vector<std::string> ignoredMapOptions;
    uint64_t ignoredMapOptionsLine = 0;
    uint64_t line = 0;  // of "newmtl"
    uint64_t diffuseMapLine = 0;
    uint64_t opacityMapLine = 0;
};

// Materials in the order their names were first defined. A name defined again (in the same or a later library)
// is replaced by its later definition, which keeps the earlier one's place.
struct MaterialLibrary {
    std::vector<MaterialDefinition> materials;
};

// Reads material library text and adds its materials to library. On a malformed line, reports the first fault as
// one line "<path>:<line>: <what is wrong>" on errors, leaves library as it was and returns false.
bool ParseMaterialLibrary(std::istream& in, const std::string& path, MaterialLibrary& library, TextSink& errors);

enum class LibraryFileOutcome { Read, Missing, Rejected };

// Reads the library file at path. Missing: nothing exists at path (nothing reported; the caller warns).
// Rejected: a folder, a device or pipe, an unreadable file or a malformed one (one line reported on errors).
LibraryFileOutcome ReadMaterialLibraryFile(const std::string& path, MaterialLibrary& library, TextSink& errors);

// The material of that name, or null.
const MaterialDefinition* FindMaterial(const MaterialLibrary& library, const std::string& name);

#endif
