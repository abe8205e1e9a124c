#include "output/outputfiles.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

const char* const temporarySuffix = ".polvane-tmp";
const char* const backupSuffix = ".polvane-old";

void RemoveFile(const std::string& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

// Earlier outputs are first moved aside and only removed once both new files are in place, so a failure
// puts them back as they were. (Moving a new file onto an existing one would also make the file system write the
// new file out at once, which costs a large model more time than the whole conversion.)
std::string ReplaceTargets(const std::string& headerPath, const std::string& sourcePath)
{
    const std::string targets[2] = {headerPath, sourcePath};
    bool movedAside[2] = {false, false};
    std::string failed;
    std::error_code error;
    for (int i = 0; i < 2 && failed.empty(); ++i) {
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
