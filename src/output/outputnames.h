#ifndef POLVANE_OUTPUTNAMES_H
#define POLVANE_OUTPUTNAMES_H

#include <string>

// Where the output of one model goes and what its C names start with.
struct OutputNames {
    std::string headerPath;      // the input's folder, its file name without extension, ".h"
    std::string sourcePath;      // likewise with ".c"
    std::string headerFileName;  // headerPath without its folder: what the source includes
    std::string identifier;      // prefix of the generated C names and the include guard
};

// The extension is the last "." of the file name and what follows it; folders (up to the last "/" or "\")
// stay as they are. The identifier is the file name without extension with every byte other than an ASCII
// letter, digit or "_" replaced by "_", and "_" put in front when it would start with a digit.
OutputNames DeriveOutputNames(const std::string& objPath);

// text with every byte other than an ASCII letter, digit or "_" replaced by "_": a name that can follow a C
// identifier's prefix.
std::string IdentifierPart(const std::string& text);

#endif
