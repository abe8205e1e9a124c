#ifndef POLVANE_OUTPUTFILES_H
#define POLVANE_OUTPUTFILES_H

#include <string>

// An output is first written to its path followed by this suffix, and moved onto its path once complete.
extern const char* const temporarySuffix;
// An earlier output waits under its path followed by this suffix until the new one is in place.
extern const char* const backupSuffix;

// Moves headerPath + temporarySuffix and sourcePath + temporarySuffix onto their paths; returns the path that
// could not be written, or an empty string. When either move fails, both paths hold what they held before.
std::string ReplaceTargets(const std::string& headerPath, const std::string& sourcePath);

// Removes a file if it is there.
void RemoveFile(const std::string& path);

#endif
