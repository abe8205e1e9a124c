#ifndef POLVANE_DEPFILE_H
#define POLVANE_DEPFILE_H

#include <string>
#include <vector>

#include "textsink.h"

// One file a run reads or writes, and what it is to the run ("the model", "a texture the model reads", ...).
struct RunFile {
    std::string path;
    std::string role;
};

// Checks a file that only an option asks for (the preview, the dependency file) before anything is written: it
// must not be a folder, nor any file of files (compared as files, not as strings). False after one line on
// errors naming the file and why.
bool CheckExtraOutput(const std::string& what, const std::string& path, const std::vector<RunFile>& files,
                      TextSink& errors);

// path written for a Make rule: spaces and "#" behind a backslash, "$" doubled.
std::string MakeEscaped(const std::string& path);

// A Make rule with targets and prerequisites, and an empty rule per prerequisite so that make does not stop when
// one of them goes away (as "gcc -MMD -MP" writes).
std::string DependencyRule(const std::vector<std::string>& targets, const std::vector<std::string>& prerequisites);

// Writes the rule to path through a temporary file, with path itself among the targets. Unlike the C files it is
// replaced on every run, even when unchanged: its time tells make when the model was last converted, so that a
// Makefile can use it as the stamp of the conversion. False after one line on errors.
bool WriteDependencyFile(const std::string& path, const std::vector<std::string>& targets,
                         const std::vector<std::string>& prerequisites, TextSink& errors);

#endif
