#include "panel/MqttSource.h"

#include "panel/Form.h"

#include "MosquittoBroker.h"
#include "QtTestApp.h"
#include "SourceRecorder.h"
#include "TcpProxy.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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

// The least of a broker on loopback that refuses the subscription to some topics: it answers
// one client's CONNECT and SUBSCRIBE, and refuses (0x80) the topics it is given.
class RefusingBroker {
public:
    explicit RefusingBroker(std::set<std::string> refused) : m_refused(std::move(refused)) {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(m_listener, 1);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~RefusingBroker() {
        ::shutdown(m_listener, SHUT_RDWR);
        if (m_client >= 0)
            ::shutdown(m_client, SHUT_RDWR);
        m_thread.join();
        if (m_client >= 0)
            ::close(m_client);
        ::close(m_listener);
    }
    std::string address() const { return "mqtt://127.0.0.1:" + std::to_string(m_port); }

private:
    bool readExactly(std::string& out, std::size_t n) {
        out.resize(n);
        for (std::size_t got = 0; got < n;) {
            const ssize_t r = ::read(m_client, out.data() + got, n - got);
            if (r <= 0)
                return false;
            got += std::size_t(r);
        }
        return true;
    }
    void send(const std::string& packet) {
        if (::write(m_client, packet.data(), packet.size()) != ssize_t(packet.size()))
            ::shutdown(m_client, SHUT_RDWR);
    }
    void serve() {
        m_client = ::accept(m_listener, nullptr, nullptr);
        std::string head, body;
        while (m_client >= 0 && readExactly(head, 1)) {
            std::size_t length = 0;
            for (int shift = 0;; shift += 7) {
                std::string byte;
                if (!readExactly(byte, 1))
                    return;
                length |= std::size_t(std::uint8_t(byte[0]) & 0x7f) << shift;
                if (!(std::uint8_t(byte[0]) & 0x80))
                    break;
            }
            if (!readExactly(body, length))
                return;
            const auto type = std::uint8_t(head[0]) >> 4;
            if (type == 1) { // CONNECT: accepted
                send(std::string("\x20\x02\x00\x00", 4));
            } else if (type == 8) { // SUBSCRIBE: a code for each topic, in order
                std::string answer = body.substr(0, 2);
                for (std::size_t at = 2; at + 2 <= body.size();) {
                    const std::size_t n = std::uint8_t(body[at]) << 8 | std::uint8_t(body[at + 1]);
                    answer += m_refused.count(body.substr(at + 2, n)) ? '\x80' : '\x01';
                    at += 2 + n + 1;
                }
                const std::string packet = std::string{'\x90', char(answer.size())} + answer;
                send(packet);
            } else if (type == 12) { // PINGREQ
                send(std::string("\xd0\x00", 2));
            }
        }
    }

    std::set<std::string> m_refused;
    int m_listener = -1;
    std::atomic<int> m_client = -1;
    int m_port = 0;
    std::thread m_thread;
};

TEST(MqttSource, ARefusedSubscriptionIsToldUnderTheTagThatReadsTheTopic) {
    merv::test::ensureQtApp();
    RefusingBroker broker({"drum/level"});
    MqttSource source(readMqttAddress(broker.address()), "station-a");
    SourceRecorder seen(source);
    std::vector<std::string> refused;
    QObject::connect(&source, &DataSource::tagRefused, [&](const QString& tag, const QString& why) {
        refused.push_back(tag.toStdString() + ": " + why.toStdString());
    });
    source.start(tags({"drum/pressure", "drum/level"}));
    ASSERT_TRUE(seen.waitFor([&] { return seen.connected(); }));
    EXPECT_EQ(refused, std::vector<std::string>{
                           "drum/level: the broker refused the subscription to drum/level"});
    EXPECT_TRUE(seen.rejected.empty());
    source.stop();
}

TEST(MqttSource, NoTagReadsTheStationsOwnTopics) {
    merv::test::ensureQtApp();
    for (const char* own : {AcknowledgementTag, "mervgauge/acked/OnAlarmHigh/drum/level",
                            "mervgauge/station/station-a"}) {
        MqttSource source(readMqttAddress("mqtt://127.0.0.1:1/plant"), "station-a");
        EXPECT_THROW(source.start(tags({"drum/level", own})), SourceError) << own;
    }
}

TEST(MqttSource, KeepsStateWhereNoTagCanReachIt) {
    MqttSource source(readMqttAddress("mqtt://127.0.0.1:1/plant"), "north+1");
    EXPECT_EQ(source.presenceTopic(), "plant/mervgauge/station/north%2B1");
    const AlarmTransition ack{
        1, "north+1", "Level", AlarmKind::WarningLow, Transition::Acknowledged, 0, "tank#1/level"};
    EXPECT_EQ(source.acknowledgementStateTopic(ack),
              "plant/mervgauge/acked/OnWarningLow/tank%231/level");
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

// What the broker kept from before the source subscribed is told apart from what is live.
TEST(MqttSource, ARetainedValueIsToldFromALiveOne) {
    merv::test::ensureQtApp();
    MosquittoBroker broker;
    MqttPublisher publisher(broker.port());
    publisher.publish("plant/drum/pressure", "41.5", true);
    ASSERT_TRUE(publisher.waitUntilTaken());
    MqttSource source(readMqttAddress(broker.address("plant")), "station-a");
    SourceRecorder seen(source);
    source.start(tags({"drum/pressure"}));
    ASSERT_TRUE(seen.waitFor([&] { return seen.values.size() == 1; }));
    publisher.publish("plant/drum/pressure", "42", true);
    ASSERT_TRUE(seen.waitFor([&] { return seen.values.size() == 2; }));
    EXPECT_EQ(seen.values, (std::vector<std::string>{"drum/pressure=41.5", "drum/pressure=42"}));
    EXPECT_EQ(seen.retained, (std::vector<bool>{true, false}));
}

// The broker keeps running; only this station's link to it is cut, by a relay between them.
TEST(MqttSource, ValuesPublishedWhileTheLinkIsDownArriveInOrderOnReconnection) {
    merv::test::ensureQtApp();
    MosquittoBroker broker;
    merv::test::TcpProxy link(broker.port());
    MqttSource source(readMqttAddress("mqtt://127.0.0.1:" + std::to_string(link.port()) + "/plant"),
                      "station-a");
    SourceRecorder seen(source);
    source.start(tags({"drum/pressure"}));
    ASSERT_TRUE(seen.waitFor([&] { return seen.connected(); }));
    MqttPublisher publisher(broker.port());
    publisher.publish("plant/drum/pressure", R"({"value": 30, "ts": 1700000000000})");
    ASSERT_TRUE(seen.waitFor([&] { return seen.values.size() == 1; }));

    link.cut();
    ASSERT_TRUE(seen.waitFor([&] { return !seen.connected(); }, 30000));
    // An alarm and its return while the station is away, then a value after them.
    publisher.publish("plant/drum/pressure", R"({"value": 99, "ts": 1700000001000})");
    publisher.publish("plant/drum/pressure", R"({"value": 31, "ts": 1700000002000})");
    publisher.publish("plant/drum/pressure", R"({"value": 32, "ts": 1700000003000})");
    link.restore();
    ASSERT_TRUE(seen.waitFor([&] { return seen.values.size() == 4; }, 30000));
    EXPECT_EQ(seen.values, (std::vector<std::string>{"drum/pressure=30", "drum/pressure=99",
                                                     "drum/pressure=31", "drum/pressure=32"}));
    EXPECT_EQ(seen.times,
              (std::vector<qint64>{1700000000000, 1700000001000, 1700000002000, 1700000003000}));
    source.stop();
}

TEST(MqttSource, TheSessionIdIsStableForAStationAndItsTopicsAndDiffersOtherwise) {
    const auto idOf = [](const std::string& address, const std::string& station,
                         std::initializer_list<const char*> names) {
        MqttSource source(readMqttAddress(address), station);
        // Unreachable: only the id is looked at.
        source.start(tags(names));
        const std::string id = source.clientId();
        source.stop();
        return id;
    };
    const std::string id = idOf("mqtt://127.0.0.1:1/plant", "a", {"x", "y"});
    EXPECT_EQ(id, idOf("mqtt://127.0.0.1:1/plant", "a", {"y", "x"}));
    EXPECT_EQ(id, idOf("mqtt://127.0.0.1:2/plant", "a", {"x", "y"})); // the broker's address
    EXPECT_NE(id, idOf("mqtt://127.0.0.1:1/plant", "b", {"x", "y"}));
    EXPECT_NE(id, idOf("mqtt://127.0.0.1:1/site", "a", {"x", "y"}));
    EXPECT_NE(id, idOf("mqtt://127.0.0.1:1/plant", "a", {"x"}));
    EXPECT_NE(id,
              idOf("mqtt://127.0.0.1:1", "a", {"plant/x", "plant/y"})); // same topics, no prefix
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
                              Transition::Acknowledged, 0, "drum/level"},
                             1699999990000);
    ASSERT_TRUE(seenByB.waitFor([&] { return !seenByB.acknowledgements.empty(); }));
    EXPECT_EQ(seenByB.acknowledgements,
              std::vector<std::string>{"station-a Drum level OnAlarmHigh 1700000000000"});
    EXPECT_TRUE(seenByA.acknowledgements.empty());
    a.stop();
    b.stop();
}

} // namespace
} // namespace merv::panel
