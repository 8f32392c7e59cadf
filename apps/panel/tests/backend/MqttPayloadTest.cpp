#include "panel/MqttPayload.h"

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

// Other stations, of this version or an older one, read these bytes: an older one reads the
// keys it knows, which keep their names and values; the gauge's tag is added beside them.
TEST(MqttAcknowledgement, IsWrittenAsOlderStationsReadIt) {
    const AlarmTransition ack{
        1700000000000, "north", "Drum level", AlarmKind::WarningLow, Transition::Acknowledged, 0,
        "drum/level"};
    EXPECT_EQ(writeAcknowledgement(ack),
              R"({"kind":"OnWarningLow","station":"north","tag":"drum/level",)"
              R"("time":1700000000000,"transition":"acknowledged","variable":"Drum level"})");
    const auto read = readAcknowledgement(writeAcknowledgement(ack));
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.acknowledgement, ack);
}

// What a station that sends no tag writes still reads: the alarm is then named by its caption.
TEST(MqttAcknowledgement, AnOlderStationsMessageReadsWithoutATag) {
    const auto read =
        readAcknowledgement(R"({"kind":"OnWarningLow","station":"north","time":1700000000000,)"
                            R"("transition":"acknowledged","variable":"Drum level"})");
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.acknowledgement,
              (AlarmTransition{1700000000000, "north", "Drum level", AlarmKind::WarningLow,
                               Transition::Acknowledged, 0, ""}));
}

TEST(MqttAcknowledgement, EachKindReadsBackByTheEventsName) {
    for (AlarmKind kind : AlarmKinds) {
        const auto read =
            readAcknowledgement(R"({"station":"s","variable":"v","time":5,"kind":")" +
                                std::string(nameOf(kind)) + R"(","transition":"acknowledged"})");
        EXPECT_EQ(read.error, "") << nameOf(kind);
        EXPECT_EQ(read.acknowledgement.kind, kind);
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
         "\"tag\" is not a text"},
    };
    for (const Case& c : cases) {
        const auto read = readAcknowledgement(c.payload);
        EXPECT_NE(read.error.find(c.error), std::string::npos) << c.payload << ": " << read.error;
    }
}

} // namespace
} // namespace merv::panel
