#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/RuntimeError.h>

#include "ErrorOf.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace merv::convert {
namespace {

const NumberLocale English = NumberLocale::english();
const NumberLocale Italian{",", "."};
const NumberLocale French{",", "\xE2\x80\xAF"}; // narrow no-break space between groups

using test::errorOf;

TEST(NumberToText, SignificantDigitsAndTheSwitchToExponentForm) {
    struct Row {
        float single;
        const char* text;
    };
    const Row singles[] = {
        {1234567.0f, "1234567"},
        {12345678.0f, "1.234568E+07"},
        {654322.25f, "654322.3"},
        {-654322.25f, "-654322.3"}, // exact ties go away from zero
        {999.9991455f, "999.9991"}, // 999.99914550..., not a tie
        {0.1f, "0.1"},
        {0.000005f, "0.000005"},
        {1E-07f, "1E-07"},
        {0.0000012345f, "1.2345E-06"},
        {0.3333333f, "0.3333333"},
        {1.0f / 81.0f, "1.234568E-02"}, // would need 8 decimals
        {1E+08f, "1E+08"},
        {100.0f, "100"},
        {-0.0f, "0"},
        {9999999.5f, "1E+07"}, // the rounding carries
        {FLT_MAX, "3.402823E+38"},
        {1E-40f, "9.999946E-41"},
    };
    for (const Row& row : singles)
        EXPECT_EQ(singleToText(row.single, English), row.text);
    EXPECT_EQ(singleToText(12.5f, Italian), "12,5");
    EXPECT_EQ(singleToText(1.5E+10f, Italian), "1,5E+10");
    EXPECT_EQ(singleToText(1234567.0f, French), "1234567");

    EXPECT_EQ(doubleToText(0.1 + 0.2, English), "0.3");
    EXPECT_EQ(doubleToText(123456789012345.0, English), "123456789012345");
    EXPECT_EQ(doubleToText(1234567890123456.0, English), "1.23456789012346E+15");
    EXPECT_EQ(doubleToText(1.0 / 81.0, English), "1.23456790123457E-02");
    EXPECT_EQ(doubleToText(-DBL_MAX, English), "-1.79769313486232E+308");
    EXPECT_FALSE(isNumeric(singleToText(NAN, English), English));
}

TEST(TextToNumber, AcceptsTheNumberGrammar) {
    struct Row {
        const char* text;
        const NumberLocale* locale;
        double value;
    };
    const Row rows[] = {
        {"  -12.5\t", &English, -12.5},
        {"+7", &English, 7},
        {".5", &English, 0.5},
        {"5.", &English, 5},
        {"1,234,567.5", &English, 1234567.5},
        {"1,2,3", &English, 123}, // grouping positions are not checked
        {"2.5e-3", &English, 0.0025},
        {"3D2", &English, 300},
        {"12,5", &Italian, 12.5},
        {"12.5", &Italian, 125}, // the point groups here
        {"1\xE2\x80\xAF"
         "234,5",
         &French, 1234.5},
        {"1e-400", &English, 0},
        {"0e999999999999", &English, 0},
        {"0.000000000000000000000000000000001e33", &English, 1},
        {"1.7976931348623157E+308", &English, DBL_MAX},
    };
    for (const Row& row : rows)
        EXPECT_EQ(textToDouble(row.text, *row.locale), row.value) << row.text;
    EXPECT_EQ(textToSingle("65.25", English), 65.25f);
    EXPECT_EQ(textToSingle("3.4028235E+38", English), FLT_MAX);
}

TEST(TextToNumber, RejectsNonNumbersAndOverflowsPastTheRange) {
    struct Row {
        const char* text;
        int error;
    };
    const Row rows[] = {
        {"", ErrorNumber::TypeMismatch},     {"  ", ErrorNumber::TypeMismatch},
        {"-", ErrorNumber::TypeMismatch},    {"+", ErrorNumber::TypeMismatch},
        {".", ErrorNumber::TypeMismatch},    {"1.2.3", ErrorNumber::TypeMismatch},
        {"12a", ErrorNumber::TypeMismatch},  {"1e", ErrorNumber::TypeMismatch},
        {"--1", ErrorNumber::TypeMismatch},  {"1 2", ErrorNumber::TypeMismatch},
        {",1", ErrorNumber::TypeMismatch},   {"1,", ErrorNumber::TypeMismatch},
        {"1,,2", ErrorNumber::TypeMismatch}, {"1.5,2", ErrorNumber::TypeMismatch},
        {"1.8E+308", ErrorNumber::Overflow}, {"-1e999999999999999999", ErrorNumber::Overflow},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(isNumeric(row.text, English)) << row.text;
        EXPECT_EQ(errorOf([&] { textToDouble(row.text, English); }), row.error) << row.text;
        EXPECT_FALSE(tryTextToSingle(row.text, English)) << row.text;
    }
    EXPECT_EQ(errorOf([] { textToSingle("3.4028236E+38", English); }), ErrorNumber::Overflow);
    // The try form fails exactly where the throwing one does, the single range included.
    EXPECT_FALSE(tryTextToSingle("3.4028236E+38", English));
    EXPECT_EQ(tryTextToSingle("3.4028234E+38", English), textToSingle("3.4028234E+38", English));
    EXPECT_EQ(tryTextToSingle("-1,5", Italian), -1.5f);
    EXPECT_FALSE(isNumeric("1\xE2\x80", French)); // a separator cut short
}

TEST(TextToNumber, RoundsLongDigitStringsCorrectly) {
    // Halfway between 1 and the next double; a digit far past the 800th breaks the tie.
    std::string text = "1.00000000000000011102230246251565404236316680908203125";
    EXPECT_EQ(textToDouble(text, English), 1.0);
    text += std::string(1000, '0') + "1";
    EXPECT_EQ(textToDouble(text, English), std::nextafter(1.0, 2.0));
}

TEST(NumberToNumber, IntegersRoundHalvesToEvenAndSinglesOverflowAtInfinity) {
    struct Row {
        double value;
        int integer; // ignored when the conversion overflows
        bool overflow;
    };
    const Row rows[] = {
        {2.5, 2, false},           {3.5, 4, false},    {-2.5, -2, false},
        {-32768.5, -32768, false}, {32767.5, 0, true}, {NAN, 0, true},
    };
    for (const Row& row : rows) {
        if (row.overflow)
            EXPECT_EQ(errorOf([&] { toInteger(row.value); }), ErrorNumber::Overflow);
        else
            EXPECT_EQ(toInteger(row.value), row.integer) << row.value;
    }
    EXPECT_EQ(toLong(-2147483648.5), -2147483648);
    EXPECT_EQ(errorOf([] { toLong(2147483647.5); }), ErrorNumber::Overflow);
    EXPECT_EQ(toSingle(double(FLT_MAX) + 0x1p102), FLT_MAX);
    EXPECT_EQ(errorOf([] { toSingle(double(FLT_MAX) + 0x1p103); }), ErrorNumber::Overflow);
}

TEST(Format, RoundsTheDecimalDigitsHalfAwayFromZero) {
    struct Row {
        const char* text;
        const char* pattern;
        const char* formatted;
    };
    const Row rows[] = {
        {"2.675", "###0.00", "2.68"}, // its double lies below the tie
        {"1.005", "###0.00", "1.01"},
        {"0.5", "###0", "1"},
        {"-0.5", "###0", "-1"},
        {"9.99996", "###0.0000", "10.0000"},
        {"0.000005", "###0.00000", "0.00001"},
        {"-0.001", "###0.00", "-0.00"},
        {"-0", "###0.0", "0.0"},
        {"1,234", "###0.000", "1234.000"},
        {"1E+20", "###0.00", "100000000000000000000.00"},
        // Anything else leaves the text alone.
        {"12.345", "", "12.345"},
        {"12.345", "###0.000000", "12.345"},
        {"abc", "###0.00", "abc"},
        {"1E+400", "###0", "1E+400"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(format(row.text, row.pattern, English), row.formatted) << row.text;
    EXPECT_EQ(format("1.234,5", "###0.00", Italian), "1234,50");
}

} // namespace
} // namespace merv::convert
