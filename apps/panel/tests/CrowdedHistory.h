#pragma once

#include "panel/AlarmHistory.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace merv::test {

// Transitions as a flood writes them: several in one millisecond, some not written in time
// order (so the order of their ids is not that of their times), of a tagged gauge, of the same
// caption's older rows without a tag, and of another gauge; each with a value of its own and,
// some of them, texts the CSV must quote. In the order they are to be written, from startMs.
inline std::vector<panel::AlarmTransition> crowdedTransitions(int count, std::int64_t startMs) {
    constexpr int PerMillisecond = 4;
    constexpr int WriteStride = 7; // rows are written this far apart in time order, wrapping
    std::vector<panel::AlarmTransition> inTime;
    for (int n = 0; n < count; ++n) {
        const bool ofSteam = n % 3 == 2, untagged = n % 3 == 1;
        const auto transition = panel::Transitions[std::size_t(n) % panel::Transitions.size()];
        inTime.push_back({startMs + n / PerMillisecond, n % 5 ? "north" : "ops, \"A\"",
                          ofSteam ? "Steam flow" : "Drum level",
                          panel::AlarmKinds[std::size_t(n) % panel::AlarmKinds.size()], transition,
                          double(n),
                          ofSteam    ? "FT"
                          : untagged ? ""
                                     : "LT",
                          transition == panel::Transition::Acknowledged ? "alice" : ""});
    }
    // The first half out of time order, the rest in it, as a writer behind a flood writes.
    const int mixed = count / 2;
    std::vector<panel::AlarmTransition> written;
    std::vector<bool> taken(std::size_t(mixed), false);
    for (int k = 0, n = 0; k < mixed; ++k, n = (n + WriteStride) % mixed) {
        while (taken[std::size_t(n)])
            n = (n + 1) % mixed;
        taken[std::size_t(n)] = true;
        written.push_back(inTime[std::size_t(n)]);
    }
    written.insert(written.end(), inTime.begin() + mixed, inTime.end());
    return written;
}

// What a reading under filter finds of the rows written in this order: those that pass it, by
// time, the rows of one millisecond in the order they were written.
inline std::vector<panel::AlarmTransition> expectedRows(std::vector<panel::AlarmTransition> written,
                                                        const panel::HistoryFilter& filter) {
    std::erase_if(written, [&](const panel::AlarmTransition& t) {
        const bool inRange = (!filter.fromMs || t.timeMs >= *filter.fromMs) &&
                             (!filter.toMs || t.timeMs <= *filter.toMs);
        const bool ofGauge =
            filter.tag ? t.tag == *filter.tag ||
                             (t.tag.empty() && filter.variable && t.variable == *filter.variable)
            : filter.variable ? t.variable == *filter.variable
                              : true;
        return !(inRange && ofGauge);
    });
    std::stable_sort(written.begin(), written.end(),
                     [](const auto& a, const auto& b) { return a.timeMs < b.timeMs; });
    return written;
}

} // namespace merv::test
