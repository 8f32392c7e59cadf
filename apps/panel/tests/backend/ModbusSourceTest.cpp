#include "panel/ModbusSource.h"

#include "ModbusServer.h"
#include "QtTestApp.h"
#include "SourceRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace merv::panel {
namespace {

using merv::test::ModbusServer;
using Kind = ModbusServer::Kind;

constexpr int PollMs = 20; // fast polls keep the tests short

std::vector<SourceTag> tags(std::initializer_list<const char*> names) {
    std::vector<SourceTag> result;
    for (const char* name : names)
        result.push_back({name});
    return result;
}

std::vector<std::string> sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(ModbusSource, AnAddressIsHostAndPort) {
    const ModbusAddress a = readModbusAddress("modbus-tcp://[::1]:1502");
    EXPECT_EQ(a.host, "::1");
    EXPECT_EQ(a.port, 1502);
    // The status bar shows the address as it was written.
    EXPECT_EQ(ModbusSource(a, 500).description().toStdString(), "modbus-tcp://[::1]:1502");
    for (const char* bad : {"modbus-tcp://", "modbus-tcp://plc", "modbus-tcp://plc:0",
                            "modbus-tcp://plc:502/x", "modbus://plc:502"})
        EXPECT_THROW(readModbusAddress(bad), SourceError) << bad;
}

TEST(ModbusSource, TagsNameUnitKindAddressTypeOrderScaleAndOffset) {
    struct Good {
        const char* text;
        int unit;
        RegisterKind kind;
        int address;
        RegisterType type;
        WordOrder order;
        double scale, offset;
    };
    const Good goods[] = {
        {"hr:100", 1, RegisterKind::Holding, 100, RegisterType::Uint16, WordOrder::Abcd, 1, 0},
        {"2/ir:7:int16*0.1", 2, RegisterKind::Input, 7, RegisterType::Int16, WordOrder::Abcd, 0.1,
         0},
        {"hr:40:float32:cdab*1e-3-273.15", 1, RegisterKind::Holding, 40, RegisterType::Float32,
         WordOrder::Cdab, 1e-3, -273.15},
        {"0/hr:65534:int32:dcba+5", 0, RegisterKind::Holding, 65534, RegisterType::Int32,
         WordOrder::Dcba, 1, 5},
        {"ir:3:float32:badc*-2", 1, RegisterKind::Input, 3, RegisterType::Float32, WordOrder::Badc,
         -2, 0},
    };
    for (const auto& g : goods) {
        const ModbusTag t = readModbusTag(g.text);
        EXPECT_EQ(std::tuple(t.text, t.unit, t.kind, t.address, t.type, t.order, t.scale, t.offset),
                  std::tuple(std::string(g.text), g.unit, g.kind, g.address, g.type, g.order,
                             g.scale, g.offset))
            << g.text;
    }

    struct Bad {
        const char* text;
        const char* says;
    };
    const Bad bads[] = {
        {"", "empty"},
        {"hr", "no \":ADDR\""},
        {"co:1", "register kind \"co\""},
        {"256/hr:1", "unit \"256\""},
        {"hr:65536", "address \"65536\""},
        {"hr:1:float64", "type \"float64\""},
        {"hr:1:int16:cdab", "int32 and float32 only"},
        {"hr:1:int32:abdc", "word order \"abdc\""},
        {"hr:1:int32:abcd:x", "too many parts"},
        {"hr:65535:float32", "past the last"},
        {"hr:1*x", "scale \"x\""},
        {"hr:1*0", "scale is zero"},
        {"hr:1+5 bar", "offset \"+5 bar\""},
    };
    for (const auto& b : bads) {
        try {
            readModbusTag(b.text);
            ADD_FAILURE() << b.text << " was read";
        } catch (const SourceError& error) {
            const std::string what = error.what();
            EXPECT_NE(what.find(std::string("\"") + b.text + "\""), std::string::npos) << what;
            EXPECT_NE(what.find(b.says), std::string::npos) << what;
        }
    }

    // A bad tag stops the source before it runs.
    ModbusSource source(readModbusAddress("modbus-tcp://127.0.0.1:1"), PollMs);
    EXPECT_THROW(source.start(tags({"hr:1", "hr:x"})), SourceError);
}

TEST(ModbusSource, ServedRegistersArriveDecodedScaledAndOffset) {
    merv::test::ensureQtApp();
    ModbusServer server;
    server.set(1, Kind::Holding, 0, std::uint16_t(-10));
    server.set(1, Kind::Holding, 1, 65535);
    server.set32(1, Kind::Holding, 2, std::uint32_t(-123456), "abcd");
    server.set32(1, Kind::Holding, 4, 70000, "cdab");
    server.setFloat(1, Kind::Input, 0, 1.25f, "abcd");
    server.setFloat(1, Kind::Input, 2, -3.5f, "badc");
    server.setFloat(1, Kind::Input, 4, 100.25f, "cdab");
    server.setFloat(1, Kind::Input, 6, 0.125f, "dcba");
    server.set(2, Kind::Holding, 0, 7);

    ModbusSource source(readModbusAddress(server.address()), PollMs);
    SourceRecorder seen(source);
    source.start(
        tags({"hr:0:int16*0.5+1", "hr:1", "hr:2:int32", "hr:4:int32:cdab", "ir:0:float32*2",
              "ir:2:float32:badc", "ir:4:float32:cdab-0.5", "ir:6:float32:dcba", "2/hr:0"}));
    ASSERT_TRUE(seen.waitFor([&] { return seen.values.size() >= 9; }));
    EXPECT_EQ(sorted({seen.values.begin(), seen.values.begin() + 9}),
              sorted({"hr:0:int16*0.5+1=-4", "hr:1=65535", "hr:2:int32=-123456",
                      "hr:4:int32:cdab=70000", "ir:0:float32*2=2.5", "ir:2:float32:badc=-3.5",
                      "ir:4:float32:cdab-0.5=99.75", "ir:6:float32:dcba=0.125", "2/hr:0=7"}));
    EXPECT_TRUE(seen.rejected.empty());
    EXPECT_EQ(seen.connections, std::vector<bool>{true});
}

TEST(ModbusSource, AnUnreadableRegisterMarksOnlyItsOwnTag) {
    merv::test::ensureQtApp();
    ModbusServer server;
    const int last = ModbusServer::RegisterCount - 1;
    server.set(1, Kind::Holding, last, 42);
    server.set32(1, Kind::Input, 0, 0x7FC00000, "abcd"); // a float NaN

    ModbusSource source(readModbusAddress(server.address()), PollMs);
    SourceRecorder seen(source);
    const std::string good = "hr:" + std::to_string(last);
    const std::string pastTheEnd = "hr:" + std::to_string(last + 1); // read with good at first
    source.start({{good}, {pastTheEnd}, {"ir:0:float32"}, {"9/hr:0"}});
    ASSERT_TRUE(seen.waitFor([&] { return seen.values.size() >= 3; }));
    EXPECT_EQ(seen.values, std::vector<std::string>(seen.values.size(), good + "=42"));
    // Told once, not once a poll.
    EXPECT_EQ(sorted(seen.rejected), sorted({pastTheEnd, "ir:0:float32", "9/hr:0"}));
    EXPECT_EQ(seen.connections, std::vector<bool>{true});
}

// A reply that does not answer the request is passed over, counted and told once; the answer
// that follows it is taken.
TEST(ModbusSource, AReplyToAnotherRequestIsDiscardedAndTheAnswerTaken) {
    merv::test::ensureQtApp();
    using Misreply = ModbusServer::Misreply;
    struct Case {
        Misreply how;
        ReplyFault fault;
    };
    for (const Case& c : {Case{Misreply::ForeignTransaction, ReplyFault::ForeignTransaction},
                          Case{Misreply::WrongUnit, ReplyFault::WrongUnit},
                          Case{Misreply::OneRegisterShort, ReplyFault::WrongLength}}) {
        ModbusServer server;
        server.set(1, Kind::Holding, 0, 11);
        server.set(1, Kind::Holding, 1, 12);
        server.misreply(c.how);
        ModbusSource source(readModbusAddress(server.address()), PollMs);
        SourceRecorder seen(source);
        source.start(tags({"hr:0", "hr:1"}));
        ASSERT_TRUE(seen.waitFor([&] { return seen.values.size() >= 4; })) << faultName(c.fault);
        EXPECT_EQ(sorted({seen.values.begin(), seen.values.begin() + 2}),
                  sorted({"hr:0=11", "hr:1=12"}));
        EXPECT_GE(source.discardedReplies(c.fault), 2u) << faultName(c.fault);
        EXPECT_EQ(seen.notices.size(), 1u) << faultName(c.fault);
        EXPECT_NE(seen.notices.front().find(faultName(c.fault)), std::string::npos);
        EXPECT_EQ(seen.connections, std::vector<bool>{true}) << faultName(c.fault);
        EXPECT_TRUE(seen.rejected.empty());
    }
}

// A stream that is no Modbus TCP, or an answer after the response timeout, is never decoded:
// the connection is in doubt and made again.
TEST(ModbusSource, AnUnframableOrLateReplyIsNeverDecoded) {
    merv::test::ensureQtApp();
    using Misreply = ModbusServer::Misreply;
    for (const auto& [how, says] : {std::pair{Misreply::NotModbus, "no Modbus TCP frame"},
                                    std::pair{Misreply::Late, "no reply within"}}) {
        ModbusServer server;
        server.set(1, Kind::Holding, 0, 11);
        server.misreply(how);
        ModbusSource source(readModbusAddress(server.address()), PollMs);
        SourceRecorder seen(source);
        source.start(tags({"hr:0"}));
        ASSERT_TRUE(seen.waitFor([&] { return seen.connections.size() >= 2; }, 10000)) << says;
        EXPECT_TRUE(seen.values.empty()) << says;
        EXPECT_NE(seen.details[1].find(says), std::string::npos) << seen.details[1];
        if (how == Misreply::NotModbus)
            EXPECT_GE(source.discardedReplies(ReplyFault::WrongLength), 1u);
        source.stop();
    }
}

TEST(ModbusSource, AStoppedServerIsReportedAndPolledAgainWhenItIsBack) {
    merv::test::ensureQtApp();
    ModbusServer server;
    server.set(1, Kind::Holding, 0, 1);
    ModbusSource source(readModbusAddress(server.address()), PollMs);
    SourceRecorder seen(source);
    source.start(tags({"hr:0"}));
    ASSERT_TRUE(seen.waitFor([&] { return !seen.values.empty(); }));

    server.stop();
    ASSERT_TRUE(seen.waitFor([&] { return !seen.connected(); }));
    server.set(1, Kind::Holding, 0, 2);
    server.start();
    ASSERT_TRUE(seen.waitFor([&] { return seen.values.back() == "hr:0=2"; }));
    EXPECT_EQ(seen.connections, (std::vector<bool>{true, false, true}));
    EXPECT_NE(seen.details[1].find("lost the server"), std::string::npos) << seen.details[1];
}

TEST(ModbusSource, AServerThatDropsEveryConnectionIsNotHammered) {
    merv::test::ensureQtApp();
    ModbusServer server;
    server.set(1, Kind::Holding, 0, 1);
    server.dropClients();
    ModbusSource source(readModbusAddress(server.address()), PollMs);
    SourceRecorder seen(source);
    source.start(tags({"hr:0"}));
    QTest::qWait(ModbusSource::FirstReconnectDelayMs / 4);
    EXPECT_EQ(server.connectionsTaken(), 1);
    EXPECT_EQ(seen.connections, (std::vector<bool>{true, false}));
}

TEST(ModbusSource, StopDoesNotWaitForAServerThatNeverAnswers) {
    merv::test::ensureQtApp();
    // A port that takes connections into its backlog and never reads them.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&address), size), 0);
    ::listen(silent, 1);
    ::getsockname(silent, reinterpret_cast<sockaddr*>(&address), &size);

    ModbusSource source({"127.0.0.1", ntohs(address.sin_port)}, PollMs);
    SourceRecorder seen(source);
    source.start(tags({"hr:0"}));
    ASSERT_TRUE(seen.waitFor([&] { return seen.connected(); }));
    QTest::qWait(50); // the first request is waiting for its answer now
    const auto before = std::chrono::steady_clock::now();
    source.stop();
    const auto took = std::chrono::steady_clock::now() - before;
    ::close(silent);
    EXPECT_LT(took, std::chrono::milliseconds(ModbusSource::ResponseTimeoutMs / 4));
}

} // namespace
} // namespace merv::panel
