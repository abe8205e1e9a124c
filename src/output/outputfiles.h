#ifndef POLVANE_OUTPUTFILES_H
#define POLVANE_OUTPUTFILES_H

#include <string>

// An output is first written to its path followed by this suffix, and moved onto its path once complete.
extern const char* const temporarySuffix;
// An earlier output waits under its path followed by this suffix until the new one is in place.
extern const char* const backupSuffix;

// Moves path + temporarySuffix onto path, or removes it when path already holds the same bytes (path then keeps
// its modification time). Returns path when it could not be written (the temporary is removed), or "".
std::string ReplaceTarget(const std::string& path);

// Moves headerPath + temporarySuffix and sourcePath + temporarySuffix onto their paths, except a target marked
// unchanged (it already holds its output, and no temporary was written: it keeps its file and its time, so what
// depends on it is not rebuilt). Returns the path that could not be written, or an empty string. When either move
// fails, both paths hold what they held before.
std::string ReplaceTargets(const std::string& headerPath, const std::string& sourcePath, const bool unchanged[2]);

// True when both paths name one file: the same file where both exist (same device and inode, or the platform's
// file id), the same place in the same folder where neither does.
bool SameFile(const std::string& a, const std::string& b);

// True when both are regular files with the same bytes.
bool SameContent(const std::string& a, const std::string& b);

// Removes a file if it is there.
void RemoveFile(const std::string& path);

#endif
