#include "model/objfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include "cfile.h"
#include "check.h"
#include "diagnostics.h"
#include "model/linetokens.h"
#include "model/numberscan.h"
#include "model/objgroups.h"
#include "model/weldmap.h"

ObjAttribute::ObjAttribute(const std::string& token) : ObjAttribute()
{
    CornerNumbers numbers;
    const CornerFault fault = ReadCorner(token.data(), token.data() + token.size(), numbers);
    if (fault != CornerFault::NoVertex && fault != CornerFault::TooLarge) {
        vertexIndex = int32_t(int64_t(numbers.vertex) - 1);
    }
    if (numbers.hasTexCoord) {
        texCoordIndex = int32_t(int64_t(numbers.texCoord) - 1);
    }
    if (numbers.hasNormal) {
        normalIndex = int32_t(int64_t(numbers.normal) - 1);
    }
}

bool ObjAttribute::operator<(const ObjAttribute& other) const
{
    if (vertexIndex != other.vertexIndex) {
        return vertexIndex < other.vertexIndex;
    }
    if (texCoordIndex != other.texCoordIndex) {
        return texCoordIndex < other.texCoordIndex;
    }
    return normalIndex < other.normalIndex;
}

namespace {

// Reads a whole token of the forms "v", "v/t" and "v/t/n" made of numbers and single slashes alone, the forms
// exporters write. False when the token is anything else; numbers is then to be read again from the start.
bool ReadPlainCorner(const char* p, const char* end, CornerNumbers& numbers)
{
    if (ScanInt(p, end, numbers.vertex) != ScanResult::Ok) {
        return false;
    }
    if (p == end) {
        return true;
    }
    if (*p != '/' || end - p < 2 || p[1] == '/') {
        return false;
    }
    ++p;
    if (ScanInt(p, end, numbers.texCoord) != ScanResult::Ok) {
        return false;
    }
    numbers.hasTexCoord = true;
    if (p == end) {
        return true;
    }
    if (*p != '/') {
        return false;
    }
    ++p;
    if (ScanInt(p, end, numbers.normal) != ScanResult::Ok) {
        return false;
    }
    numbers.hasNormal = true;
    return p == end;
}

}

CornerFault ReadCorner(const char* begin, const char* end, CornerNumbers& numbers)
{
    numbers = CornerNumbers();
    if (ReadPlainCorner(begin, end, numbers)) {
        return CornerFault::None;
    }
    numbers = CornerNumbers();
    const char* p = begin;
    ScanResult result = ScanInt(p, end, numbers.vertex);
    if (result != ScanResult::Ok) {
        return result == ScanResult::OutOfRange ? CornerFault::TooLarge : CornerFault::NoVertex;
    }
    const char* doubleSlash = nullptr;
    for (const char* q = begin; q + 1 < end; ++q) {
        if (q[0] == '/' && q[1] == '/') {
            doubleSlash = q;
            break;
        }
    }
    if (doubleSlash) {
        if (end - p < 2 || p[0] != '/' || p[1] != '/') {
            return CornerFault::NoNormal;
        }
        p += 2;
        result = ScanInt(p, end, numbers.normal);
        if (result != ScanResult::Ok) {
            return result == ScanResult::OutOfRange ? CornerFault::TooLarge : CornerFault::NoNormal;
        }
        numbers.hasNormal = true;
        return CornerFault::None;
    }
    if (std::memchr(begin, '/', size_t(end - begin)) == nullptr) {
        return CornerFault::None;
    }
    if (p == end || *p != '/') {
        return CornerFault::NoTexCoord;
    }
    ++p;
    result = ScanInt(p, end, numbers.texCoord);
    if (result != ScanResult::Ok) {
        return result == ScanResult::OutOfRange ? CornerFault::TooLarge : CornerFault::NoTexCoord;
    }
    numbers.hasTexCoord = true;
    if (p != end && *p == '/') {
        ++p;
        result = ScanInt(p, end, numbers.normal);
        if (result == ScanResult::OutOfRange) {
            return CornerFault::TooLarge;
        }
        numbers.hasNormal = (result == ScanResult::Ok);
    }
    return CornerFault::None;
}

// Where the reader takes its pieces from.
class ObjSource {
public:
    virtual ~ObjSource() = default;
    // The bytes left to read; 0 when the source cannot tell.
    virtual uint64_t BytesLeft() = 0;
    // Reads up to size bytes into `into`; fewer only at the end (or on a read error, which ends the text too).
    virtual size_t Read(char* into, size_t size) = 0;
};

