#include "panel/StdinSource.h"

#include "QtTestApp.h"
#include "SourceRecorder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace merv::panel {
namespace {

struct LineCase {
    const char* name;
    const char* line;
    const char* tag;
    double value;
    bool ok;
};

class StdinLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(StdinLineTest, ReadsTagAndValueOrSaysWhy) {
    const auto& c = GetParam();
    const auto read = readStdinLine(c.line);
    EXPECT_EQ(read.error.empty(), c.ok) << read.error;
    EXPECT_EQ(read.tag, c.tag);
    if (c.ok) {
        EXPECT_EQ(read.value, c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, StdinLineTest,
    testing::Values(LineCase{"Plain", "drum_pressure 12.5", "drum_pressure", 12.5, true},
                    LineCase{"BlanksAndCrlf", "\t level  -3e1 \r", "level", -30, true},
                    LineCase{"LeadingPlus", "flow +4", "flow", 4, true},
                    LineCase{"DecimalComma", "flow 12,5", "flow", 0, false},
                    LineCase{"MissingValue", "flow", "flow", 0, false},
                    LineCase{"TrailingJunk", "flow 1 bar", "flow", 0, false},
                    LineCase{"NumberWithUnit", "flow 1bar", "flow", 0, false},
                    LineCase{"Infinity", "flow inf", "flow", 0, false},
                    LineCase{"NotANumber", "flow nan", "flow", 0, false},
                    LineCase{"Overflow", "flow 1e999", "flow", 0, false},
                    LineCase{"Hex", "flow 0x10", "flow", 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The whole source through a pipe: lines split across writes, bad lines skipped and reported,
// a last line without its end, then the end of input.
TEST(StdinSourceTest, ReadsAPipeToItsEnd) {
    test::ensureQtApp();
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::ostringstream log;
    StdinSource source(fds[0], &log);
    SourceRecorder seen(source);
    source.start({{"a"}, {"b"}});
    const std::string input = "a 1\nb 2";
    ASSERT_EQ(::write(fds[1], input.data(), input.size()), ssize_t(input.size()));
    ASSERT_TRUE(seen.waitFor([&] { return seen.values.size() == 1; }));
    const std::string rest =
        ".5\n\nb oops\nc 3\n" + std::string(StdinSource::MaxLineBytes + 1, 'x') + "\na 4";
    ASSERT_EQ(::write(fds[1], rest.data(), rest.size()), ssize_t(rest.size()));
    ::close(fds[1]);
    ASSERT_TRUE(seen.waitFor([&] { return seen.connections.size() == 2; }));
    EXPECT_EQ(seen.values, (std::vector<std::string>{"a=1", "b=2.5", "a=4"}));
    EXPECT_EQ(seen.rejected, (std::vector<std::string>{"b", "c", ""}));
    EXPECT_EQ(seen.connections, (std::vector<bool>{true, false}));
    EXPECT_EQ(seen.details.back(), "end of input");
    EXPECT_FALSE(source.isConnected());
    EXPECT_NE(log.str().find("line 4:"), std::string::npos) << log.str();
    ::close(fds[0]);
}

} // namespace
} // namespace merv::panel
