#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "diagnostics.h"

namespace {

// Keeps each piece it is handed apart, so the test sees how the text arrived.
class PieceRecorder : public TextSink {
public:
    std::vector<std::string> pieces;

protected:
    bool Put(const char* text, size_t size) override
    {
        pieces.emplace_back(text, size);
        return true;
    }
};

// Messages of two runs side by side must not mix within a line, so each line leaves in one piece, however it was
// written, and only the lines that are warnings count.
TEST(Diagnostics, LinesLeaveWholeAndWarningsAreCounted)
{
    PieceRecorder recorder;
    SendErrorsTo(&recorder);
    const uint64_t before = WarningCount();
    TextSink& errors = ErrorOutput();
    errors << WarningAt("m.obj", 3) << "unknown record " << 'x' << "\n";
    errors << "m.obj:4: not a number\n" << Warning() << "no faces\n";
    errors << WarningAt("t.png") << std::string(5000, 'a') << "\n";
    errors << "no line end";
    EXPECT_EQ(recorder.pieces, (std::vector<std::string>{"m.obj:3: warning: unknown record x\n",
                                                         "m.obj:4: not a number\n", "polvane: warning: no faces\n",
                                                         "t.png: warning: " + std::string(4080, 'a'),
                                                         std::string(920, 'a') + "\n"}));
    errors.Flush();
    EXPECT_EQ(recorder.pieces.back(), "no line end");
    EXPECT_EQ(WarningCount() - before, 3u);
    SendErrorsTo(nullptr);
}

}