namespace {

enum RecordKind { positionKind, texCoordKind, normalKind, kindCount };

const char* const recordKeyword[kindCount] = {"v", "vt", "vn"};
const char* const referenceName[kindCount] = {"position", "texture", "normal"};

// A reference whose validity is only known once the whole file has been read: a forward reference, or a
// relative one that reaches before the first record of its kind.
struct PendingReference {
    uint64_t line;
    int32_t written;
    uint32_t countBefore;
    RecordKind kind;
    bool relative;
};

// A token as it is quoted in a message: long ones are cut short.
std::string Quoted(const char* begin, const char* end)
{
    constexpr size_t longest = 40;
    if (size_t(end - begin) > longest) {
        return "\"" + std::string(begin, begin + longest) + "...\"";
    }
    return "\"" + std::string(begin, end) + "\"";
}

// The rest of a line without the white space around it.
std::string Rest(const char* cursor, const char* end)
{
    const Span rest = Trimmed(cursor, end);
    return std::string(rest.begin, rest.end);
}

uint32_t IndexOf(std::vector<std::string>& names, const std::string& name)
{
    const auto found = std::find(names.begin(), names.end(), name);
    if (found != names.end()) {
        return uint32_t(found - names.begin());
    }
    names.push_back(name);
    return uint32_t(names.size() - 1);
}

// Reads the OBJ text once, collecting the records, fanning faces into triangles and welding their corners.
class ObjReader {
public:
    bool Read(ObjSource& in, size_t pieceSize);

    std::vector<Vector3D> positions;
    std::vector<Vector2D> texCoords;
    std::vector<Vector3D> normals;
    std::vector<uint32_t> corners;
    WeldMap weldMap;
    ObjGroups* groups = nullptr;  // set to read materials, parts and vertex colours too
    bool quick = true;            // common records read by ReadCommonLine

    uint64_t errorLine = 0;
    std::string error;

private:
    void ReserveAhead(double scale);
    const char* ReadCommonLine(const char* p, const char* lastLineEnd);
    bool ReadPhysicalLine(const char* begin, const char* end);
    bool ReadLine(const char* begin, const char* end);
    bool ReadNumbers(const char* keyword, const char* cursor, const char* end, float* values, int required,
                     int wanted);
    bool ReadFace(const char* cursor, const char* end);
    bool ReadGroupRecord(const Span& keyword, const char* cursor, const char* end);
    bool ReadColouredPosition(const char* cursor, const char* end);
    bool ReadFaceCorner(const Span& token, uint32_t& vertexNumber);
    uint32_t WeldCorner(const CornerNumbers& numbers);
    void AddTriangle(uint32_t a, uint32_t b, uint32_t c);
    int32_t Resolve(RecordKind kind, int32_t written);
    bool CheckPendingReferences();
    bool Fail(const std::string& what);
    uint32_t Count(RecordKind kind) const;

