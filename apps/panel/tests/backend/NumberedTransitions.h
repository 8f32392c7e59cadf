#pragma once

#include "panel/AlarmHistory.h"

#include <cstdint>

namespace merv::test {

constexpr std::int64_t T0 = 1796738585123; // 2026-12-08T14:03:05.123Z

// Transition n of a run of one gauge's high alarm, raised and returned in turn, each a
// millisecond after the one before and with a value of its own.
inline panel::AlarmTransition numberedTransition(int n) {
    return {T0 + n,
            "north",
            "Drum pressure",
            panel::AlarmKind::AlarmHigh,
            n % 2 ? panel::Transition::Returned : panel::Transition::Raised,
            40.0 + n};
}

} // namespace merv::test
