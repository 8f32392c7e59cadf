#include "host/JsonValues.h"

#include "host/UsageError.h"

#include <gtest/gtest.h>

namespace merv::host {
namespace {

TEST(JsonValues, BadSyntaxIsAUsageError) {
    for (const char* json : {"", "{", "1 2", "'x'", "\"\xff\""})
        EXPECT_THROW(parseJson(json), UsageError) << json;
}

TEST(JsonValues, ANumberBeyondADoubleIsAUsageErrorNamingItsMember) {
    struct Row {
        const char* json;
        const char* message;
    };
    const Row rows[] = {
        {"1e400", "the number 1e400 is too large"},
        {"-1e400", "the number -1e400 is too large"},
        {R"({"Precision":2,"Value":1e400})", "Value: the number 1e400 is too large"},
        {R"({"Outer":{"Inner":1e999}})", "Outer: the number 1e999 is too large"},
    };
    for (const Row& row : rows) {
        try {
            parseJson(row.json);
            ADD_FAILURE() << row.json << " was accepted";
        } catch (const UsageError& error) {
            EXPECT_STREQ(error.what(), row.message) << row.json;
        }
    }
    // Too small to tell from zero is no error: it reads as zero.
    EXPECT_EQ(parseJson("1e-400").get<double>(), 0.0);
}

TEST(JsonValues, InvalidUtf8InATextIsReplacedNotThrown) {
    const Json line{{"cmd", std::string("a\xff\xc3")}};
    EXPECT_EQ(dumpLine(line), "{\"cmd\":\"a\xEF\xBF\xBD\xEF\xBF\xBD\"}");
}

} // namespace
} // namespace merv::host