    size_t countAtMark[5] = {0, 0, 0, 0, 0};  // array sizes at the last ReserveAhead
    uint64_t physicalLine = 0;
    uint64_t line = 0;  // where the record being read starts
    std::string joined;
    bool joining = false;
    std::vector<PendingReference> pending;
    int32_t largestPending[kindCount] = {0, 0, 0};
    bool relativePending[kindCount] = {false, false, false};
    bool faultPending = false;
    static constexpr uint32_t none = UINT32_MAX;
    uint32_t material = none;
    uint32_t part = none;
    uint32_t faceCount = 0;
};

// Makes room for what the rest of the file will likely add when it is like the part read since the last call,
// scale times as long, so that the arrays are not grown and copied again and again on the way. Each array is
// projected on its own: a file may hold all its positions first and all its faces after.
void ObjReader::ReserveAhead(double scale)
{
    // An array is only moved when it will not hold what is foreseen; then it is given a tenth more.
    const auto reserve = [scale](auto& array, size_t& countBefore) {
        const double foreseen = double(array.size() - countBefore) * scale;
        if (array.capacity() < array.size() + size_t(foreseen)) {
            array.reserve(array.size() + size_t(foreseen * 1.1) + 16);
        }
        countBefore = array.size();
    };
    reserve(positions, countAtMark[0]);
    reserve(texCoords, countAtMark[1]);
    reserve(normals, countAtMark[2]);
    reserve(corners, countAtMark[3]);
    const size_t vertices = weldMap.Size();
    const double foreseen = double(vertices - countAtMark[4]) * scale;
    if (weldMap.Capacity() < vertices + size_t(foreseen)) {
        weldMap.Reserve(vertices + size_t(foreseen * 1.1) + 16);
    }
    countAtMark[4] = vertices;
}

bool ObjReader::Read(ObjSource& in, size_t pieceSize)
{
    const uint64_t fileBytes = in.BytesLeft();
    uint64_t bytesRead = 0;
    uint64_t consumedAtMark = 0;
    // Left uninitialised: only what is read into it is ever touched. A small file is read in one piece of its own
    // size (one more byte shows the end), not a full piece the heap must find room for.
    size_t capacity = pieceSize > 0 ? pieceSize : 1;
    if (fileBytes > 0 && fileBytes < capacity) {
        capacity = size_t(fileBytes) + 1;
    }
    std::unique_ptr<char[]> buffer(new char[capacity]);
    size_t kept = 0;
    bool firstBlock = true;
    for (;;) {
        if (kept == capacity) {
            // One line longer than the buffer: make room for more of it.
            std::unique_ptr<char[]> larger(new char[capacity * 2]);
            std::memcpy(larger.get(), buffer.get(), kept);
            buffer = std::move(larger);
            capacity *= 2;
        }
        const size_t got = in.Read(buffer.get() + kept, capacity - kept);
        const bool atEnd = got < capacity - kept;
        const char* cursor = buffer.get();
        const char* end = cursor + kept + got;
        if (firstBlock) {
            if (end - cursor < 3 && !atEnd) {
                kept = size_t(end - cursor);  // too little yet to tell whether the file starts with a byte-order mark
                continue;
            }
            if (end - cursor >= 3 && std::memcmp(cursor, "\xEF\xBB\xBF", 3) == 0) {
                cursor += 3;
            }
            firstBlock = false;
        }
        // Lines up to the last line feed of the piece can be read quickly.
        const char* lastLineEnd = nullptr;
        for (const char* q = end; q != cursor; --q) {
            if (q[-1] == '\n') {
                lastLineEnd = q - 1;
                break;
            }
        }
        for (;;) {
            if (quick && !joining && lastLineEnd && cursor <= lastLineEnd) {
                if (const char* next = ReadCommonLine(cursor, lastLineEnd)) {
                    cursor = next;
                    continue;
                }
            }
            const char* lineEnd = static_cast<const char*>(std::memchr(cursor, '\n', size_t(end - cursor)));
            if (!lineEnd) {
                break;
            }
            if (!ReadPhysicalLine(cursor, lineEnd)) {
                return false;
            }
            cursor = lineEnd + 1;
        }
        if (atEnd) {
            if (cursor != end && !ReadPhysicalLine(cursor, end)) {
                return false;
            }
            if (joining && !ReadLine(joined.data(), joined.data() + joined.size())) {
                return false;
            }
            break;
        }
        bytesRead += got;
        // What was read lately tells what the rest of the file is like.
        const uint64_t consumed = bytesRead - uint64_t(end - cursor);
        if (fileBytes > bytesRead && consumed - consumedAtMark >= (uint64_t(1) << 16)) {
            ReserveAhead(double(fileBytes - consumed) / double(consumed - consumedAtMark));
            consumedAtMark = consumed;
        }
        kept = size_t(end - cursor);
        std::memmove(buffer.get(), cursor, kept);
    }
    return CheckPendingReferences();
}

namespace {

// The quick reading below runs over text known to hold a line feed ahead, which ends every scan.

// Blank characters within a line.
bool IsSpace(char c)
{
    return c != '\n' && IsBlank(c);
}

const char* SkipSpaces(const char* p)
{
    while (IsSpace(*p)) {
        ++p;
    }
    return p;
}

// Reads count numbers, each written plainly at p or after blanks and followed by white space.
bool ScanPlainFloats(const char*& p, const char* end, float* values, int count)
{
    for (int i = 0; i < count; ++i) {
        p = SkipSpaces(p);
        if (!ScanPlainFloat(p, end, values[i])) {
            return false;
        }
    }
    return true;
}

// A corner number at p: an optional minus sign and up to nine digits.
bool ScanCornerNumber(const char*& p, int32_t& value)
{
    const char* q = p;
    const bool negative = *q == '-';
    q += negative ? 1 : 0;
    const char* digits = q;
    int32_t magnitude = 0;
    for (unsigned digit; (digit = unsigned(uint8_t(*q)) - '0') <= 9; ++q) {
        magnitude = magnitude * 10 + int32_t(digit);
        if (q - digits == 8) {
            if (unsigned(uint8_t(q[1])) - '0' <= 9) {
                return false;
            }
            ++q;
            break;
        }
    }
    if (q == digits) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    p = q;
    return true;
}

// A corner of the forms v, v/t, v/t/n and v//n at p, followed by white space.
bool ScanPlainCorner(const char*& p, CornerNumbers& numbers)
{
    numbers = CornerNumbers();
    if (!ScanCornerNumber(p, numbers.vertex)) {
        return false;
    }
    if (*p == '/') {
        ++p;
        if (*p == '/') {
            ++p;
            if (!ScanCornerNumber(p, numbers.normal)) {
                return false;
            }
            numbers.hasNormal = true;
        } else {
            if (!ScanCornerNumber(p, numbers.texCoord)) {
                return false;
            }
            numbers.hasTexCoord = true;
            if (*p == '/') {
                ++p;
                if (!ScanCornerNumber(p, numbers.normal)) {
                    return false;
                }
                numbers.hasNormal = true;
            }
        }
    }
    return IsBlank(*p);
}

}

// The records exporters write nearly every line of a model with, "v x y z", "vt u v", "vn x y z" and faces of a
// few plain corners, read where they lie, with nothing unusual on the line: no comment, no continuation, numbers
// written plainly. lastLineEnd is a line feed at or after p. Returns where the next line starts, or null, having
// changed nothing, when the line is not of that kind; ReadPhysicalLine reads it then.
const char* ObjReader::ReadCommonLine(const char* p, const char* lastLineEnd)
{
    const char* cursor = p;
    float values[3];
    if (p[0] == 'f') {
        if (!IsSpace(p[1])) {
            return nullptr;
        }
        constexpr int most = 8;
        CornerNumbers numbers[most];
        int count = 0;
        cursor = SkipSpaces(p + 1);
        while (*cursor != '\n') {
            if (count == most || !ScanPlainCorner(cursor, numbers[count])) {
                return nullptr;
            }
            ++count;
            cursor = SkipSpaces(cursor);
        }
        if (count < 3 || corners.size() + size_t(count - 2) * 3 > size_t(std::numeric_limits<int32_t>::max())) {
            return nullptr;
        }
        line = ++physicalLine;
        const uint32_t first = WeldCorner(numbers[0]);
        uint32_t previous = WeldCorner(numbers[1]);
        for (int i = 2; i < count; ++i) {
            const uint32_t vertexNumber = WeldCorner(numbers[i]);
            AddTriangle(first, previous, vertexNumber);
            previous = vertexNumber;
        }
        ++faceCount;
        return cursor + 1;
    }
    if (p[0] != 'v') {
        return nullptr;
    }
    if (IsSpace(p[1])) {
        cursor = p + 1;
        if (!ScanPlainFloats(cursor, lastLineEnd, values, 3)) {
            return nullptr;
        }
        if (groups) {
            // More numbers may be a colour.
            cursor = SkipSpaces(cursor);
            if (*cursor != '\n') {
                return nullptr;
            }
            if (!groups->colours.empty()) {
                groups->colours.emplace_back(1.0f, 1.0f, 1.0f);
            }
        }
        positions.emplace_back(values[0], values[1], values[2]);
    } else if (p[1] == 't' && IsSpace(p[2])) {
        cursor = p + 2;
        if (!ScanPlainFloats(cursor, lastLineEnd, values, 1)) {
            return nullptr;
        }
        cursor = SkipSpaces(cursor);
        values[1] = 0.0f;
        if (*cursor != '\n' && !ScanPlainFloats(cursor, lastLineEnd, values + 1, 1)) {
            return nullptr;
        }
        texCoords.emplace_back(values[0], values[1]);
    } else if (p[1] == 'n' && IsSpace(p[2])) {
        cursor = p + 2;
        if (!ScanPlainFloats(cursor, lastLineEnd, values, 3)) {
            return nullptr;
        }
        normals.push_back(Vector3D(values[0], values[1], values[2]).Normalize());
    } else {
        return nullptr;
    }
    // What follows the numbers is ignored, as ReadNumbers ignores it.
    while (*cursor != '\n') {
        ++cursor;
    }
    line = ++physicalLine;
    return cursor + 1;
}

// A comment runs from "#" to the end of the line. A face whose line ends in a backslash (before any comment)
// continues on the next line. Only faces: a lone backslash could be no corner, so such a face line would be at
// fault anyway, while on other records it is text that reading already ignores.
bool ObjReader::ReadPhysicalLine(const char* begin, const char* end)
{
    ++physicalLine;
    if (const void* comment = std::memchr(begin, '#', size_t(end - begin))) {
        end = static_cast<const char*>(comment);
    }
    const char* last = end;
    while (last != begin && IsBlank(last[-1])) {
        --last;
    }
    bool continues = last != begin && last[-1] == '\\';
    if (continues && !joining) {
        const char* cursor = begin;
        continues = NextToken(cursor, end).Is("f");
    }
    if (!joining && !continues) {
        line = physicalLine;
        return ReadLine(begin, end);
    }
    if (!joining) {
        joining = true;
        line = physicalLine;
        joined.clear();
    }
    joined.append(begin, continues ? last - 1 : end);
    joined += ' ';
    if (continues) {
        return true;
    }
    joining = false;
    return ReadLine(joined.data(), joined.data() + joined.size());
}

bool ObjReader::ReadLine(const char* begin, const char* end)
{
    const char* cursor = begin;
    const Span keyword = NextToken(cursor, end);
    float values[3] = {0.0f, 0.0f, 0.0f};
    if (groups && keyword.Is("v")) {
        return ReadColouredPosition(cursor, end);
    }
    if (keyword.Is("v")) {
        if (!ReadNumbers("v", cursor, end, values, 3, 3)) {
            return false;
        }
        positions.emplace_back(values[0], values[1], values[2]);
    } else if (keyword.Is("vt")) {
        if (!ReadNumbers("vt", cursor, end, values, 1, 2)) {
            return false;
        }
        texCoords.emplace_back(values[0], values[1]);
    } else if (keyword.Is("vn")) {
        if (!ReadNumbers("vn", cursor, end, values, 3, 3)) {
            return false;
        }
        normals.push_back(Vector3D(values[0], values[1], values[2]).Normalize());
    } else if (keyword.Is("f")) {
        return ReadFace(cursor, end);
    } else if (groups) {
        return ReadGroupRecord(keyword, cursor, end);
    }
    return true;
}

// "usemtl NAME" selects a material by the rest of its line; "o NAME" and "g NAME ..." start a part (one without
// a name keeps the current part); "mtllib" names material libraries.
bool ObjReader::ReadGroupRecord(const Span& keyword, const char* cursor, const char* end)
{
    if (keyword.Is("usemtl")) {
        material = IndexOf(groups->materialNames, Rest(cursor, end));
        groups->materialLines.resize(groups->materialNames.size(), line);
    } else if (keyword.Is("o") || keyword.Is("g")) {
        const std::string name = Rest(cursor, end);
        if (!name.empty()) {
            part = IndexOf(groups->partNames, name);
        }
    } else if (keyword.Is("mtllib")) {
        groups->libraries.push_back(ObjGroups::Library{Rest(cursor, end), line});
    }
    return true;
}

// "v x y z" or "v x y z r g b": exporters write a colour of three components from 0 to 1 after the position.
// A fourth number alone is a weight and is ignored.
bool ObjReader::ReadColouredPosition(const char* cursor, const char* end)
{
    float values[6] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f};
    if (!ReadNumbers("v", cursor, end, values, 3, 3)) {
        return false;
    }
    int found = 0;
    while (found < 6 && ScanFloat(cursor, end, values[found]) == ScanResult::Ok) {
        ++found;
    }
    positions.emplace_back(values[0], values[1], values[2]);
    std::vector<Vector3D>& colours = groups->colours;
    if (found == 6 && colours.empty()) {
        colours.resize(positions.size() - 1, Vector3D(1.0f, 1.0f, 1.0f));
    }
    if (found == 6) {
        colours.emplace_back(values[3], values[4], values[5]);
    } else if (!colours.empty()) {
        colours.emplace_back(1.0f, 1.0f, 1.0f);
    }
    return true;
}

