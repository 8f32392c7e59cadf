#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/platform/Variant.h>

#include "ErrorOf.h"

#include <gtest/gtest.h>

namespace merv {
namespace {

const NumberLocale English = NumberLocale::english();
const NumberLocale Italian{",", "."};

using test::errorOf;

TEST(Variant, ConvertsEveryKindToNumbersAndText) {
    struct Row {
        Variant value;
        double number;
        int integer;
        const char* text; // under a decimal comma
    };
    const Row rows[] = {
        {Variant(), 0, 0, ""},
        {Variant::text(" 2,5 "), 2.5, 2, " 2,5 "},
        {Variant::integer(-7), -7, -7, "-7"},
        {Variant::single(3.5f), 3.5, 4, "3,5"},
        {Variant::doubleValue(-2.5), -2.5, -2, "-2,5"},
        {Variant::boolean(true), -1, -1, "True"},
        {Variant::color(255), 255, 255, "255"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.value.toDouble(Italian), row.number) << row.text;
        EXPECT_EQ(row.value.toInteger(Italian), row.integer) << row.text;
        EXPECT_EQ(row.value.toLong(Italian), row.integer) << row.text;
        EXPECT_EQ(row.value.toText(Italian), row.text);
    }
    EXPECT_EQ(errorOf([] { Variant::text("abc").toDouble(English); }), ErrorNumber::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::longValue(40000).toInteger(English); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { Variant::text("1E+39").toSingle(English); }), ErrorNumber::Overflow);
}

TEST(Variant, ColourTakesTheWhole32BitPattern) {
    EXPECT_EQ(Variant::longValue(-1).toColor(English), 0xFFFFFFFFu);
    EXPECT_EQ(Variant::boolean(true).toColor(English), 0xFFFFFFFFu);
    EXPECT_EQ(Variant::doubleValue(4294967295.0).toColor(English), 0xFFFFFFFFu);
    EXPECT_EQ(Variant::text("-2147483648").toColor(English), 0x80000000u);
    EXPECT_EQ(Variant::single(2.5f).toColor(English), 2u);
    for (double outside : {4294967295.5, -2147483649.0})
        EXPECT_EQ(errorOf([&] { Variant::doubleValue(outside).toColor(English); }),
                  ErrorNumber::Overflow);
}

TEST(Variant, EqualsNumbersNumericallyAndTextsExactly) {
    struct Row {
        const char* name;
        Variant left;
        Variant right;
        bool equal;
    };
    const Row rows[] = {
        {"single and integer", Variant::single(100.0f), Variant::integer(100), true},
        {"colour and long", Variant::color(255), Variant::longValue(255), true},
        {"true and -1", Variant::boolean(true), Variant::integer(-1), true},
        {"single 0.1 and double 0.1", Variant::single(0.1f), Variant::doubleValue(0.1), false},
        {"texts equal as numbers", Variant::text("1.0"), Variant::text("1"), false},
        {"numeric text and number", Variant::text(" 35 "), Variant::integer(35), true},
        {"other text and number", Variant::text("abc"), Variant::integer(0), false},
        {"empty and zero", Variant(), Variant::single(0.0f), true},
        {"empty and empty text", Variant::text(""), Variant(), true},
        {"empty and text zero", Variant(), Variant::text("0"), false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.left.equals(row.right, English), row.equal) << row.name;
        EXPECT_EQ(row.right.equals(row.left, English), row.equal) << row.name << ", swapped";
    }
}

} // namespace
} // namespace merv
