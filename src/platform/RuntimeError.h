#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace merv {

// Run-time error numbers the control raises or lets through.
namespace ErrorNumber {
inline constexpr int Overflow = 6;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int ResourceNotFound = 326; // a string id the caption table does not hold
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPropertyArrayIndex = 381;
inline constexpr int SetNotSupportedAtRuntime = 382;
inline constexpr int PropertyIsReadOnly = 383;
inline constexpr int PropertyNotSupported = 438;
} // namespace ErrorNumber

// The one run-time error type of the control: a number and a description, raised to the
// caller of the property or method that failed.
class RuntimeError : public std::runtime_error {
public:
    // A description left empty is replaced by the standard text for the number.
    explicit RuntimeError(int number, std::string description = {});

    int number() const noexcept { return m_number; }
    const std::string& description() const noexcept { return m_description; }

    // The code an automation client sees: the control facility plus the number.
    std::uint32_t automationCode() const noexcept { return AutomationFacility + m_number; }

    static std::string standardDescription(int number);

    // 0x800A0000: severity bit and the control facility of automation error codes.
    static constexpr std::uint32_t AutomationFacility = 0x800A0000u;

private:
    int m_number;
    std::string m_description;
};

} // namespace merv