// Reads up to `wanted` numbers; fewer than `required` is a fault. What follows the numbers is ignored.
bool ObjReader::ReadNumbers(const char* keyword, const char* cursor, const char* end, float* values, int required,
                            int wanted)
{
    for (int found = 0; found < wanted; ++found) {
        const char* start = cursor;
        const ScanResult result = ScanFloat(cursor, end, values[found]);
        if (result == ScanResult::OutOfRange) {
            Span number = NextToken(start, end);
            return Fail("number " + Quoted(number.begin, number.end) + " is too large for a float");
        }
        if (result == ScanResult::NoNumber) {
            if (found >= required) {
                return true;
            }
            return Fail(std::string("\"") + keyword + "\" needs " + (required == wanted ? "" : "at least ") +
                        std::to_string(required) + (required == 1 ? " number" : " numbers") + ", found " +
                        std::to_string(found));
        }
    }
    return true;
}

bool ObjReader::ReadFace(const char* cursor, const char* end)
{
    uint32_t first = 0;
    uint32_t previous = 0;
    size_t cornerCount = 0;
    for (;;) {
        const Span token = NextToken(cursor, end);
        if (token.begin == token.end) {
            break;
        }
        uint32_t vertexNumber = 0;
        if (!ReadFaceCorner(token, vertexNumber)) {
            return false;
        }
        ++cornerCount;
        if (cornerCount == 1) {
            first = vertexNumber;
        } else if (cornerCount >= 3) {
            AddTriangle(first, previous, vertexNumber);
        }
        previous = vertexNumber;
    }
    if (cornerCount < 3) {
        return Fail("face needs at least 3 corners, found " + std::to_string(cornerCount));
    }
    ++faceCount;
    if (corners.size() > size_t(std::numeric_limits<int32_t>::max())) {
        return Fail("the model has more than 2147483647 face corners");
    }
    return true;
}

