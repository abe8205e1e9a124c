#include "model/mtlfile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <system_error>
#include <unordered_map>

#include "cfile.h"
#include "model/linetokens.h"
#include "model/numberscan.h"

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Keywords, option names and switch values are compared without regard to case ("map_kd", "-Clamp ON").
bool Is(const Span& token, const char* text)
{
    const size_t length = std::strlen(text);
    if (size_t(token.end - token.begin) != length) {
        return false;
    }
    for (size_t k = 0; k < length; ++k) {
        if (Lower(token.begin[k]) != Lower(text[k])) {
            return false;
        }
    }
    return true;
}

// A token as it is quoted in a message: long ones are cut short.
std::string Quoted(const Span& token)
{
    constexpr size_t longest = 40;
    if (size_t(token.end - token.begin) > longest) {
        return "\"" + std::string(token.begin, token.begin + longest) + "...\"";
    }
    return "\"" + std::string(token.begin, token.end) + "\"";
}

std::string Counted(int count, const char* one, const char* many)
{
    return std::to_string(count) + (count == 1 ? one : many);
}

enum class NumberForm { Number, NotNumber, TooLarge };

// The whole token must be one number.
NumberForm ReadNumber(const Span& token, float& value)
{
    const char* cursor = token.begin;
    const ScanResult result = ScanFloat(cursor, token.end, value);
    if (result == ScanResult::OutOfRange) {
        return NumberForm::TooLarge;
    }
    return result == ScanResult::Ok && cursor == token.end ? NumberForm::Number : NumberForm::NotNumber;
}

enum class OptionKind { Numbers, Switch, Word };

struct MapOption {
    const char* name;
    OptionKind kind;
    int least;
    int most;
};

const MapOption mapOptions[] = {
    {"-s", OptionKind::Numbers, 1, 3},      {"-o", OptionKind::Numbers, 1, 3},
    {"-t", OptionKind::Numbers, 1, 3},      {"-mm", OptionKind::Numbers, 2, 2},
    {"-bm", OptionKind::Numbers, 1, 1},     {"-boost", OptionKind::Numbers, 1, 1},
    {"-texres", OptionKind::Numbers, 1, 1}, {"-clamp", OptionKind::Switch, 0, 0},
    {"-blendu", OptionKind::Switch, 0, 0},  {"-blendv", OptionKind::Switch, 0, 0},
    {"-cc", OptionKind::Switch, 0, 0},      {"-imfchan", OptionKind::Word, 0, 0},
    {"-type", OptionKind::Word, 0, 0},
};

// What a "map_" line says: its file name, whether "-clamp on" was given, its scale and offset, and the options
// that are read but not honoured.
struct MapLine {
    std::string file;
    bool clamp = false;
    MapTransform transform;
    std::vector<std::string> ignored;
};

class MtlReader {
public:
    bool Read(const std::string& text);

    std::vector<MaterialDefinition> materials;
    uint64_t line = 0;
    std::string error;

private:
    bool ReadLine(const char* begin, const char* end);
    bool ReadValues(const char*& cursor, const char* end, int most, float* values, int& found);
    bool ReadColour(const char* cursor, const char* end);
    bool ReadOpacity(const char* keyword, const char* cursor, const char* end);
    bool ReadMap(const char* keyword, const char* cursor, const char* end, MapLine& map);
    bool ReadOption(const MapOption& option, const char*& cursor, const char* end, MapLine& map);
    bool Fail(const std::string& what);
};

bool MtlReader::Fail(const std::string& what)
{
    error = what;
    return false;
}

// Lines end at LF, CR LF or a lone CR.
bool MtlReader::Read(const std::string& text)
{
    const char* cursor = text.data();
    const char* const end = cursor + text.size();
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        cursor += 3;
    }
    while (cursor != end) {
        const char* lineEnd = cursor;
        while (lineEnd != end && *lineEnd != '\n' && *lineEnd != '\r') {
            ++lineEnd;
        }
        ++line;
        if (!ReadLine(cursor, lineEnd)) {
            return false;
        }
        cursor = lineEnd;
        if (cursor != end) {
            const bool carriageReturn = *cursor == '\r';
            ++cursor;
            if (carriageReturn && cursor != end && *cursor == '\n') {
                ++cursor;
            }
        }
    }
    return true;
}

