#include "host/JsonValues.h"

#include "host/UsageError.h"

#include <gtest/gtest.h>

namespace merv::host {
namespace {

TEST(JsonValues, BadSyntaxIsAUsageError) {
    for (const char* json : {"", "{", "1 2", "'x'", "\"\xff\""})
        EXPECT_THROW(parseJson(json), UsageError) << json;
}

TEST(JsonValues, InvalidUtf8InATextIsReplacedNotThrown) {
    const Json line{{"cmd", std::string("a\xff\xc3")}};
    EXPECT_EQ(dumpLine(line), "{\"cmd\":\"a\xEF\xBF\xBD\xEF\xBF\xBD\"}");
}

} // namespace
} // namespace merv::host
