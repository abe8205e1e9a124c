#ifndef POLVANE_ASSETPATHS_H
#define POLVANE_ASSETPATHS_H

#include <string>
#include <vector>

// File names written inside model files (mtllib names, texture names): exporters on every system write them,
// so "\" (also doubled) separates folders as "/" does, and a name is relative to the file that names it.

// The folder part of a path as the system reads it ("" for a bare file name).
std::string FolderOf(const std::string& path);

// Every run of backslashes becomes one "/".
std::string NormalizeSeparators(const std::string& name);

// "/..." or a drive letter ("C:/...", "C:\...").
bool IsAbsolutePath(const std::string& name);

// name, if absolute or folder is empty; otherwise folder/name.
std::string JoinPath(const std::string& folder, const std::string& name);

// True for an existing regular file (not a folder, device or pipe), following symbolic links.
bool IsRegularFile(const std::string& path);

// The library paths an "mtllib" line names, each found as ResolveAssetPath finds a map in the OBJ's folder (so a
// library named in a folder but lying beside the OBJ is found there). rest is the text after the keyword ("#"
// starts a comment). Names may hold spaces: from each word on, the longest run of words that names an existing
// file is one name; a word that starts no such run is a name of its own (a missing library).
std::vector<std::string> MaterialLibraryNames(const std::string& rest, const std::string& objFolder);

struct AssetPath {
    std::string path;
    bool found = false;
};

// Finds the file a material's map names. The first regular file of: the name in the library's folder (an
// absolute name as it is), the name in the OBJ's folder, the bare file name in the library's folder, the bare
// file name in the OBJ's folder. When none exists, path is the first candidate and found is false.
AssetPath ResolveAssetPath(const std::string& name, const std::string& libraryFolder, const std::string& objFolder);

#endif
