#include "panel/MqttPayload.h"

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

// Other stations, of this version or an older one, read these bytes: an older one reads the
// keys it knows, which keep their names and values; the gauge's tag, the operator, the raise
// time and the sender's run and number are added beside them.
TEST(MqttAcknowledgement, IsWrittenAsOlderStationsReadIt) {
    const SharedAcknowledgement ack{{1700000000000, "north", "Drum level", AlarmKind::WarningLow,
                                     Transition::Acknowledged, 0, "drum/level", "jo"},
                                    1699999990000,
                                    "00ff00ff00ff00ff",
                                    7};
    EXPECT_EQ(writeAcknowledgement(ack),
              R"({"instance":"00ff00ff00ff00ff","kind":"OnWarningLow","operator":"jo",)"
              R"("raised":1699999990000,"seq":7,"station":"north","tag":"drum/level",)"
              R"("time":1700000000000,"transition":"acknowledged","variable":"Drum level"})");
    const auto read = readAcknowledgement(writeAcknowledgement(ack));
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.message, ack);
}

// What a station that sends no tag writes still reads: the alarm is then named by its caption.
TEST(MqttAcknowledgement, AnOlderStationsMessageReadsWithoutATag) {
    const auto read =
        readAcknowledgement(R"({"kind":"OnWarningLow","station":"north","time":1700000000000,)"
                            R"("transition":"acknowledged","variable":"Drum level"})");
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.message,
              (SharedAcknowledgement{{1700000000000, "north", "Drum level", AlarmKind::WarningLow,
                                      Transition::Acknowledged, 0, "", ""},
                                     0,
                                     "",
                                     0}));
}

TEST(MqttAcknowledgement, EachKindReadsBackByTheEventsName) {
    for (AlarmKind kind : AlarmKinds) {
        const auto read =
            readAcknowledgement(R"({"station":"s","variable":"v","time":5,"kind":")" +
                                std::string(nameOf(kind)) + R"(","transition":"acknowledged"})");
        EXPECT_EQ(read.error, "") << nameOf(kind);
        EXPECT_EQ(read.message.acknowledgement.kind, kind);
    }
}

// A message no station of ours would send is an error, not an acknowledgement of something.
TEST(MqttAcknowledgement, RefusesAKindOrTransitionItDoesNotKnow) {
    struct Case {
        const char* payload;
        const char* error; // a part of the error's text
    };
    const Case cases[] = {
        {R"({"station":"s","variable":"v","time":5,"kind":"OnAlarmMedium",)"
         R"("transition":"acknowledged"})",
         "\"OnAlarmMedium\" is not an alarm kind"},
        {R"({"station":"s","variable":"v","time":5,"kind":"onalarmhigh",)"
         R"("transition":"acknowledged"})",
         "is not an alarm kind"},
        {R"({"station":"s","variable":"v","time":5,"kind":"OnAlarmHigh","transition":"raised"})",
         "is not \"acknowledged\""},
        {R"({"station":"s","variable":"v","time":5,"transition":"acknowledged"})",
         "needs the texts"},
        {R"({"station":"s","tag":7,"variable":"v","time":5,"kind":"OnAlarmHigh",)"
         R"("transition":"acknowledged"})",
         "\"tag\", \"operator\" or \"instance\" is not a text"},
        {R"({"station":"s","operator":["x"],"variable":"v","time":5,"kind":"OnAlarmHigh",)"
         R"("transition":"acknowledged"})",
         "is not a text"},
        {R"({"station":"s","variable":"v","time":5,"raised":-1,"kind":"OnAlarmHigh",)"
         R"("transition":"acknowledged"})",
         "\"raised\" is not a time"},
        {R"({"station":"s","variable":"v","time":5,"instance":"i","kind":"OnAlarmHigh",)"
         R"("transition":"acknowledged"})",
         "\"seq\""},
        {R"({"station":"s","variable":"v","time":5,"instance":"i","seq":-3,"kind":"OnAlarmHigh",)"
         R"("transition":"acknowledged"})",
         "\"seq\""},
    };
    for (const Case& c : cases) {
        const auto read = readAcknowledgement(c.payload);
        EXPECT_NE(read.error.find(c.error), std::string::npos) << c.payload << ": " << read.error;
    }
}

TEST(StationPresence, ReadsBackWhatItWrites) {
    const StationPresence presence{
        "00ff00ff00ff00ff", "mervgauge/north/0123", 1700000000000, "north-host", 4242, false};
    const auto read = readPresence(writePresence(presence));
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.presence, presence);
}

TEST(StationPresence, RefusesAMessageWithoutInstanceStartOrOnlineState) {
    for (const char* payload : {"", "not json", "[]", R"({"started": 1, "online": true})",
                                R"({"instance": "", "started": 1, "online": true})",
                                R"({"instance": "a", "online": true})",
                                R"({"instance": "a", "started": -1, "online": true})",
                                R"({"instance": "a", "started": 1})",
                                R"({"instance": "a", "started": 1, "online": 1})"}) {
        const auto read = readPresence(payload);
        EXPECT_NE(read.error, "") << payload;
    }
    EXPECT_NE(readPresence(std::string(MaxPayloadBytes + 1, ' ')).error, "");
}

// This panel runs on session S; the broker lets one link hold a session at a time, and gives
// no will to a link whose session another takes over.
TEST(StationPresence, IsJudgedAgainstThisPanelsOwn) {
    const StationPresence ours{"mine", "S", 1000, "here", 1, true};
    struct Case {
        const char* what;
        StationPresence seen;
        bool afterOwn;
        PresenceVerdict verdict;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"our own, back from the broker",
              {"mine", "S", 1000, "here", 1, true},
              false,
              PresenceVerdict::Ours},
             {"another panel online on a session of its own",
              {"other", "T", 500, "there", 2, true},
              false,
              PresenceVerdict::Clash},
             {"a predecessor whose session we took over",
              {"other", "S", 500, "here", 2, true},
              false,
              PresenceVerdict::Gone},
             {"a panel that took our session after we had it: the two take turns",
              {"other", "S", 2000, "there", 2, true},
              true,
              PresenceVerdict::Clash},
             {"another panel gone",
              {"other", "T", 2000, "there", 2, false},
              true,
              PresenceVerdict::Gone},
             {"a predecessor gone",
              {"other", "S", 500, "here", 2, false},
              false,
              PresenceVerdict::Gone},
         })
        EXPECT_EQ(judgePresence(ours, c.seen, c.afterOwn), c.verdict) << c.what;
}

TEST(TopicLevel, EscapesWildcardsAndItsOwnEscape) {
    EXPECT_EQ(topicLevel("boiler/drum pressure"), "boiler/drum pressure");
    EXPECT_EQ(topicLevel("a+b#c%d"), "a%2Bb%23c%25d");
    EXPECT_EQ(topicLevel(std::string_view("x\0y", 3)), "x%00y");
}

} // namespace
} // namespace merv::panel
