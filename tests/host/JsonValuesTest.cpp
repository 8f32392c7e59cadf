#include "host/JsonValues.h"

#include "host/UsageError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace merv::host {
namespace {

TEST(JsonValues, SinglesAreWrittenAsTheShortestTextThatReadsBack) {
    struct Row {
        float value;
        const char* text;
    };
    const Row rows[] = {
        {90.0f, "90"},
        {-7.0f, "-7"},
        {12.5f, "12.5"},
        {0.1f, "0.1"},
        {1234.568f, "1234.568"},
        {33.333332f, "33.333332"},
        {16777215.0f, "16777215"},
        {16777216.0f, "16777216.0"},
        {1e30f, "1e+30"},
        {-0.0f, "-0.0"},
        {std::numeric_limits<float>::max(), "3.4028235e+38"},
        {std::numeric_limits<float>::denorm_min(), "1e-45"},
        {std::numeric_limits<float>::infinity(), "null"},
        {std::numeric_limits<float>::quiet_NaN(), "null"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(dumpLine(singleToJson(row.value)), row.text) << row.text;
        if (std::isfinite(row.value)) {
            EXPECT_EQ(std::strtof(row.text, nullptr), row.value) << row.text;
        }
    }
}

TEST(JsonValues, VariantsAreWrittenByTheirType) {
    struct Row {
        Variant value;
        const char* text;
    };
    const Row rows[] = {
        {Variant(), "null"},
        {Variant::text("a \"b\""), R"("a \"b\"")"},
        {Variant::integer(-1), "-1"},
        {Variant::longValue(70000), "70000"},
        {Variant::single(2.5f), "2.5"},
        {Variant::doubleValue(0.1), "0.1"},
        {Variant::doubleValue(3.0), "3"},
        {Variant::boolean(true), "true"},
        {Variant::boolean(false), "false"},
        {Variant::color(0x80000008u), "2147483656"},
        {Variant::color(0xFFFFFFFFu), "4294967295"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(dumpLine(variantToJson(row.value)), row.text) << row.text;
}

TEST(JsonValues, JsonNumbersBecomeTheNarrowestVariantThatHoldsThem) {
    using T = Variant::Type;
    struct Row {
        const char* json;
        T type;
    };
    const Row rows[] = {
        {"90", T::Integer},         {"-32768", T::Integer},
        {"32768", T::Long},         {"-32769", T::Long},
        {"2147483647", T::Long},    {"2147483648", T::Double},
        {"-2147483649", T::Double}, {"18446744073709551615", T::Double},
        {"90.0", T::Double},        {"1e2", T::Double},
        {R"("12,5")", T::Text},     {"true", T::Boolean},
        {"null", T::Empty},
    };
    for (const Row& row : rows)
        EXPECT_EQ(variantFromJson(parseJson(row.json)).type(), row.type) << row.json;
    EXPECT_EQ(variantFromJson(parseJson("2147483648")).asDouble(), 2147483648.0);
    EXPECT_EQ(variantFromJson(parseJson("-32768")).asInteger(), -32768);
    EXPECT_TRUE(variantFromJson(parseJson("true")).asBoolean());
}

TEST(JsonValues, ArraysObjectsAndBadSyntaxAreUsageErrors) {
    for (const char* json : {"[1]", "{}", R"({"a":1})"})
        EXPECT_THROW(variantFromJson(parseJson(json)), UsageError) << json;
    for (const char* json : {"", "{", "1 2", "'x'", "\"\xff\""})
        EXPECT_THROW(parseJson(json), UsageError) << json;
}

TEST(JsonValues, InvalidUtf8InATextIsReplacedNotThrown) {
    const Json line{{"cmd", std::string("a\xff\xc3")}};
    EXPECT_EQ(dumpLine(line), "{\"cmd\":\"a\xEF\xBF\xBD\xEF\xBF\xBD\"}");
}

} // namespace
} // namespace merv::host
