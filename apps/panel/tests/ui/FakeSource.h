#pragma once

#include "panel/DataSource.h"

#include <vector>

namespace merv::panel {

class FakeSource;

// Carries acknowledgements between the fake sources of several stations, as a broker would.
struct FakeChannel {
    std::vector<FakeSource*> members;
};

// A source the test drives by hand, on simulated time.
class FakeSource : public DataSource {
public:
    explicit FakeSource(FakeChannel* channel = nullptr) : m_channel(channel) {
        if (channel)
            channel->members.push_back(this);
    }
    QString description() const override { return QStringLiteral("fake"); }
    void start(const std::vector<SourceTag>& tags) override { started = tags; }
    void stop() override {}
    bool isConnected() const override { return connected; }
    bool hasSimulatedTime() const override { return true; }
    void advance(std::int64_t ms) override { now += ms; }
    std::int64_t nowMs() const override { return now; }
    bool sharesAcknowledgements() const override { return m_channel != nullptr; }
    void publishAcknowledgement(const AlarmTransition& ack, std::int64_t) override {
        for (FakeSource* other : m_channel->members)
            if (other != this)
                emit other->acknowledgementArrived(ack, false);
    }
    void send(const char* tag, double value) {
        emit valueArrived(QString::fromLatin1(tag), value, now);
    }
    // As a source's own thread hands a value over: queued, taken at the window's pace. Safe
    // from any thread.
    void sendFromThread(const char* tag, double value) {
        deliverValue([this, tag = QString::fromLatin1(tag), value, at = now] {
            emit valueArrived(tag, value, at);
        });
    }
    // Gives every tag its first value, the one its gauge started with, as a source does when
    // it has reached its peer: the gauges then have data and none of them changes.
    void sendStartValues() {
        for (const SourceTag& tag : started)
            emit valueArrived(QString::fromStdString(tag.tag), tag.normal, now);
    }
    void setConnected(bool on) {
        connected = on;
        emit connectionChanged(on, on ? QString() : QStringLiteral("peer gone"));
    }

    std::vector<SourceTag> started;
    std::int64_t now = 1'700'000'000'000;
    bool connected = true;

private:
    FakeChannel* m_channel;
};

} // namespace merv::panel
