#ifndef POLVANE_OUTPUTNAMES_H
#define POLVANE_OUTPUTNAMES_H

#include <string>

// Where the output of one model goes and what its C names start with.
struct OutputNames {
    std::string headerPath;      // the output folder, name or the model's file name without extension, ".h"
    std::string sourcePath;      // likewise with ".c"
    std::string headerFileName;  // headerPath without its folder: what the source includes
    std::string identifier;      // prefix of the generated C names and the include guard
};

// The files are named after name, or when it is empty after the model's file name without its extension.
// The extension is the last "." of the file name and what follows it. The outputs go into outputDir, or when it
// is empty into the model's folder (up to the last "/" or "\" of objPath, as it is written). The identifier is
// name, or when it is empty the file name without extension with every byte other than an ASCII letter, digit
// or "_" replaced by "_", and "_" put in front when it would start with a digit.
OutputNames DeriveOutputNames(const std::string& objPath, const std::string& outputDir = std::string(),
                              const std::string& name = std::string());

#endif
