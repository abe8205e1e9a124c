#ifndef POLVANE_TARGETFILE_H
#define POLVANE_TARGETFILE_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "textsink.h"

// The stream of one output file. While its bytes are those of the file already at the target, nothing is written;
// at the first byte that differs the output goes on in target + temporarySuffix, which begins with the bytes that
// matched. An output that would not change is so never written, and its file keeps its time.
// Lines end as text files do on the platform (CR LF on Windows).
class TargetFile : public TextSink {
public:
    explicit TargetFile(const std::string& target);
    ~TargetFile() override;
    TargetFile(const TargetFile&) = delete;
    TargetFile& operator=(const TargetFile&) = delete;

    // Ends the output; false when it could not be written completely. Then, Unchanged() tells whether the target
    // already holds it (no temporary was made) or the temporary holds it.
    bool Finish();
    bool Unchanged() const { return comparing; }

protected:
    bool Put(const char* text, std::size_t size) override;

private:
    bool PutBytes(const char* bytes, std::size_t size);
    // Compares with the target's next bytes; how many of them match, up to size.
    std::size_t Match(const char* bytes, std::size_t size);
    // Starts the temporary with the first `matched` bytes of the target.
    bool StartTemporary();

    std::string target;
    std::FILE* existing = nullptr;
    std::FILE* temporary = nullptr;
    bool comparing = false;
    bool failed = false;
    unsigned long long matched = 0;  // bytes of the target known to be equal to the output's first bytes
    std::vector<char> block;  // the target's bytes being compared or copied
};

#endif
