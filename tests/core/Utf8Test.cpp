// Code point indexes of a UTF-8 text against the UTF-16 offsets a toolkit's line edit counts:
// a code point beyond the basic plane is two UTF-16 units and one index.
#include <mervgauge/platform/Utf8.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace merv::test {
namespace {

struct Offsets {
    const char* behaviour;
    std::string text;
    // The UTF-16 offset of each code point index, 0 to the length.
    std::vector<int> utf16;
};

class Utf16Offsets : public ::testing::TestWithParam<Offsets> {};

TEST_P(Utf16Offsets, MeetTheCodePointIndexesBothWays) {
    const Offsets& o = GetParam();
    ASSERT_EQ(std::size_t(utf8::length(o.text)) + 1, o.utf16.size());
    for (std::size_t index = 0; index < o.utf16.size(); ++index) {
        EXPECT_EQ(utf8::utf16Offset(o.text, int(index)), o.utf16[index]) << "index " << index;
        EXPECT_EQ(utf8::indexAtUtf16(o.text, o.utf16[index]), int(index)) << "index " << index;
    }
}

INSTANTIATE_TEST_SUITE_P(Utf8, Utf16Offsets,
                         ::testing::Values(Offsets{"Ascii", "80", {0, 1, 2}},
                                           // Two and three bytes of UTF-8 are one UTF-16 unit each.
                                           Offsets{"BasicPlane",
                                                   "\xC2\xB0"
                                                   "C\xE2\x82\xAC",
                                                   {0, 1, 2, 3}},
                                           // U+1D11E: four bytes, a surrogate pair, one code point.
                                           Offsets{"BeyondTheBasicPlane",
                                                   "a\xF0\x9D\x84\x9E"
                                                   "b",
                                                   {0, 1, 3, 4}},
                                           Offsets{"Empty", "", {0}}),
                         [](const ::testing::TestParamInfo<Offsets>& info) {
                             return info.param.behaviour;
                         });

TEST(Utf8, Utf16PositionsClampToTheTextAndAHalfPairCountsTheWholePair) {
    const std::string text = "a\xF0\x9D\x84\x9E";
    EXPECT_EQ(utf8::utf16Offset(text, 7), 3);
    EXPECT_EQ(utf8::utf16Offset(text, -1), 0);
    EXPECT_EQ(utf8::indexAtUtf16(text, 9), 2);
    EXPECT_EQ(utf8::indexAtUtf16(text, 2), 2); // between the two halves of the pair
}

} // namespace
} // namespace merv::test
