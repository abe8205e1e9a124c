#include "csourcewriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "displaylist.h"
#include "outputnames.h"
#include "outputtext.h"
#include "vertexrows.h"

namespace {

namespace fs = std::filesystem;

const char* const temporarySuffix = ".polvane-tmp";
const char* const backupSuffix = ".polvane-old";

class DisplayListText : public DisplayListSink {
public:
    DisplayListText(OutputText& text, const std::string& vertexArrayName) : out(text), vertices(vertexArrayName) {}

    void Load(uint32_t first, uint32_t count, uint32_t slot) override
    {
        out << "    gsSPVertex(&" << vertices << "[" << int64_t(first) << "], " << int64_t(count) << ", "
            << int64_t(slot) << "),\n";
    }
    void Sync() override { out << "    gsDPPipeSync(),\n"; }
    void Triangle(uint32_t slot1, uint32_t slot2, uint32_t slot3) override
    {
        out << "    gsSP1Triangle(" << int64_t(slot1) << ", " << int64_t(slot2) << ", " << int64_t(slot3)
            << ", 0),\n";
    }

private:
    OutputText& out;
    const std::string& vertices;
};

void WriteHeader(OutputText& out, const OutputNames& names)
{
    out << "#ifndef " << names.identifier << "_H\n"
        << "#define " << names.identifier << "_H\n"
        << "\n"
        << "#include \"model.h\"\n"
        << "\n"
        << "extern model " << names.identifier << "Model;\n"
        << "\n"
        << "#endif\n";
}

void WriteSource(OutputText& out, const OutputNames& names, const ObjFile& objFile,
                 const ConversionSettings& settings, std::ostream& progress)
{
    const std::string vertexArray = names.identifier + "Vertices";
    const std::string displayList = names.identifier + "DisplayList";

    out << "#include \"" << names.headerFileName << "\"\n"
        << "\n"
        << "Vtx " << vertexArray << "[] = \n"
        << "{\n";
    if (settings.verbose) {
        progress << "Generating vertices...\n";
    }
    WriteVertexRows(out, objFile, settings);
    out << "};\n"
        << "\n"
        << "Gfx " << displayList << "[] = \n"
        << "{\n";
    if (settings.verbose) {
        progress << "Generating display list...\n";
    }
    DisplayListText rows(out, vertexArray);
    BuildDisplayList(objFile.GetIndices(), objFile.GetNumIndices(), rows);
    // Without an end command the graphics processor would run on past the list.
    out << "    gsSPEndDisplayList(),\n"
        << "};\n"
        << "\n"
        << "model " << names.identifier << "Model = { " << vertexArray << ", " << displayList << " };\n"
        << "\n";
}

// Writes one file through `write`; false when it could not be created or completely written.
template <typename Writer>
bool WriteFile(const std::string& path, Writer write)
{
    std::ofstream file(path, std::ios::out | std::ios::trunc);
    if (!file.is_open()) {
        return false;
    }
    {
        OutputText out(file);
        write(out);
        if (!out.Flush()) {
            return false;
        }
    }
    file.close();
    return !file.fail();
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ignored;
    return a == b || fs::equivalent(a, b, ignored);
}

void Remove(const std::string& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

bool IsFolder(const std::string& path)
{
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

// Moves both finished files over their targets. When the second move fails, the first target gets its
// earlier content back. Returns the target that could not be written, or an empty string.
std::string ReplaceTargets(const std::string& headerPath, const std::string& sourcePath)
{
    std::error_code error;
    const std::string headerBackup = headerPath + backupSuffix;
    const bool hadHeader = fs::exists(headerPath, error);
    if (hadHeader) {
        fs::rename(headerPath, headerBackup, error);
        if (error) {
            return headerPath;
        }
    }
    fs::rename(headerPath + temporarySuffix, headerPath, error);
    if (error) {
        if (hadHeader) {
            fs::rename(headerBackup, headerPath, error);
        }
        return headerPath;
    }
    fs::rename(sourcePath + temporarySuffix, sourcePath, error);
    if (error) {
        Remove(headerPath);
        if (hadHeader) {
            fs::rename(headerBackup, headerPath, error);
        }
        return sourcePath;
    }
    if (hadHeader) {
        Remove(headerBackup);
    }
    return std::string();
}

}

bool WriteCSource(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                  std::ostream& progress, std::ostream& errors)
{
    const OutputNames names = DeriveOutputNames(objPath);
    if (SameFile(objPath, names.headerPath) || SameFile(objPath, names.sourcePath)) {
        errors << "Refusing to overwrite the input file " << objPath << "\n";
        return false;
    }
    const std::string headerTemporary = names.headerPath + temporarySuffix;
    const std::string sourceTemporary = names.sourcePath + temporarySuffix;

    std::string failed;
    if (settings.verbose) {
        progress << "Writing " << names.headerPath << "...\n";
    }
    if (IsFolder(names.headerPath) ||
        !WriteFile(headerTemporary, [&](OutputText& out) { WriteHeader(out, names); })) {
        failed = names.headerPath;
    }
    if (failed.empty()) {
        if (settings.verbose) {
            progress << "Writing " << names.sourcePath << "...\n";
        }
        if (IsFolder(names.sourcePath) || !WriteFile(sourceTemporary, [&](OutputText& out) {
                WriteSource(out, names, objFile, settings, progress);
            })) {
            failed = names.sourcePath;
        }
    }
    if (failed.empty()) {
        failed = ReplaceTargets(names.headerPath, names.sourcePath);
    }
    if (!failed.empty()) {
        Remove(headerTemporary);
        Remove(sourceTemporary);
        errors << "Couldn't write " << failed << "\n";
        return false;
    }
    return true;
}
