#pragma once

#include "panel/DataSource.h"
#include "panel/HostPort.h"
#include "panel/MqttPayload.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace merv::panel {

// Where an MQTT source connects: "mqtt://HOST:PORT[/PREFIX]", or "mqtts://..." over TLS. HOST
// may be an IPv6 address in brackets; the prefix has no MQTT wildcards and no slash at either
// end. A login never goes in the address.
struct MqttAddress : HostPort {
    std::string prefix;
    bool tls = false;
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
// applies the acknowledgements of the others, and needs a name of its own for it. The latest
// acknowledgement of each alarm is also kept on the broker (retained, under
// PREFIX/mervgauge/acked/KIND/IDENTITY), so that a station that was away, or whose session the
// broker lost, catches up when it connects. Each station keeps its presence retained under
// PREFIX/mervgauge/station/NAME, replaced by the broker when its link dies, and so finds another
// panel running under its name.
class MqttSource : public DataSource {
    Q_OBJECT
public:
    // Throws SourceError for security options the address cannot use (TLS files on a plain
    // link, a certificate without its key, a password without a user) and for a password file
    // that cannot be read or that others can read.
    MqttSource(const MqttAddress& address, const std::string& station,
               const MqttSecurity& security = {}, QObject* parent = nullptr);
    ~MqttSource() override;

    QString description() const override;
    void checkTags(const std::vector<SourceTag>& tags) const override;
    void start(const std::vector<SourceTag>& tags) override;
    void stop() override;
    bool isConnected() const override { return m_connected; }

    bool sharesAcknowledgements() const override { return true; }
    void publishAcknowledgement(const AlarmTransition& acknowledgement,
                                std::int64_t raisedMs) override;
    // The most senders' runs whose last sequence number a station remembers.
    static constexpr std::size_t RememberedRuns = 4096;

    // The topic of a tag and the one acknowledgements travel on.
    std::string topicOf(const std::string& tag) const;
    std::string acknowledgementTopic() const;
    // Where the latest acknowledgement of an alarm is kept, and this station's presence.
    std::string acknowledgementStateTopic(const AlarmTransition& acknowledgement) const;
    std::string presenceTopic() const;
    const StationPresence& presence() const noexcept { return m_presence; }
    // The id of this station's persistent session with the broker, from the station's name and
    // what it subscribes to; known once started.
    std::string clientId() const;

    // Seconds between reconnection attempts: the first, doubling up to the last.
    static constexpr unsigned FirstReconnectDelayS = 1, LastReconnectDelayS = 30;
    static constexpr int KeepAliveS = 10;
    // How long stopping waits for the broker to take the station's goodbye.
    static constexpr int GoodbyeWaitMs = 1000;

private:
    // These run on the client library's thread.
    static void onConnect(mosquitto*, void* self, int rc);
    static void onDisconnect(mosquitto*, void* self, int rc);
    static void onSubscribe(mosquitto*, void* self, int mid, int count, const int* granted);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message);
    static void onPublish(mosquitto*, void* self, int mid);
    static void onLog(mosquitto*, void* self, int level, const char* text);
    // Why the last attempt to connect failed, in the client library's or the broker's words;
    // taken (and cleared) by the client thread.
    std::string takeFailure();
    void configureSecurity();
    // The network thread: the client library's loop, and reconnection after any failure.
    void runNetwork();
    void subscribe();
    // kept: handed over from what the broker keeps, not published while the station listens.
    void takeAcknowledgement(const std::string& payload, bool kept);
    void refuse(AcknowledgementRefusal reason, const std::string& detail);
    void takePresence(const std::string& payload);
    // Returns the message's id, or -1 when the client could not send it.
    int publishPresence(bool online);
    // Runs f on the source's own thread.
    template <class F>
    void post(F&& f);

    void setConnected(bool connected, const QString& detail);
    void sendAcknowledgement(const SharedAcknowledgement& message);

    MqttAddress m_address;
    std::string m_station;
    MqttSecurity m_security;
    std::string m_password;
    std::mutex m_failureMutex;
    std::string m_failure; // the client thread's, under m_failureMutex
    bool m_failureTold = false;
    bool m_refused = false; // the client thread's: the broker refused the last connection
    std::atomic<bool> m_linkUp = false; // a connection the broker accepted is up
    std::uint64_t m_messagesTaken = 0;  // the network thread's own count of messages read
    std::thread m_network;
    std::mutex m_networkMutex;
    std::condition_variable m_networkWake;
    bool m_networkStopping = false; // under m_networkMutex
    QString m_detail;               // what the operator was last told of the link
    std::string m_ackTopic;
    std::string m_stationTopics; // PREFIX/mervgauge/: the stations' own
    std::string m_ackStateTopics, m_presenceTopic;
    StationPresence m_presence;
    bool m_ownPresenceSeen = false; // the client thread's
    std::mutex m_goodbyeMutex;
    std::condition_variable m_goodbyeTaken;
    int m_goodbyeMid = -1;
    bool m_goodbyeDone = false;
    // Fixed once started: what the source subscribes to, in order, and the tag of each topic.
    std::vector<std::string> m_topics;
    std::unordered_map<std::string, std::string> m_tagOfTopic;
    mosquitto* m_client = nullptr;
    int m_subscribeMid = -1; // the client thread's
    bool m_connected = false;
    std::deque<SharedAcknowledgement> m_unsent; // acknowledgements waiting for the broker
    std::uint64_t m_sequence = 0;               // of this run's last acknowledgement
    // The client thread's: the last sequence number of each sender's run ("station\ninstance").
    std::map<std::string, std::uint64_t> m_lastSequence;
};

} // namespace merv::panel