// "#" starts a comment anywhere on a line, as in the OBJ file, so no name read here can hold one.
bool MtlReader::ReadLine(const char* begin, const char* end)
{
    if (std::memchr(begin, '\0', size_t(end - begin))) {
        return Fail("the line holds a NUL byte; a material library is text");
    }
    if (const void* comment = std::memchr(begin, '#', size_t(end - begin))) {
        end = static_cast<const char*>(comment);
    }
    const char* cursor = begin;
    const Span keyword = NextToken(cursor, end);
    if (Is(keyword, "newmtl")) {
        const Span name = Trimmed(cursor, end);
        materials.emplace_back();
        materials.back().name.assign(name.begin, name.end);
        materials.back().line = line;
        return true;
    }
    // Values before the first "newmtl" belong to no material: they are not read.
    if (materials.empty()) {
        return true;
    }
    MaterialDefinition& material = materials.back();
    if (Is(keyword, "Kd")) {
        return ReadColour(cursor, end);
    }
    if (Is(keyword, "d") || Is(keyword, "Tr")) {
        return ReadOpacity(Is(keyword, "d") ? "d" : "Tr", cursor, end);
    }
    if (Is(keyword, "map_Kd") || Is(keyword, "map_d")) {
        const bool diffuse = Is(keyword, "map_Kd");
        MapLine map;
        if (!ReadMap(diffuse ? "map_Kd" : "map_d", cursor, end, map)) {
            return false;
        }
        if (diffuse) {
            material.diffuseMap = map.file;
            material.clampDiffuse = map.clamp;
            material.diffuseTransform = map.transform;
            material.diffuseMapLine = line;
        } else {
            material.opacityMap = map.file;
            material.opacityTransform = map.transform;
            material.opacityMapLine = line;
        }
        for (const std::string& option : map.ignored) {
            std::vector<std::string>& ignored = material.ignoredMapOptions;
            if (std::find(ignored.begin(), ignored.end(), option) == ignored.end()) {
                ignored.push_back(option);
                material.ignoredMapOptionsLine =
                    material.ignoredMapOptionsLine == 0 ? line : material.ignoredMapOptionsLine;
            }
        }
    }
    return true;
}

// Reads numbers while tokens are numbers, up to `most`; `found` says how many. A token that is not a number is
// left unread. Only a number beyond the float range is a fault here.
bool MtlReader::ReadValues(const char*& cursor, const char* end, int most, float* values, int& found)
{
    for (found = 0; found < most; ++found) {
        const char* start = cursor;
        const Span token = NextToken(cursor, end);
        const NumberForm form = token.Empty() ? NumberForm::NotNumber : ReadNumber(token, values[found]);
        if (form == NumberForm::TooLarge) {
            return Fail("number " + Quoted(token) + " is too large for a float");
        }
        if (form == NumberForm::NotNumber) {
            cursor = start;
            return true;
        }
    }
    return true;
}

// "Kd r g b", or one value for a grey. "Kd spectral file" and "Kd xyz x y z" describe colours the console has
// no use for: those lines are skipped. What follows the third number is ignored.
bool MtlReader::ReadColour(const char* cursor, const char* end)
{
    const char* start = cursor;
    const Span first = NextToken(start, end);
    if (Is(first, "spectral") || Is(first, "xyz")) {
        return true;
    }
    float values[3] = {0.0f, 0.0f, 0.0f};
    int found = 0;
    if (!ReadValues(cursor, end, 3, values, found)) {
        return false;
    }
    const Span next = NextToken(cursor, end);
    if (found < 3 && !next.Empty()) {
        return Fail("\"Kd\" needs 1 or 3 numbers, found " + Quoted(next));
    }
    if (found != 1 && found != 3) {
        return Fail("\"Kd\" needs 1 or 3 numbers, found " + std::to_string(found));
    }
    MaterialDefinition& material = materials.back();
    material.hasDiffuse = true;
    for (int k = 0; k < 3; ++k) {
        material.diffuse[k] = values[found == 1 ? 0 : k];
    }
    return true;
}

// "d x" (with an optional "-halo" before it) or "Tr x" (1 - x). What follows the number is ignored.
bool MtlReader::ReadOpacity(const char* keyword, const char* cursor, const char* end)
{
    const char* start = cursor;
    if (keyword[0] == 'd' && Is(NextToken(start, end), "-halo")) {
        cursor = start;
    }
    const Span token = NextToken(cursor, end);
    float value = 0.0f;
    const NumberForm form = token.Empty() ? NumberForm::NotNumber : ReadNumber(token, value);
    if (form == NumberForm::TooLarge) {
        return Fail("number " + Quoted(token) + " is too large for a float");
    }
    if (form == NumberForm::NotNumber) {
        return Fail(std::string("\"") + keyword + "\" needs 1 number, found " + (token.Empty() ? "0" : Quoted(token)));
    }
    // Exporters that write both often mean something else by "Tr" (3ds Max writes "d 1" with "Tr 1" for an opaque
    // material), so "d" wins wherever it is given.
    MaterialDefinition& material = materials.back();
    if (keyword[0] == 'd') {
        material.opacity = value;
        material.hasDissolve = true;
    } else if (!material.hasDissolve) {
        material.opacity = 1.0f - value;
        material.transmissionLine = line;
    }
    return true;
}

