#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "textsink.h"

namespace {

// Messages name counts, sizes, scales and extents of every type the program holds; each must read as a C++ stream
// would write it, since the messages were written by streams before and tools may match them.
template <typename Value>
void ExpectWrittenAsByAStream(Value value)
{
    std::ostringstream stream;
    stream << value;
    StringSink sink;
    sink << value;
    EXPECT_EQ(sink.str(), stream.str());
}

TEST(TextSink, WritesValuesAsAStreamDoes)
{
    for (const double value : {0.0, -0.0, 1.0, -3.0, 29.0, 0.5, 1e-7, 123456.0, 1234567.0, 32767.0 / 3.0, 1e300,
                               -2.5e-300, std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), std::nan("")}) {
        SCOPED_TRACE(value);
        ExpectWrittenAsByAStream(value);
        ExpectWrittenAsByAStream(float(value));
    }
    ExpectWrittenAsByAStream(int64_t(std::numeric_limits<int64_t>::min()));
    ExpectWrittenAsByAStream(uint64_t(std::numeric_limits<uint64_t>::max()));
    ExpectWrittenAsByAStream(int32_t(-2147483647 - 1));
    ExpectWrittenAsByAStream(uint32_t(4000000000u));
    ExpectWrittenAsByAStream(int16_t(-32768));
    ExpectWrittenAsByAStream(uint16_t(65535));
    ExpectWrittenAsByAStream(size_t(0));
    ExpectWrittenAsByAStream(true);
    // Single bytes are characters, whatever their type.
    ExpectWrittenAsByAStream('x');
    ExpectWrittenAsByAStream(int8_t('A'));
    ExpectWrittenAsByAStream(uint8_t('z'));
    ExpectWrittenAsByAStream("text");
    ExpectWrittenAsByAStream(std::string("a string"));
}

// A sink that cannot take its bytes says so from then on, as a failed stream does.
class FullSink : public TextSink {
public:
    size_t room = 5;
    std::string text;

protected:
    bool Put(const char* bytes, size_t size) override
    {
        if (size > room) {
            return false;
        }
        room -= size;
        text.append(bytes, size);
        return true;
    }
};

TEST(TextSink, AFailedWriteStaysFailed)
{
    FullSink sink;
    sink << "abc";
    EXPECT_FALSE(sink.Failed());
    sink << "def";
    EXPECT_TRUE(sink.Failed());
    sink << "g";
    EXPECT_TRUE(sink.Failed());
    EXPECT_FALSE(sink.Flush());
    EXPECT_EQ(sink.text, "abcg");
}

}
