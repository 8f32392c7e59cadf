#include "panel/MqttSource.h"

#include "MosquittoBroker.h"
#include "QtTestApp.h"
#include "SourceRecorder.h"

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

using merv::test::MosquittoBroker;
using merv::test::MqttPublisher;

std::vector<SourceTag> tags(std::initializer_list<const char*> names) {
    std::vector<SourceTag> result;
    for (const char* name : names)
        result.push_back({name});
    return result;
}

TEST(MqttSource, AnAddressIsHostPortAndAnOptionalPrefix) {
    const MqttAddress a = readMqttAddress("mqtt://127.0.0.1:1883/plant/east");
    EXPECT_EQ(a.host, "127.0.0.1");
    EXPECT_EQ(a.port, 1883);
    EXPECT_EQ(a.prefix, "plant/east");
    for (const char* bad :
         {"mqtt://", "mqtt://host", "mqtt://host:0", "mqtt://host:99999", "mqtt://host:12x"})
        EXPECT_THROW(readMqttAddress(bad), SourceError) << bad;
}

TEST(MqttSource, ValuesArriveBadPayloadsAreRejectedAndABrokerRestartIsSurvived) {
    merv::test::ensureQtApp();
    MosquittoBroker broker;
    MqttSource source(readMqttAddress(broker.address("plant")), "station-a");
    SourceRecorder seen(source);
    source.start(tags({"drum/pressure", "drum/level"}));
    ASSERT_TRUE(seen.waitFor([&] { return seen.connected(); }));
    {
        MqttPublisher publisher(broker.port());
        publisher.publish("plant/drum/pressure", "41.5");
        publisher.publish("plant/drum/level", R"({"value": -12, "ts": 1700000000123})");
        publisher.publish("plant/drum/level", "not a number");
        ASSERT_TRUE(
            seen.waitFor([&] { return seen.values.size() == 2 && !seen.rejected.empty(); }));
    }
    EXPECT_EQ(seen.values, (std::vector<std::string>{"drum/pressure=41.5", "drum/level=-12"}));
    EXPECT_EQ(seen.times[1], 1700000000123);
    EXPECT_EQ(seen.rejected, std::vector<std::string>{"drum/level"});

    broker.stop();
    ASSERT_TRUE(seen.waitFor([&] { return !seen.connected(); }));
    broker.start();
    ASSERT_TRUE(seen.waitFor([&] { return seen.connected(); }, 15000));
    MqttPublisher publisher(broker.port());
    publisher.publish("plant/drum/pressure", "43");
    ASSERT_TRUE(seen.waitFor([&] { return seen.values.size() == 3; }));
    EXPECT_EQ(seen.values.back(), "drum/pressure=43");
    source.stop();
}

TEST(MqttSource, AnAcknowledgementReachesTheOtherStationsAndNotItsOwn) {
    merv::test::ensureQtApp();
    MosquittoBroker broker;
    MqttSource a(readMqttAddress(broker.address("plant")), "station-a");
    MqttSource b(readMqttAddress(broker.address("plant")), "station-b");
    SourceRecorder seenByA(a), seenByB(b);
    a.start(tags({"drum/level"}));
    b.start(tags({"drum/level"}));
    ASSERT_TRUE(seenByA.waitFor([&] { return seenByA.connected() && seenByB.connected(); }));
    EXPECT_TRUE(a.sharesAcknowledgements());
    a.publishAcknowledgement({1700000000000, "station-a", "Drum level", AlarmKind::AlarmHigh,
                              Transition::Acknowledged, 0});
    ASSERT_TRUE(seenByB.waitFor([&] { return !seenByB.acknowledgements.empty(); }));
    EXPECT_EQ(seenByB.acknowledgements,
              std::vector<std::string>{"station-a Drum level OnAlarmHigh 1700000000000"});
    EXPECT_TRUE(seenByA.acknowledgements.empty());
    a.stop();
    b.stop();
}

} // namespace
} // namespace merv::panel
