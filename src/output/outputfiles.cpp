#include "output/outputfiles.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cfile.h"

namespace fs = std::filesystem;

const char* const temporarySuffix = ".polvane-tmp";
const char* const backupSuffix = ".polvane-old";

void RemoveFile(const std::string& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (a == b) {
        return true;
    }
    const bool aExists = fs::exists(a, error);
    const bool bExists = fs::exists(b, error);
    if (aExists && bExists) {
        return fs::equivalent(a, b, error) && !error;
    }
    if (aExists != bExists) {
        return false;
    }
    // Neither is there yet: the same place when the paths lead there through the same folders.
    const fs::path aPlace = fs::weakly_canonical(fs::absolute(a, error), error);
    const fs::path bPlace = fs::weakly_canonical(fs::absolute(b, error), error);
    return !error && aPlace.lexically_normal() == bPlace.lexically_normal();
}

bool SameContent(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (!fs::is_regular_file(a, error) || !fs::is_regular_file(b, error) ||
        fs::file_size(a, error) != fs::file_size(b, error) || error) {
        return false;
    }
    std::FILE* first = OpenUnbuffered(a, "rb");
    std::FILE* second = first ? OpenUnbuffered(b, "rb") : nullptr;
    // Small blocks: each page of them costs a trap on first touch, more than the extra reads of a large file.
    char blockA[16384];
    char blockB[16384];
    bool same = second != nullptr;
    while (same) {
        const size_t gotA = std::fread(blockA, 1, sizeof blockA, first);
        const size_t gotB = std::fread(blockB, 1, sizeof blockB, second);
        same = gotA == gotB && std::memcmp(blockA, blockB, gotA) == 0;
        if (gotA < sizeof blockA) {
            same = same && std::feof(first) && std::feof(second) && !std::ferror(first) && !std::ferror(second);
            break;
        }
    }
    if (second) {
        std::fclose(second);
    }
    if (first) {
        std::fclose(first);
    }
    return same;
}

std::string ReplaceTarget(const std::string& path)
{
    const std::string temporary = path + temporarySuffix;
    if (SameContent(temporary, path)) {
        RemoveFile(temporary);
        return std::string();
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        RemoveFile(temporary);
        return path;
    }
    return std::string();
}

// Earlier outputs are first moved aside and only removed once both new files are in place, so a failure
// puts them back as they were. (Moving a new file onto an existing one would also make the file system write the
// new file out at once, which costs a large model more time than the whole conversion.)
std::string ReplaceTargets(const std::string& headerPath, const std::string& sourcePath, const bool unchanged[2])
{
    const std::string targets[2] = {headerPath, sourcePath};
    bool movedAside[2] = {false, false};
    std::string failed;
    std::error_code error;
    for (int i = 0; i < 2 && failed.empty(); ++i) {
        if (unchanged[i]) {
            continue;
        }
        if (fs::exists(targets[i], error)) {
            fs::rename(targets[i], targets[i] + backupSuffix, error);
            movedAside[i] = !error;
            if (error) {
                failed = targets[i];
            }
        }
    }
    bool placed[2] = {false, false};
    for (int i = 0; i < 2 && failed.empty(); ++i) {
        if (unchanged[i]) {
            continue;
        }
        fs::rename(targets[i] + temporarySuffix, targets[i], error);
        placed[i] = !error;
        if (error) {
            failed = targets[i];
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (!failed.empty() && placed[i]) {
            RemoveFile(targets[i]);
        }
        if (movedAside[i]) {
            if (failed.empty()) {
                RemoveFile(targets[i] + backupSuffix);
            } else {
                fs::rename(targets[i] + backupSuffix, targets[i], error);
            }
        }
    }
    return failed;
}
