#pragma once

#include "panel/DataSource.h"

#include <array>
#include <cstdint>
#include <string>

// The count of shared acknowledgements a station refused, by reason: each is counted, and the
// first of each reason is told, so that a flood of forged or broken messages fills no log.
namespace merv::panel {

class AcknowledgementLedger {
public:
    // Counts one; true when it is the first of its reason.
    bool count(AcknowledgementRefusal reason);
    std::uint64_t countOf(AcknowledgementRefusal reason) const;
    std::uint64_t total() const;
    // "malformed 2, unknown alarm 1", the reasons with a count, or empty.
    std::string summary() const;

    static const char* nameOf(AcknowledgementRefusal reason);

private:
    std::array<std::uint64_t, AcknowledgementRefusalCount> m_counts{};
};

} // namespace merv::panel
