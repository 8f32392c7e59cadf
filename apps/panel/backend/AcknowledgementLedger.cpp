#include "panel/AcknowledgementLedger.h"

#include <numeric>

namespace merv::panel {

bool AcknowledgementLedger::count(AcknowledgementRefusal reason) {
    return ++m_counts[std::size_t(reason)] == 1;
}

std::uint64_t AcknowledgementLedger::countOf(AcknowledgementRefusal reason) const {
    return m_counts[std::size_t(reason)];
}

std::uint64_t AcknowledgementLedger::total() const {
    return std::accumulate(m_counts.begin(), m_counts.end(), std::uint64_t(0));
}

std::string AcknowledgementLedger::summary() const {
    std::string out;
    for (int i = 0; i < AcknowledgementRefusalCount; ++i)
        if (m_counts[std::size_t(i)] > 0)
            out += (out.empty() ? "" : ", ") + std::string(nameOf(AcknowledgementRefusal(i))) +
                   " " + std::to_string(m_counts[std::size_t(i)]);
    return out;
}

const char* AcknowledgementLedger::nameOf(AcknowledgementRefusal reason) {
    switch (reason) {
    case AcknowledgementRefusal::Malformed:
        return "malformed";
    case AcknowledgementRefusal::Oversized:
        return "oversized";
    case AcknowledgementRefusal::Duplicate:
        return "duplicate";
    case AcknowledgementRefusal::UnknownAlarm:
        return "unknown alarm";
    case AcknowledgementRefusal::FromTheFuture:
        return "from the future";
    }
    return "?";
}

} // namespace merv::panel
