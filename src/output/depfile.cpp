#include "output/depfile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "output/outputfiles.h"

bool CheckExtraOutput(const std::string& what, const std::string& path, const std::vector<RunFile>& files,
                      TextSink& errors)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        errors << "Refusing to write the " << what << " to " << path << ": it is a folder\n";
        return false;
    }
    for (const RunFile& file : files) {
        if (SameFile(path, file.path)) {
            errors << "Refusing to write the " << what << " to " << path << ": it is " << file.role << "\n";
            return false;
        }
    }
    return true;
}

std::string MakeEscaped(const std::string& path)
{
    std::string escaped;
    for (const char c : path) {
        if (c == ' ' || c == '#') {
            escaped += '\\';
        } else if (c == '$') {
            escaped += '$';
        }
        escaped += c;
    }
    return escaped;
}

std::string DependencyRule(const std::vector<std::string>& targets, const std::vector<std::string>& prerequisites)
{
    std::string rule;
    for (size_t i = 0; i < targets.size(); ++i) {
        rule += (i == 0 ? "" : " ") + MakeEscaped(targets[i]);
    }
    rule += ":";
    for (const std::string& prerequisite : prerequisites) {
        rule += " \\\n " + MakeEscaped(prerequisite);
    }
    rule += "\n";
    for (const std::string& prerequisite : prerequisites) {
        rule += "\n" + MakeEscaped(prerequisite) + ":\n";
    }
    return rule;
}

bool WriteDependencyFile(const std::string& path, const std::vector<std::string>& targets,
                         const std::vector<std::string>& prerequisites, TextSink& errors)
{
    const std::string temporary = path + temporarySuffix;
    std::vector<std::string> allTargets = targets;
    allTargets.push_back(path);
    bool written = false;
    {
        // A text file: lines end as the platform's text files do.
        if (std::FILE* file = std::fopen(temporary.c_str(), "w")) {
            const std::string rule = DependencyRule(allTargets, prerequisites);
            written = std::fwrite(rule.data(), 1, rule.size(), file) == rule.size();
            written = std::fclose(file) == 0 && written;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (!written || error) {
        RemoveFile(temporary);
        errors << "Couldn't write " << path << "\n";
        return false;
    }
    return true;
}
