#pragma once

#include "panel/DataSource.h"
#include "panel/HostPort.h"

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace merv::panel {

// Where an MQTT source connects: "mqtt://HOST:PORT[/PREFIX]". HOST may be an IPv6 address in
// brackets; the prefix has no MQTT wildcards and no slash at either end.
struct MqttAddress : HostPort {
    std::string prefix;
};
// Throws SourceError naming the address and what is wrong with it.
MqttAddress readMqttAddress(const std::string& address);

// Values from an MQTT broker: each tag is the topic PREFIX/TAG (TAG without a prefix), its
// payload a number or {"value": N, "ts": MS}. The network runs on a thread of the client
// library's; everything reaches the source's thread through queued calls. When the broker goes
// away the source reconnects with a growing delay and subscribes again; its session persists
// on the broker, which keeps what arrives meanwhile (QoS 1) and delivers it on reconnection.
//
// Stations sharing the broker share acknowledgements on PREFIX/mervgauge/ack; each station
// applies the acknowledgements of the others, and needs a name of its own for it.
class MqttSource : public DataSource {
    Q_OBJECT
public:
    MqttSource(const MqttAddress& address, const std::string& station, QObject* parent = nullptr);
    ~MqttSource() override;

    QString description() const override;
    void start(const std::vector<SourceTag>& tags) override;
    void stop() override;
    bool isConnected() const override { return m_connected; }

    bool sharesAcknowledgements() const override { return true; }
    void publishAcknowledgement(const AlarmTransition& acknowledgement) override;

    // The topic of a tag and the one acknowledgements travel on.
    std::string topicOf(const std::string& tag) const;
    std::string acknowledgementTopic() const;
    // The id of this station's persistent session with the broker, from the station's name and
    // what it subscribes to; known once started.
    std::string clientId() const;

    // Seconds between reconnection attempts: the first, doubling up to the last.
    static constexpr unsigned FirstReconnectDelayS = 1, LastReconnectDelayS = 30;
    static constexpr int KeepAliveS = 10;

private:
    // These run on the client library's thread.
    static void onConnect(mosquitto*, void* self, int rc);
    static void onDisconnect(mosquitto*, void* self, int rc);
    static void onSubscribe(mosquitto*, void* self, int mid, int count, const int* granted);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message);
    void subscribe();
    void takeAcknowledgement(const std::string& payload);
    // Runs f on the source's own thread.
    template <class F>
    void post(F&& f);

    void setConnected(bool connected, const QString& detail);
    void sendAcknowledgement(const AlarmTransition& acknowledgement);

    MqttAddress m_address;
    std::string m_station;
    std::string m_ackTopic;
    // Fixed once started: what the source subscribes to, in order, and the tag of each topic.
    std::vector<std::string> m_topics;
    std::unordered_map<std::string, std::string> m_tagOfTopic;
    mosquitto* m_client = nullptr;
    int m_subscribeMid = -1; // the client thread's
    bool m_connected = false;
    std::deque<AlarmTransition> m_unsent; // acknowledgements waiting for the broker
};

} // namespace merv::panel
