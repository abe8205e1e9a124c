#include "output/outputnames.h"

#include "cidentifier.h"

namespace {

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
