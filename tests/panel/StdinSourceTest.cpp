#include "panel/StdinSource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <unistd.h>

namespace merv::panel {
namespace {

TEST(StdinSource, ALineIsATagAndACLocaleNumberAndNothingElse) {
    struct Case {
        const char* line;
        const char* tag;
        double value;      // when good
        const char* fault; // empty when good
    } cases[] = {
        {"boiler/drum/pressure 41.5", "boiler/drum/pressure", 41.5, ""},
        {"  level\t-12e1\r", "level", -120, ""},
        {"level", "level", 0, "no value after the tag"},
        {"level 4,5", "level", 0, "\"4,5\" is no number"},
        {"level 12abc", "level", 0, "\"12abc\" is no number"},
        {"level 1 2", "level", 0, "more than a tag and a value"},
        {"level inf", "level", 0, "\"inf\" is not finite"},
        {"level nan", "level", 0, "\"nan\" is not finite"},
        {"", "", 0, "empty line"},
    };
    for (const Case& c : cases) {
        const auto parsed = parseStdinLine(c.line);
        if (*c.fault) {
            const auto* fault = std::get_if<StdinFault>(&parsed);
            ASSERT_TRUE(fault) << c.line;
            EXPECT_EQ(fault->tag, c.tag) << c.line;
            EXPECT_EQ(fault->reason, c.fault) << c.line;
        } else {
            const auto* sample = std::get_if<StdinSample>(&parsed);
            ASSERT_TRUE(sample) << c.line;
            EXPECT_EQ(sample->tag, c.tag);
            EXPECT_DOUBLE_EQ(sample->value, c.value);
        }
    }
}

TEST(StdinSource, APipeDeliversGoodLinesSkipsBadOnesAndItsEndDisconnects) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    StdinSource source(fds[0]);
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<QString, double>> values;
    std::vector<QString> rejected;
    bool ended = false;
    QObject::connect(&source, &DataSource::valueArrived, [&](const QString& tag, double v, qint64) {
        std::lock_guard lock(mutex);
        values.emplace_back(tag, v);
    });
    QObject::connect(&source, &DataSource::payloadRejected,
                     [&](const QString& tag, const QString&) {
                         std::lock_guard lock(mutex);
                         rejected.push_back(tag);
                     });
    QObject::connect(&source, &DataSource::connectionChanged, [&](bool connected, const QString&) {
        std::lock_guard lock(mutex);
        ended = !connected;
        changed.notify_all();
    });
    source.start({});
    const std::string input = "flow 12.5\n\nflow twelve\nlevel -3";
    ASSERT_EQ(::write(fds[1], input.data(), input.size()), ssize_t(input.size()));
    ::close(fds[1]);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return ended; }));
    }
    source.stop();
    ::close(fds[0]);
    const std::vector<std::pair<QString, double>> expected{{"flow", 12.5}, {"level", -3}};
    EXPECT_EQ(values, expected);
    EXPECT_EQ(rejected, std::vector<QString>{"flow"});
    EXPECT_FALSE(source.isConnected());
}

} // namespace
} // namespace merv::panel
