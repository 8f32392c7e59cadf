#include <mervgauge/platform/RuntimeError.h>

namespace merv {

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(description.empty() ? standardDescription(number) : description),
      m_number(number),
      m_description(description.empty() ? standardDescription(number) : std::move(description)) {}

std::string RuntimeError::standardDescription(int number) {
    switch (number) {
    case ErrorNumber::Overflow:
        return "Overflow";
    case ErrorNumber::DivisionByZero:
        return "Division by zero";
    case ErrorNumber::TypeMismatch:
        return "Type mismatch";
    case ErrorNumber::InvalidPropertyValue:
        return "Invalid property value";
    case ErrorNumber::InvalidPropertyArrayIndex:
        return "Invalid property array index";
    case ErrorNumber::SetNotSupportedAtRuntime:
        return "Set not supported at runtime";
    case ErrorNumber::PropertyIsReadOnly:
        return "Property is ReadOnly.";
    case ErrorNumber::PropertyNotSupported:
        return "Object doesn't support this property or method";
    default:
        return "Application-defined or object-defined error";
    }
}

} // namespace merv
