#include "output/outputnames.h"

namespace {

bool IsIdentifierByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The folder with a separator at its end, in the style it is written in.
std::string AsFolderPrefix(const std::string& folder)
{
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') {
        return folder;
    }
    const bool backslashes = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
    return folder + (backslashes ? '\\' : '/');
}

}

OutputNames DeriveOutputNames(const std::string& objPath, const std::string& outputDir, const std::string& name)
{
    const size_t separator = objPath.find_last_of("/\\");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = objPath.find_last_of('.');
    const size_t nameEnd = (dot == std::string::npos || dot < nameStart) ? objPath.size() : dot;

    const std::string folder = outputDir.empty() ? objPath.substr(0, nameStart) : AsFolderPrefix(outputDir);
    // --name names the files as well as the C names.
    const std::string stem = name.empty() ? objPath.substr(nameStart, nameEnd - nameStart) : name;

    OutputNames names;
    names.headerFileName = stem + ".h";
    names.headerPath = folder + names.headerFileName;
    names.sourcePath = folder + stem + ".c";
    if (!name.empty()) {
        names.identifier = name;
        return names;
    }
    if (!stem.empty() && IsDigit(stem[0])) {
        names.identifier = "_";
    }
    names.identifier += IdentifierPart(stem);
    return names;
}

std::string IdentifierPart(const std::string& text)
{
    std::string part = text;
    for (char& c : part) {
        c = IsIdentifierByte(c) ? c : '_';
    }
    return part;
}

bool IsIdentifier(const std::string& text)
{
    if (text.empty() || IsDigit(text[0])) {
        return false;
    }
    for (char c : text) {
        if (!IsIdentifierByte(c)) {
            return false;
        }
    }
    return true;
}

bool MakesReservedNames(const std::string& identifier)
{
    const std::string guard = identifier + "_H";
    return guard[0] == '_' && (guard[1] == '_' || (guard[1] >= 'A' && guard[1] <= 'Z'));
}
