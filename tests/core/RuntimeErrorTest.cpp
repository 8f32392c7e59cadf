#include <mervgauge/platform/RuntimeError.h>

#include <gtest/gtest.h>

namespace merv {
namespace {

TEST(RuntimeError, CarriesNumberStandardTextAndAutomationCode) {
    struct Row {
        int number;
        const char* description;
        std::uint32_t code;
    };
    const Row rows[] = {
        {ErrorNumber::Overflow, "Overflow", 0x800A0006u},
        {ErrorNumber::DivisionByZero, "Division by zero", 0x800A000Bu},
        {ErrorNumber::TypeMismatch, "Type mismatch", 0x800A000Du},
        {ErrorNumber::InvalidPropertyValue, "Invalid property value", 0x800A017Cu},
        {ErrorNumber::InvalidPropertyArrayIndex, "Invalid property array index", 0x800A017Du},
        {ErrorNumber::SetNotSupportedAtRuntime, "Set not supported at runtime", 0x800A017Eu},
        {ErrorNumber::PropertyIsReadOnly, "Property is ReadOnly.", 0x800A017Fu},
        {ErrorNumber::PropertyNotSupported, "Object doesn't support this property or method",
         0x800A01B6u},
    };
    for (const Row& row : rows) {
        RuntimeError error(row.number);
        EXPECT_EQ(error.number(), row.number);
        EXPECT_EQ(error.description(), row.description);
        EXPECT_STREQ(error.what(), row.description);
        EXPECT_EQ(error.automationCode(), row.code);
    }
}

TEST(RuntimeError, KeepsAnOwnDescription) {
    RuntimeError error(ErrorNumber::PropertyIsReadOnly, "custom");
    EXPECT_EQ(error.description(), "custom");
}

} // namespace
} // namespace merv