// A fan around the first corner keeps the face's winding.
void ObjReader::AddTriangle(uint32_t a, uint32_t b, uint32_t c)
{
    corners.push_back(a);
    corners.push_back(b);
    corners.push_back(c);
    if (groups) {
        if (material == none) {
            material = IndexOf(groups->materialNames, "");
            groups->materialLines.resize(groups->materialNames.size(), line);
        }
        if (part == none) {
            part = IndexOf(groups->partNames, "");
        }
        groups->triangleMaterial.push_back(material);
        groups->trianglePart.push_back(part);
        groups->triangleFace.push_back(faceCount);
    }
}

bool ObjReader::ReadFaceCorner(const Span& token, uint32_t& vertexNumber)
{
    CornerNumbers numbers;
    const CornerFault fault = ReadCorner(token.begin, token.end, numbers);
    if (fault != CornerFault::None) {
        const std::string quoted = "corner " + Quoted(token.begin, token.end);
        switch (fault) {
        case CornerFault::NoVertex:
            return Fail(quoted + " does not start with a position number");
        case CornerFault::NoTexCoord:
            return Fail(quoted + " has no texture number after \"/\"");
        case CornerFault::NoNormal:
            return Fail(quoted + " has no normal number after \"//\"");
        default:
            return Fail(quoted + " has a number that does not fit in 32 bits");
        }
    }
    vertexNumber = WeldCorner(numbers);
    return true;
}

