#include "output/outputnames.h"

namespace {

bool IsIdentifierByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}

OutputNames DeriveOutputNames(const std::string& objPath)
{
    const size_t separator = objPath.find_last_of("/\\");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = objPath.find_last_of('.');
    const size_t nameEnd = (dot == std::string::npos || dot < nameStart) ? objPath.size() : dot;

    const std::string folder = objPath.substr(0, nameStart);
    const std::string stem = objPath.substr(nameStart, nameEnd - nameStart);

    OutputNames names;
    names.headerFileName = stem + ".h";
    names.headerPath = folder + names.headerFileName;
    names.sourcePath = folder + stem + ".c";
    if (!stem.empty() && stem[0] >= '0' && stem[0] <= '9') {
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
