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

TEST(SimSource, ReportsEachTagThePlantLacksOnceAtStartAndStillFeedsIt) {
    struct Row {
        const char* name;
        std::vector<std::string> extraTags; // besides the plant's own
        std::vector<QString> reported;
    };
    const Row rows[] = {
        {"the plant's own tags", {}, {}},
        {"a misspelt tag", {"boiler/drum/presure"}, {"boiler/drum/presure"}},
        {"one unknown tag read by two gauges", {"FT-101", "FT-101"}, {"FT-101"}},
        {"two unknown tags, in the form's order", {"b", "a"}, {"b", "a"}},
    };
    for (const Row& row : rows) {
        std::vector<SourceTag> tags = plantTags();
        for (const std::string& extra : row.extraTags) {
            SourceTag tag = tags[0];
            tag.tag = extra;
            tags.push_back(tag);
        }
        SourceOptions options;
        options.manualClock = true;
        SimSource source(options);
        std::vector<QString> reported;
        std::set<QString> fed;
        QObject::connect(&source, &DataSource::tagUnknown,
                         [&](const QString& tag, const QString& detail) {
                             reported.push_back(tag);
                             EXPECT_TRUE(detail.contains(QStringLiteral("\"") + tag + "\""))
                                 << row.name << ": " << detail.toStdString();
                             EXPECT_TRUE(detail.contains(QStringLiteral("boiler/drum/pressure")))
                                 << row.name << ": the plant's tags to compare with";
                         });
        QObject::connect(&source, &DataSource::valueArrived,
                         [&](const QString& tag, double, qint64) { fed.insert(tag); });
        source.start(tags);
        source.advance(10000);
        EXPECT_EQ(reported, row.reported) << row.name;
        for (const std::string& extra : row.extraTags)
            EXPECT_TRUE(fed.contains(QString::fromStdString(extra))) << row.name << ": " << extra;
        source.stop();
    }
}

} // namespace
} // namespace merv::panel