uint32_t ObjReader::WeldCorner(const CornerNumbers& numbers)
{
    // References to records already read are the rule; Resolve judges the rest.
    const auto resolved = [this](RecordKind kind, int32_t written, size_t count) {
        return written > 0 && size_t(written) <= count ? written - 1 : Resolve(kind, written);
    };
    ObjAttribute attribute(resolved(positionKind, numbers.vertex, positions.size()), -1, -1);
    if (numbers.hasTexCoord && numbers.texCoord != 0) {
        attribute.texCoordIndex = resolved(texCoordKind, numbers.texCoord, texCoords.size());
    }
    if (numbers.hasNormal && numbers.normal != 0) {
        attribute.normalIndex = resolved(normalKind, numbers.normal, normals.size());
    }
    return weldMap.Weld(attribute, uint32_t(positions.size()));
}

uint32_t ObjReader::Count(RecordKind kind) const
{
    switch (kind) {
    case positionKind:
        return uint32_t(positions.size());
    case texCoordKind:
        return uint32_t(texCoords.size());
    default:
        return uint32_t(normals.size());
    }
}

// Turns a reference as written into a zero-based index. Positive references count from the first record of
// their kind, negative ones back from the last record read before this line. References that cannot yet be
// judged are kept, in file order, for the check after the whole file has been read.
int32_t ObjReader::Resolve(RecordKind kind, int32_t written)
{
    const uint32_t count = Count(kind);
    if (written > 0) {
        const int32_t index = written - 1;
        // A later, smaller forward reference is in range whenever this one is, so only growing ones are kept.
        if (uint32_t(index) >= count && written > largestPending[kind] && !faultPending) {
            pending.push_back(PendingReference{line, written, count, kind, false});
            largestPending[kind] = written;
        }
        return index;
    }
    const int64_t index = int64_t(count) + written;
    if (written < 0 && index >= 0) {
        return int32_t(index);
    }
    // Reference 0, or one reaching before the first record. Without any record of its kind a texture or normal
    // reference is ignored, so that case is only a fault when such records turn up later in the file.
    if (faultPending) {
        return -1;
    }
    if (kind != positionKind && count == 0) {
        if (!relativePending[kind]) {
            pending.push_back(PendingReference{line, written, count, kind, true});
            relativePending[kind] = true;
        }
        return int32_t(int64_t(written) - 1);
    }
    pending.push_back(PendingReference{line, written, count, kind, written < 0});
    faultPending = true;
    return -1;
}