// "map_Kd [options] file": the options come first; the file name is the rest of the line and may hold spaces.
bool MtlReader::ReadMap(const char* keyword, const char* cursor, const char* end, MapLine& map)
{
    for (;;) {
        const char* start = cursor;
        const Span token = NextToken(cursor, end);
        if (token.Empty() || *token.begin != '-' || token.end - token.begin < 2) {
            cursor = start;
            break;
        }
        const MapOption* option = nullptr;
        for (const MapOption& candidate : mapOptions) {
            if (Is(token, candidate.name)) {
                option = &candidate;
            }
        }
        if (!option) {
            return Fail(std::string("\"") + keyword + "\" has no option " + Quoted(token));
        }
        if (!ReadOption(*option, cursor, end, map)) {
            return false;
        }
    }
    const Span file = Trimmed(cursor, end);
    if (file.Empty()) {
        return Fail(std::string("\"") + keyword + "\" names no file");
    }
    map.file.assign(file.begin, file.end);
    return true;
}

bool MtlReader::ReadOption(const MapOption& option, const char*& cursor, const char* end, MapLine& map)
{
    const std::string name = std::string("option \"") + option.name + "\"";
    if (option.kind == OptionKind::Numbers) {
        float values[3] = {0.0f, 0.0f, 0.0f};
        int found = 0;
        if (!ReadValues(cursor, end, option.most, values, found)) {
            return false;
        }
        if (found < option.least) {
            const std::string needs = option.least == option.most ? Counted(option.least, " number", " numbers")
                                                                   : "1 to 3 numbers";
            return Fail(name + " needs " + needs + ", found " + std::to_string(found));
        }
        if (std::strcmp(option.name, "-s") == 0) {
            map.transform.scale[0] = values[0];
            map.transform.scale[1] = found > 1 ? values[1] : 1.0f;
        } else if (std::strcmp(option.name, "-o") == 0) {
            map.transform.offset[0] = values[0];
            map.transform.offset[1] = found > 1 ? values[1] : 0.0f;
        } else {
            map.ignored.push_back(option.name);
        }
        return true;
    }
    if (std::strcmp(option.name, "-clamp") != 0) {
        map.ignored.push_back(option.name);
    }
    const Span value = NextToken(cursor, end);
    if (option.kind == OptionKind::Word) {
        return value.Empty() ? Fail(name + " needs a value, found nothing") : true;
    }
    if (!Is(value, "on") && !Is(value, "off")) {
        return Fail(name + " needs on or off, found " + (value.Empty() ? std::string("nothing") : Quoted(value)));
    }
    if (std::strcmp(option.name, "-clamp") == 0) {
        map.clamp = Is(value, "on");
    }
    return true;
}

}

namespace {

// Reads the library's text into library; false, after one line on errors, on a fault.
bool AddMaterials(const std::string& text, const std::string& path, MaterialLibrary& library, TextSink& errors)
{
    MtlReader reader;
    if (!reader.Read(text)) {
        errors << path << ":" << reader.line << ": " << reader.error << "\n";
        return false;
    }
    std::unordered_map<std::string, size_t> index;
    for (size_t k = 0; k < library.materials.size(); ++k) {
        index.emplace(library.materials[k].name, k);
    }
    for (MaterialDefinition& material : reader.materials) {
        material.library = path;
        const auto known = index.find(material.name);
        if (known != index.end()) {
            library.materials[known->second] = std::move(material);
        } else {
            index.emplace(material.name, library.materials.size());
            library.materials.push_back(std::move(material));
        }
    }
    return true;
}

}

bool ParseMaterialLibrary(std::istream& in, const std::string& path, MaterialLibrary& library, TextSink& errors)
{
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        errors << path << ": cannot be read\n";
        return false;
    }
    return AddMaterials(text, path, library, errors);
}

LibraryFileOutcome ReadMaterialLibraryFile(const std::string& path, MaterialLibrary& library, TextSink& errors)
{
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::file_status status = fs::status(fs::path(path), code);
    if (status.type() == fs::file_type::not_found || path.empty()) {
        return LibraryFileOutcome::Missing;
    }
    if (status.type() == fs::file_type::directory) {
        errors << path << ": is a folder, not a material library\n";
        return LibraryFileOutcome::Rejected;
    }
    if (status.type() == fs::file_type::none) {
        errors << path << ": cannot be opened for reading\n";
        return LibraryFileOutcome::Rejected;
    }
    if (status.type() != fs::file_type::regular) {
        errors << path << ": is not a regular file, so not a material library\n";
        return LibraryFileOutcome::Rejected;
    }
    std::FILE* file = OpenUnbuffered(path, "rb");
    if (!file) {
        errors << path << ": cannot be opened for reading\n";
        return LibraryFileOutcome::Rejected;
    }
    std::string text;
    const bool failed = ReadRest(file, text) != WholeRead::Read;
    std::fclose(file);
    if (failed) {
        errors << path << ": cannot be read\n";
        return LibraryFileOutcome::Rejected;
    }
    return AddMaterials(text, path, library, errors) ? LibraryFileOutcome::Read : LibraryFileOutcome::Rejected;
}

const MaterialDefinition* FindMaterial(const MaterialLibrary& library, const std::string& name)
{
    for (const MaterialDefinition& material : library.materials) {
        if (material.name == name) {
            return &material;
        }
    }
    return nullptr;
}
