#include "panel/SimSource.h"
#include "panel/Form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace merv::panel {
namespace {

// The default form's gauges as the simulator sees them.
std::vector<SourceTag> plantTags() {
    return sourceTagsOf(defaultForm());
}

struct Sample {
    QString tag;
    double value;
    bool operator==(const Sample&) const = default;
};

std::vector<Sample> run(std::uint64_t seed, std::int64_t totalMs, std::int64_t stepMs) {
    SourceOptions options;
    options.seed = seed;
    options.manualClock = true;
    SimSource source(options);
    std::vector<Sample> samples;
    QObject::connect(&source, &DataSource::valueArrived,
                     [&](const QString& tag, double value, qint64) {
                         samples.push_back({tag, value});
                     });
    source.start(plantTags());
    for (std::int64_t done = 0; done < totalMs; done += stepMs)
        source.advance(std::min(stepMs, totalMs - done));
    source.stop();
    return samples;
}

TEST(SimSource, TheSameSeedRepeatsTheRunWhateverTheStepsAndAnotherSeedDoesNot) {
    const auto a = run(7, 20000, 100);
    EXPECT_EQ(a.size(), 6u * 20000 / SimSource::SamplePeriodMs);
    EXPECT_EQ(a, run(7, 20000, 1300));
    EXPECT_NE(a, run(8, 20000, 100));
}

TEST(SimSource, EverySignalStaysOnItsScaleAndAMinuteCrossesEveryKindOfRange) {
    const auto tags = plantTags();
    std::map<QString, SourceTag> byTag;
    for (const auto& tag : tags)
        byTag[QString::fromStdString(tag.tag)] = tag;
    for (std::uint64_t seed : {1, 2, 3, 42, 1234}) {
        std::set<std::string> kinds;
        for (const Sample& s : run(seed, 60000, 100)) {
            const SourceTag& t = byTag.at(s.tag);
            ASSERT_GE(s.value, t.minimum);
            ASSERT_LE(s.value, t.maximum);
            if (s.value > t.alarmHigh)
                kinds.insert("alarm high");
            else if (s.value > t.warningHigh)
                kinds.insert("warning high");
            if (s.value < t.alarmLow)
                kinds.insert("alarm low");
            else if (s.value < t.warningLow)
                kinds.insert("warning low");
        }
        EXPECT_EQ(kinds.size(), 4u) << "seed " << seed;
    }
}

} // namespace
} // namespace merv::panel