bool ObjReader::CheckPendingReferences()
{
    for (const PendingReference& reference : pending) {
        const uint32_t count = Count(reference.kind);
        if (reference.kind != positionKind && count == 0) {
            continue;
        }
        const std::string name =
            std::string(referenceName[reference.kind]) + " reference " + std::to_string(reference.written);
        const std::string keyword = std::string("\"") + recordKeyword[reference.kind] + "\"";
        line = reference.line;
        if (reference.written == 0) {
            return Fail(name + " is not valid; references count from 1");
        }
        if (reference.relative) {
            return Fail(name + " reaches before the first " + keyword + " record (" +
                        std::to_string(reference.countBefore) + " read before this line)");
        }
        if (count == 0) {
            return Fail(name + ", but the file has no " + keyword + " records");
        }
        if (uint32_t(reference.written - 1) >= count) {
            return Fail(name + " is outside 1.." + std::to_string(count));
        }
    }
    return true;
}

bool ObjReader::Fail(const std::string& what)
{
    errorLine = line;
    error = what;
    return false;
}

// The record of each vertex, in vertex order, a default one for a vertex without: the records themselves when
// every vertex k has record k (the usual case), else gathered from them. Unless kept, the records are let go.
template <typename Record>
std::vector<Record> VertexRecords(std::vector<Record>& records, const std::vector<ObjAttribute>& keys,
                                  int32_t ObjAttribute::*index, bool keep)
{
    bool inOrder = !keep && keys.size() <= records.size();
    for (size_t k = 0; inOrder && k < keys.size(); ++k) {
        inOrder = keys[k].*index == int32_t(k);
    }
    std::vector<Record> result;
    if (inOrder) {
        records.resize(keys.size());
        result.swap(records);
        return result;
    }
    result.reserve(keys.size());
    for (const ObjAttribute& attribute : keys) {
        result.push_back(attribute.*index >= 0 ? records[size_t(attribute.*index)] : Record());
    }
    if (!keep) {
        std::vector<Record>().swap(records);
    }
    return result;
}

