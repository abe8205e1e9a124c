#include "model/assetpaths.h"

#include <filesystem>
#include <system_error>

#include "model/numberscan.h"

namespace {

struct Word {
    size_t begin;
    size_t end;
};

std::vector<Word> WordsOf(const std::string& text)
{
    std::vector<Word> words;
    size_t p = 0;
    while (p < text.size()) {
        while (p < text.size() && IsBlank(text[p])) {
            ++p;
        }
        const size_t begin = p;
        while (p < text.size() && !IsBlank(text[p])) {
            ++p;
        }
        if (p != begin) {
            words.push_back(Word{begin, p});
        }
    }
    return words;
}

// Past this many words only single words are tried: each run tried costs a look at the file system.
constexpr size_t longestJoinedLine = 32;

}

std::string FolderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

std::string NormalizeSeparators(const std::string& name)
{
    std::string result;
    result.reserve(name.size());
    for (size_t p = 0; p < name.size(); ++p) {
        if (name[p] != '\\') {
            result += name[p];
        } else if (p == 0 || name[p - 1] != '\\') {
            result += '/';
        }
    }
    return result;
}

bool IsAbsolutePath(const std::string& name)
{
    if (!name.empty() && (name[0] == '/' || name[0] == '\\')) {
        return true;
    }
    const bool driveLetter = name.size() >= 3 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')) &&
                             name[1] == ':';
    return driveLetter && (name[2] == '/' || name[2] == '\\');
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || IsAbsolutePath(name)) {
        return name;
    }
    const char last = folder.back();
    return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

bool IsRegularFile(const std::string& path)
{
    std::error_code ignored;
    return !path.empty() && std::filesystem::is_regular_file(std::filesystem::path(path), ignored);
}

std::vector<std::string> MaterialLibraryNames(const std::string& rest, const std::string& objFolder)
{
    const std::string text = rest.substr(0, rest.find('#'));
    const std::vector<Word> words = WordsOf(text);
    std::vector<std::string> names;
    for (size_t first = 0; first < words.size();) {
        // The name is words first..last, the longest run that names a file, or the single word.
        size_t last = words.size() > longestJoinedLine ? first + 1 : words.size();
        AssetPath found;
        do {
            --last;
            const std::string joined = text.substr(words[first].begin, words[last].end - words[first].begin);
            // A run's bare file name counts only when it holds the whole run: otherwise "a/x.mtl b/y.mtl" would
            // be one name when y.mtl lies beside the OBJ.
            const size_t separator = joined.find_last_of("/\\");
            if (last == first || separator == std::string::npos ||
                separator < words[first].end - words[first].begin) {
                found = ResolveAssetPath(joined, objFolder, objFolder);
            } else {
                found.path = JoinPath(objFolder, NormalizeSeparators(joined));
                found.found = IsRegularFile(found.path);
            }
        } while (!found.found && last > first);
        names.push_back(found.path);
        first = last + 1;
    }
    return names;
}

AssetPath ResolveAssetPath(const std::string& name, const std::string& libraryFolder, const std::string& objFolder)
{
    const std::string normalized = NormalizeSeparators(name);
    const size_t slash = normalized.rfind('/');
    const std::string bare = slash == std::string::npos ? normalized : normalized.substr(slash + 1);
    std::vector<std::string> candidates = {JoinPath(libraryFolder, normalized), JoinPath(objFolder, normalized)};
    if (!bare.empty()) {
        candidates.push_back(JoinPath(libraryFolder, bare));
        candidates.push_back(JoinPath(objFolder, bare));
    }
    for (const std::string& candidate : candidates) {
        if (IsRegularFile(candidate)) {
            return AssetPath{candidate, true};
        }
    }
    return AssetPath{candidates.front(), false};
}
