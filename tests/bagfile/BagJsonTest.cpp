#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/BagJson.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace merv {
namespace {

std::string compact(const BagJson& value) {
    return value.dump();
}

TEST(BagJson, SinglesAreWrittenAsTheShortestTextThatReadsBack) {
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
        EXPECT_EQ(compact(singleToJson(row.value)), row.text) << row.text;
        if (std::isfinite(row.value)) {
            EXPECT_EQ(std::strtof(row.text, nullptr), row.value) << row.text;
        }
    }
}

TEST(BagJson, VariantsAreWrittenByTheirType) {
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
        EXPECT_EQ(compact(variantToJson(row.value)), row.text) << row.text;
}

TEST(BagJson, JsonNumbersBecomeTheNarrowestVariantThatHoldsThem) {
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
        EXPECT_EQ(variantFromJson(parseBagJson(row.json)).type(), row.type) << row.json;
    EXPECT_EQ(variantFromJson(parseBagJson("2147483648")).asDouble(), 2147483648.0);
    EXPECT_EQ(variantFromJson(parseBagJson("-32768")).asInteger(), -32768);
    EXPECT_TRUE(variantFromJson(parseBagJson("true")).asBoolean());
}

TEST(BagJson, ArraysAndObjectsAreNoValues) {
    for (const char* json : {"[1]", "{}", R"({"a":1})"})
        EXPECT_THROW(variantFromJson(parseBagJson(json)), BagError) << json;
}

TEST(BagJson, BadSyntaxSaysWhetherTheTextStoppedShort) {
    struct Row {
        const char* text;
        const char* problemStart;
    };
    const Row rows[] = {
        {"{\"Value\":", "truncated JSON: "},
        {"{\"Value\":90", "truncated JSON: "},
        {"{", "truncated JSON: "},
        {"1 2", "not JSON: "},
        {"'x'", "not JSON: "},
        {"{\"Value\":90}}", "not JSON: "},
        {"\"\xff\"", "not JSON: "},
    };
    for (const Row& row : rows) {
        try {
            parseBagJson(row.text);
            ADD_FAILURE() << row.text << " parsed";
        } catch (const BagError& error) {
            EXPECT_TRUE(error.problem().starts_with(row.problemStart)) << error.what();
            EXPECT_EQ(error.problem().find("[json.exception"), std::string::npos) << error.what();
        }
    }
}

TEST(BagJson, ANumberBeyondADoubleIsRefusedAtItsPlace) {
    struct Row {
        const char* text;
        const char* pointer;
        const char* number;
    };
    const Row rows[] = {
        {"1e400", "", "1e400"},
        {R"({"Value":-1e400})", "/Value", "-1e400"},
        {R"({"a":[1,{"b":2},[3,1E999]]})", "/a/2/1", "1E999"},
        {R"({"g":[{"bag":{}},{"bag":{"x/y~":1e309}}]})", "/g/1/bag/x~1y~0", "1e309"},
    };
    for (const Row& row : rows) {
        try {
            parseBagJson(row.text);
            ADD_FAILURE() << row.text << " parsed";
        } catch (const BagError& error) {
            EXPECT_EQ(error.key(), row.pointer) << row.text;
            EXPECT_EQ(error.problem(), std::string("the number ") + row.number + " is out of range")
                << row.text;
        }
    }
}

TEST(BagJson, ABagIsOneObjectInTheBagsOrder) {
    MemoryPropertyBag bag;
    bag.set("Value", Variant::single(42.5f));
    bag.set("Precision", Variant::integer(2));
    bag.set("VariableName", Variant::text("Flow"));
    bag.set("AlarmColor", Variant::color(0x80000008u));
    EXPECT_EQ(compact(bagToJson(bag)),
              R"({"Value":42.5,"Precision":2,"VariableName":"Flow","AlarmColor":2147483656})");
    EXPECT_EQ(compact(bagToJson(MemoryPropertyBag())), "{}");
}

TEST(BagJson, AnObjectBecomesABagWithTheSameEntriesInOrder) {
    const MemoryPropertyBag bag =
        bagFromJson(parseBagJson(R"({"MaxValue":200,"Value":"12,5","EngUnit":"bar","X":null})"));
    ASSERT_EQ(bag.entries().size(), 4u);
    EXPECT_EQ(bag.entries()[0].first, "MaxValue");
    EXPECT_EQ(bag.entries()[0].second.asInteger(), 200);
    EXPECT_EQ(bag.entries()[1].second.asText(), "12,5");
    EXPECT_EQ(bag.entries()[2].first, "EngUnit");
    EXPECT_TRUE(bag.entries()[3].second.isEmpty());
}

TEST(BagJson, AWronglyTypedValueNamesItsKeyAndNothingIsBuilt) {
    try {
        bagFromJson(parseBagJson(R"({"Value":1,"MaxValue":[200],"EngUnit":{}})"));
        ADD_FAILURE() << "accepted";
    } catch (const BagError& error) {
        EXPECT_EQ(error.key(), "MaxValue");
        EXPECT_EQ(error.file(), "");
        EXPECT_EQ(std::string(error.what()),
                  "MaxValue: expected a string, number, true, false or null, not array");
    }
    for (const char* notObject : {"[]", "3", "\"Value\"", "null"})
        EXPECT_THROW(bagFromJson(parseBagJson(notObject)), BagError) << notObject;
}

} // namespace
} // namespace merv