bool IsFinite(const Vector3D& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// A file opened unbuffered, read from its start: the reader's large pieces go straight into its own buffer.
class FileSource : public ObjSource {
public:
    FileSource(std::FILE* opened, uint64_t size) : file(opened), bytes(size) {}
    ~FileSource() override { std::fclose(file); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    uint64_t BytesLeft() override { return bytes; }
    size_t Read(char* into, size_t size) override { return std::fread(into, 1, size, file); }

private:
    std::FILE* file;
    uint64_t bytes;
};

// A stream, read from where it stands.
class StreamSource : public ObjSource {
public:
    explicit StreamSource(std::istream& stream) : in(stream) {}

    uint64_t BytesLeft() override
    {
        const std::streampos start = in.tellg();
        if (start == std::streampos(-1) || !in.seekg(0, std::ios::end)) {
            in.clear();
            return 0;
        }
        const std::streampos stop = in.tellg();
        in.seekg(start);
        return stop > start ? uint64_t(stop - start) : 0;
    }
    size_t Read(char* into, size_t size) override
    {
        in.read(into, std::streamsize(size));
        return size_t(in.gcount());
    }

private:
    std::istream& in;
};

}

ObjFile::ObjFile(const char* path, bool readGroups_) : sourceName(path), readGroups(readGroups_)
{
    std::error_code error;
    std::FILE* file = std::filesystem::is_directory(path, error) ? nullptr : OpenUnbuffered(path, "rb");
    if (!file) {
        ErrorOutput() << "Couldn't open obj file " << path << " for reading\n";
        return;
    }
    // The size of a file that is not a regular one (a pipe, say) is not known, and read as it comes.
    const uintmax_t size = std::filesystem::file_size(path, error);
    FileSource source(file, error ? 0 : uint64_t(size));
    Parse(source, objPieceSize, true);
}

ObjFile::ObjFile(std::istream& in, const std::string& name, bool readGroups_, size_t pieceSize, bool quickRecords)
    : sourceName(name), readGroups(readGroups_)
{
    Parse(in, pieceSize, quickRecords);
}

void ObjFile::ReportError(uint64_t line, const std::string& what) const
{
    ErrorOutput() << sourceName << ":" << line << ": " << what << "\n";
}

void ObjFile::Parse(std::istream& in, size_t pieceSize, bool quickRecords)
{
    StreamSource source(in);
    Parse(source, pieceSize, quickRecords);
}

void ObjFile::Parse(ObjSource& in, size_t pieceSize, bool quickRecords)
{
    Release();
    ObjReader reader;
    reader.quick = quickRecords;
    std::shared_ptr<ObjGroups> readGroupsInto;
    if (readGroups) {
        readGroupsInto = std::make_shared<ObjGroups>();
        reader.groups = readGroupsInto.get();
    }
    if (!reader.Read(in, pieceSize)) {
        ReportError(reader.errorLine, reader.error);
        return;
    }
    const uint32_t vertexCount = reader.weldMap.Size();
    const size_t cornerCount = reader.corners.size();
    if (vertexCount == 0 || cornerCount == 0 || cornerCount % 3 != 0) {
        ErrorOutput() << "Obj file did not have a valid amount of vertices or indices\n";
        return;
    }
    numVertices = int32_t(vertexCount);
    numIndices = int32_t(cornerCount);
    indices = std::move(reader.corners);
    std::vector<ObjAttribute> keys = reader.weldMap.TakeKeys();

    // Each array is made in turn, and the records it came from go as soon as they are not needed.
    const bool keep = bool(readGroupsInto);
    vertices = VertexRecords(reader.positions, keys, &ObjAttribute::vertexIndex, keep);
    bool hasNormals = !reader.normals.empty();
    for (const ObjAttribute& attribute : keys) {
        if (attribute.normalIndex < 0) {
            hasNormals = false;
            break;
        }
    }
    if (hasNormals) {
        normals = VertexRecords(reader.normals, keys, &ObjAttribute::normalIndex, keep);
    }
    if (!reader.texCoords.empty()) {
        texCoords = VertexRecords(reader.texCoords, keys, &ObjAttribute::texCoordIndex, keep);
    }
    if (readGroupsInto) {
        ObjGroups& g = *readGroupsInto;
        if (!g.colours.empty()) {
            g.colours.resize(reader.positions.size(), Vector3D(1.0f, 1.0f, 1.0f));
        }
        g.positions = std::move(reader.positions);
        g.texCoords = std::move(reader.texCoords);
        g.normals = std::move(reader.normals);
        g.corner = std::move(keys);
        groups = std::move(readGroupsInto);
    } else {
        std::vector<Vector3D>().swap(reader.positions);
        std::vector<Vector2D>().swap(reader.texCoords);
        std::vector<Vector3D>().swap(reader.normals);
        std::vector<ObjAttribute>().swap(keys);
    }
    normalsPending = !hasNormals;
}

const Vector3D* ObjFile::GetNormals() const
{
    if (normalsPending) {
        FillNormals();
    }
    return normals.empty() ? nullptr : normals.data();
}

void ObjFile::ComputeNormals()
{
    POLVANE_CHECK(!vertices.empty());
    FillNormals();
}

void ObjFile::FillNormals() const
{
    normalsPending = false;
    normals.assign(size_t(numVertices), Vector3D());
    for (int32_t k = 0; k + 2 < numIndices; k += 3) {
        const Vector3D& a = vertices[indices[k]];
        const Vector3D& b = vertices[indices[k + 1]];
        const Vector3D& c = vertices[indices[k + 2]];
        const Vector3D e1 = a - b;
        const Vector3D e2 = c - b;
        const Vector3D n = e2.Cross(e1).Normalize();
        // A triangle without a direction (no area, a repeated corner) has no unit normal to give.
        if (!IsFinite(n)) {
            continue;
        }
        normals[indices[k]] += n;
        normals[indices[k + 1]] += n;
        normals[indices[k + 2]] += n;
    }
    for (int32_t j = 0; j < numVertices; ++j) {
        const Vector3D n = normals[j].Normalize();
        normals[j] = IsFinite(n) ? n : Vector3D();
    }
}

void ObjFile::Release()
{
    numVertices = 0;
    numIndices = 0;
    std::vector<Vector3D>().swap(vertices);
    std::vector<Vector3D>().swap(normals);
    std::vector<Vector2D>().swap(texCoords);
    std::vector<uint32_t>().swap(indices);
    normalsPending = false;
}
