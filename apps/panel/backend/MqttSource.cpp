#include "panel/MqttSource.h"

#include "panel/DeliveryQueue.h"
#include "panel/Form.h"
#include "panel/MqttPayload.h"
#include "panel/ThreadName.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QSysInfo>

#include <mosquitto.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <unistd.h>

namespace merv::panel {

namespace {

constexpr std::string_view Scheme = "mqtt://", TlsScheme = "mqtts://";
constexpr std::string_view AddressForm = "mqtt://HOST:PORT[/PREFIX] or mqtts://HOST:PORT[/PREFIX]";
constexpr int Qos = 1; // acknowledgements must arrive; values keep the publisher's own QoS

[[noreturn]] void badAddress(const std::string& address, const std::string& why) {
    throw SourceError("MQTT source \"" + address + "\": " + why + " (use " +
                      std::string(AddressForm) + ")");
}

bool hasWildcard(std::string_view topic) {
    return topic.find_first_of(std::string_view("+#\0", 3)) != std::string_view::npos;
}

void initialiseLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

// A token no other run draws: it tells this panel's presence from another's under the name.
std::string drawInstance() {
    std::random_device entropy;
    const std::uint64_t token = (std::uint64_t(entropy()) << 32) ^ entropy();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(token));
    return text;
}

// The broker's answers to a login it refuses (MQTT 3.1.1 CONNACK return codes).
constexpr int MqttRefusedLogin = 4, MqttNotAuthorised = 5;

// The client library's words for a failed connection, with what they mean for a TLS link said
// first, in the operator's terms.
std::string failureCause(const std::string& logged) {
    if (logged.find("host name verification failed") != std::string::npos)
        return "the broker's certificate is not for the host in the address (" + logged + ")";
    if (logged.find("certificate verify failed") != std::string::npos)
        return "the broker's certificate does not verify against the CA (--mqtt-cafile, or the "
               "system's) (" +
               logged + ")";
    return logged;
}

QString errorText(int rc) {
    return QString::fromUtf8(rc == MOSQ_ERR_ERRNO ? std::strerror(errno) : mosquitto_strerror(rc));
}

} // namespace

MqttAddress readMqttAddress(const std::string& address) {
    std::string_view rest(address);
    MqttAddress out;
    out.tls = rest.starts_with(TlsScheme);
    if (!out.tls && !rest.starts_with(Scheme))
        badAddress(address, "not an mqtt:// or mqtts:// address");
    rest.remove_prefix(out.tls ? TlsScheme.size() : Scheme.size());
    const auto slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    std::string_view prefix = slash == std::string_view::npos ? "" : rest.substr(slash + 1);
    // Said before the host is read: "user:secret@host" would read as a malformed host.
    if (authority.find('@') != std::string_view::npos)
        throw SourceError("MQTT source: a login does not go in the address; give the user with "
                          "--mqtt-user and the password in a file only you can read with "
                          "--mqtt-password-file (or in " +
                          std::string(PasswordVariable) + ")");

    if (const std::string why = readHostPort(authority, out); !why.empty())
        badAddress(address, why);
    while (prefix.ends_with('/'))
        prefix.remove_suffix(1);
    if (hasWildcard(prefix))
        badAddress(address, "the prefix holds an MQTT wildcard");
    out.prefix = std::string(prefix);
    return out;
}

MqttSource::MqttSource(const MqttAddress& address, const std::string& station,
                       const MqttSecurity& security, QObject* parent)
    : DataSource(parent), m_address(address),
      m_station(station.empty() ? QSysInfo::machineHostName().toStdString() : station),
      m_security(security), m_ackTopic(topicOf(AcknowledgementTag)),
      m_stationTopics(topicOf(std::string(StationTagPrefix))),
      m_ackStateTopics(m_stationTopics + "acked/"),
      m_presenceTopic(m_stationTopics + "station/" + topicLevel(m_station)),
      m_presence{drawInstance(),
                 {},
                 QDateTime::currentMSecsSinceEpoch(),
                 QSysInfo::machineHostName().toStdString(),
                 std::int64_t(::getpid()),
                 true} {
    const std::string name = "MQTT source " + description().toStdString() + ": ";
    const bool tlsFiles =
        !security.caFile.empty() || !security.certFile.empty() || !security.keyFile.empty();
    if (tlsFiles && !address.tls)
        throw SourceError(name + "the TLS files (--mqtt-cafile, --mqtt-cert, --mqtt-key) need an "
                                 "mqtts:// address; a plain link would ignore them");
    if (security.certFile.empty() != security.keyFile.empty())
        throw SourceError(name + "a client certificate (--mqtt-cert) goes with its key "
                                 "(--mqtt-key)");
    for (const std::string* file : {&security.caFile, &security.certFile, &security.keyFile})
        if (!file->empty() && !std::filesystem::is_regular_file(*file))
            throw SourceError(name + *file + ": no such file");
    if (!security.passwordFile.empty())
        m_password = readPasswordFile(security.passwordFile);
    else if (const char* fromEnvironment = std::getenv(PasswordVariable))
        m_password = fromEnvironment;
    if (!m_password.empty() && security.user.empty())
        throw SourceError(name + "a password needs a user (--mqtt-user)");
}

MqttSource::~MqttSource() {
    stop();
}

QString MqttSource::description() const {
    return QString::fromStdString(std::string(m_address.tls ? TlsScheme : Scheme) +
                                  hostPortText(m_address) +
                                  (m_address.prefix.empty() ? "" : "/" + m_address.prefix));
}

std::string MqttSource::topicOf(const std::string& tag) const {
    return m_address.prefix.empty() ? tag : m_address.prefix + "/" + tag;
}

std::string MqttSource::clientId() const {
    // FNV-1a: the same on every build, so a restarted panel finds its session again. Another
    // prefix or another set of topics is another session, never one holding stale subscriptions.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::string_view text) {
        for (const unsigned char c : text)
            hash = (hash ^ c) * 1099511628211ull;
        hash = (hash ^ 0xff) * 1099511628211ull; // ends each part
    };
    mix(m_address.prefix);
    std::vector<std::string> topics = m_topics;
    std::sort(topics.begin(), topics.end());
    for (const auto& topic : topics)
        mix(topic);
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(hash));
    return "mervgauge/" + m_station + "/" + suffix;
}

std::string MqttSource::acknowledgementTopic() const {
    return m_ackTopic;
}

std::string MqttSource::acknowledgementStateTopic(const AlarmTransition& acknowledgement) const {
    return m_ackStateTopics + std::string(nameOf(acknowledgement.kind)) + "/" +
           topicLevel(acknowledgement.tag);
}

std::string MqttSource::presenceTopic() const {
    return m_presenceTopic;
}

template <class F>
void MqttSource::post(F&& f) {
    deliver(std::forward<F>(f));
}

void MqttSource::checkTags(const std::vector<SourceTag>& tags) const {
    for (const auto& tag : tags) {
        if (tag.tag.empty() || hasWildcard(tag.tag))
            throw SourceError("MQTT tag \"" + tag.tag +
                              "\" is empty or holds a wildcard (+ or #); a tag names one topic");
        const auto topic = topicOf(tag.tag);
        if (topic.starts_with(m_stationTopics))
            throw SourceError("MQTT tag \"" + tag.tag + "\" is the topic " + topic + ", under " +
                              m_stationTopics +
                              " where stations share acknowledgements and their presence");
    }
}

void MqttSource::start(const std::vector<SourceTag>& tags) {
    checkTags(tags);
    for (const auto& tag : tags) {
        const auto topic = topicOf(tag.tag);
        if (m_tagOfTopic.emplace(topic, tag.tag).second)
            m_topics.push_back(topic);
    }
    m_topics.push_back(m_ackTopic);
    m_topics.push_back(m_ackStateTopics + "#");
    m_topics.push_back(m_presenceTopic);

    initialiseLibraryOnce();
    // A persistent session: while the link is down the broker keeps the QoS 1 messages of this
    // station's subscriptions and delivers them in order when it is back.
    m_client = mosquitto_new(clientId().c_str(), false, this);
    if (!m_client)
        throw SourceError("MQTT source " + description().toStdString() +
                          ": cannot create a client: " + std::strerror(errno));
    mosquitto_connect_callback_set(m_client, &MqttSource::onConnect);
    mosquitto_disconnect_callback_set(m_client, &MqttSource::onDisconnect);
    mosquitto_subscribe_callback_set(m_client, &MqttSource::onSubscribe);
    mosquitto_message_callback_set(m_client, &MqttSource::onMessage);
    mosquitto_publish_callback_set(m_client, &MqttSource::onPublish);
    mosquitto_log_callback_set(m_client, &MqttSource::onLog);
    try {
        configureSecurity();
    } catch (...) {
        stop();
        throw;
    }
    // Publishing and stopping come from the source's thread while the network thread runs.
    mosquitto_threaded_set(m_client, true);
    // Whenever the link dies without a goodbye, the broker says for this panel that it is gone.
    m_presence.session = clientId();
    StationPresence gone = m_presence;
    gone.online = false;
    const std::string will = writePresence(gone);
    mosquitto_will_set(m_client, m_presenceTopic.c_str(), int(will.size()), will.data(), Qos, true);

    // A broker not there yet is tried again by the client's thread like a lost one.
    const int rc =
        mosquitto_connect_async(m_client, m_address.host.c_str(), m_address.port, KeepAliveS);
    if (rc != MOSQ_ERR_SUCCESS)
        post([this, why = errorText(rc)] {
            emit connectionChanged(false,
                                   tr("cannot reach the broker at %1: %2").arg(description(), why));
        });
    m_network = std::thread([this] {
        nameThisThread("merv-mqtt");
        runNetwork();
    });
}

namespace {
// The most a message waits on the network thread before it goes to the window's thread with
// the others that came meanwhile: well within a frame.
constexpr int GatherMs = 4;
// How long a busy link's next messages gather in the socket before this thread reads them all:
// a fraction of a frame, which a message may wait there on top of the frame's pace.
constexpr int ReadBatchMs = 2;
} // namespace

void MqttSource::runNetwork() {
    // The client library's own loop ends for good at a TLS failure; this one tries again after
    // every failure, with a growing delay, until stopped.
    constexpr int LoopWaitMs = 100; // how soon stop() is noticed
    auto delay = std::chrono::seconds(FirstReconnectDelayS);
    // What the messages bring reaches the window's thread in batches, a few milliseconds'
    // worth at a time: one wake-up per message would cost that thread more than the values.
    deliveries().gatherOnThisThread();
    // Nothing gathered stays behind when the thread ends.
    const auto flushAtEnd = qScopeGuard([this] { deliveries().flush(); });
    for (;;) {
        {
            const std::lock_guard lock(m_networkMutex);
            if (m_networkStopping)
                return;
        }
        const auto waiting = deliveries().release(std::chrono::milliseconds(GatherMs));
        const int waitMs = waiting ? int(waiting->count()) : LoopWaitMs;
        const auto loopStart = std::chrono::steady_clock::now();
        std::uint64_t taken = m_messagesTaken;
        int rc = mosquitto_loop(m_client, waitMs, 1);
        // A busy link is read in batches: a pass that took a message lets the next ones gather
        // in the socket for a moment, then reads every one that came, so this thread wakes
        // once for several messages, where it would wake for each.
        if (rc == MOSQ_ERR_SUCCESS && m_messagesTaken != taken) {
            std::this_thread::sleep_until(loopStart + std::chrono::milliseconds(ReadBatchMs));
            do {
                taken = m_messagesTaken;
                rc = mosquitto_loop(m_client, 0, 1);
            } while (rc == MOSQ_ERR_SUCCESS && m_messagesTaken != taken);
        }
        deliveries().release(std::chrono::milliseconds(GatherMs));
        if (rc == MOSQ_ERR_SUCCESS) {
            if (m_linkUp)
                delay = std::chrono::seconds(FirstReconnectDelayS);
            continue;
        }
        // What the failure brought (the reason the link is down) is told before the wait.
        deliveries().flush();
        std::unique_lock lock(m_networkMutex);
        if (m_networkWake.wait_for(lock, delay, [this] { return m_networkStopping; }))
            return;
        lock.unlock();
        delay = std::min(delay * 2, std::chrono::seconds(LastReconnectDelayS));
        mosquitto_reconnect_async(m_client);
    }
}

void MqttSource::configureSecurity() {
    const std::string name = "MQTT source " + description().toStdString() + ": ";
    const auto check = [&](int rc, const char* what) {
        if (rc != MOSQ_ERR_SUCCESS)
            throw SourceError(name + what + ": " + errorText(rc).toStdString());
    };
    if (!m_security.user.empty())
        check(mosquitto_username_pw_set(m_client, m_security.user.c_str(),
                                        m_password.empty() ? nullptr : m_password.c_str()),
              "cannot set the login");
    if (!m_address.tls)
        return;
    const auto orNull = [](const std::string& text) {
        return text.empty() ? nullptr : text.c_str();
    };
    if (m_security.caFile.empty())
        check(mosquitto_int_option(m_client, MOSQ_OPT_TLS_USE_OS_CERTS, 1),
              "cannot use the system's certificate authorities");
    if (!m_security.caFile.empty() || !m_security.certFile.empty())
        check(mosquitto_tls_set(m_client, orNull(m_security.caFile), nullptr,
                                orNull(m_security.certFile), orNull(m_security.keyFile), nullptr),
              "cannot use the TLS files");
    // The broker's certificate must verify, and name the host the address gives.
    constexpr int VerifyPeer = 1;
    check(mosquitto_tls_opts_set(m_client, VerifyPeer, nullptr, nullptr), "cannot set TLS options");
    check(mosquitto_tls_insecure_set(m_client, false), "cannot require the broker's name");
}

void MqttSource::stop() {
    if (!m_client)
        return;
    // A goodbye, which the broker must have taken before the link closes: it sends the will
    // only for a link that dies.
    if (m_connected) {
        std::unique_lock lock(m_goodbyeMutex);
        m_goodbyeMid = publishPresence(false);
        if (m_goodbyeMid >= 0)
            m_goodbyeTaken.wait_for(lock, std::chrono::milliseconds(GoodbyeWaitMs),
                                    [this] { return m_goodbyeDone; });
    }
    mosquitto_disconnect(m_client);
    if (m_network.joinable()) {
        {
            const std::lock_guard lock(m_networkMutex);
            m_networkStopping = true;
        }
        m_networkWake.notify_all();
        m_network.join();
    }
    mosquitto_destroy(m_client);
    m_client = nullptr;
    m_connected = false;
}

void MqttSource::publishAcknowledgement(const AlarmTransition& acknowledgement,
                                        std::int64_t raisedMs) {
    SharedAcknowledgement mine{acknowledgement, raisedMs, m_presence.instance, ++m_sequence};
    mine.acknowledgement.station = m_station;
    mine.acknowledgement.transition = Transition::Acknowledged;
    if (m_connected)
        sendAcknowledgement(mine);
    else
        m_unsent.push_back(mine);
}

void MqttSource::sendAcknowledgement(const SharedAcknowledgement& message) {
    const auto payload = writeAcknowledgement(message);
    const int rc = mosquitto_publish(m_client, nullptr, m_ackTopic.c_str(), int(payload.size()),
                                     payload.data(), Qos, false);
    // The broker went away in between: sent again once it is back.
    if (rc != MOSQ_ERR_SUCCESS) {
        m_unsent.push_back(message);
        return;
    }
    // Kept for stations that come later; a gauge without an identity has no such place.
    if (!message.acknowledgement.tag.empty()) {
        const auto state = acknowledgementStateTopic(message.acknowledgement);
        mosquitto_publish(m_client, nullptr, state.c_str(), int(payload.size()), payload.data(),
                          Qos, true);
    }
}

void MqttSource::setConnected(bool connected, const QString& detail) {
    // A new reason is news even while the link stays down: the operator learns why.
    if (connected == m_connected && detail == m_detail)
        return;
    const bool changed = connected != m_connected;
    m_connected = connected;
    m_detail = detail;
    emit connectionChanged(connected, detail);
    if (connected && changed) {
        auto unsent = std::move(m_unsent);
        m_unsent.clear();
        for (const auto& message : unsent)
            sendAcknowledgement(message);
    }
}

void MqttSource::onConnect(mosquitto*, void* self, int rc) {
    auto* source = static_cast<MqttSource*>(self);
    if (rc != 0) {
        // The broker closes the link next; what the operator must read is this.
        source->m_refused = true;
        const bool login = rc == MqttRefusedLogin || rc == MqttNotAuthorised;
        source->post([source, login, why = QString::fromUtf8(mosquitto_connack_string(rc))] {
            const QString user = QString::fromStdString(source->m_security.user);
            source->setConnected(
                false, (login ? user.isEmpty()
                                    ? tr("the broker at %1 refused the login without a user: %2")
                                          .arg(source->description(), why)
                                    : tr("the broker at %1 refused the login of user %2: %3")
                                          .arg(source->description(), user, why)
                              : tr("the broker at %1 refused the connection: %2")
                                    .arg(source->description(), why)) +
                           tr("; trying again with a growing delay"));
        });
        return;
    }
    source->m_refused = false;
    source->m_linkUp = true;
    source->subscribe();
    // After the subscription, so that the broker hands over the presence another panel left
    // under this name before this one replaces it.
    source->publishPresence(true);
}

int MqttSource::publishPresence(bool online) {
    StationPresence presence = m_presence;
    presence.online = online;
    const std::string payload = writePresence(presence);
    // A broker gone in between is told again by the next connection.
    int mid = -1;
    return mosquitto_publish(m_client, &mid, m_presenceTopic.c_str(), int(payload.size()),
                             payload.data(), Qos, true) == MOSQ_ERR_SUCCESS
               ? mid
               : -1;
}

void MqttSource::onPublish(mosquitto*, void* self, int mid) {
    auto* source = static_cast<MqttSource*>(self);
    const std::lock_guard lock(source->m_goodbyeMutex);
    if (mid == source->m_goodbyeMid) {
        source->m_goodbyeDone = true;
        source->m_goodbyeTaken.notify_all();
    }
}

void MqttSource::subscribe() {
    std::vector<char*> topics;
    for (auto& topic : m_topics)
        topics.push_back(topic.data());
    const int rc = mosquitto_subscribe_multiple(m_client, &m_subscribeMid, int(topics.size()),
                                                topics.data(), Qos, 0, nullptr);
    if (rc != MOSQ_ERR_SUCCESS)
        post([this, why = errorText(rc)] {
            setConnected(false, tr("cannot subscribe at %1: %2").arg(description(), why));
        });
}

void MqttSource::onSubscribe(mosquitto*, void* self, int mid, int count, const int* granted) {
    auto* source = static_cast<MqttSource*>(self);
    if (mid != source->m_subscribeMid)
        return;
    // The broker answers each topic of the request in order; 0x80 is a refusal. It is told
    // under the tag that reads the topic, so that its gauge is marked.
    for (int i = 0; i < count && i < int(source->m_topics.size()); ++i) {
        if (granted[i] <= 2)
            continue;
        const std::string& topic = source->m_topics[std::size_t(i)];
        const auto found = source->m_tagOfTopic.find(topic);
        const std::string& tag = found == source->m_tagOfTopic.end() ? topic : found->second;
        source->post(
            [source, tag = QString::fromStdString(tag), topic = QString::fromStdString(topic)] {
                emit source->tagRefused(tag,
                                        tr("the broker refused the subscription to %1").arg(topic));
            });
    }
    source->post(
        [source] { source->setConnected(true, tr("connected to %1").arg(source->description())); });
}

void MqttSource::onDisconnect(mosquitto*, void* self, int rc) {
    auto* source = static_cast<MqttSource*>(self);
    source->m_linkUp = false;
    if (rc == 0 || source->m_refused)
        return; // stop() asked for it, or the refusal said why already
    source->post([source] {
        source->setConnected(false,
                             tr("lost the broker at %1; reconnecting").arg(source->description()));
    });
}

void MqttSource::onLog(mosquitto*, void* self, int level, const char* text) {
    if (level != MOSQ_LOG_ERR || !text)
        return;
    // The errors of one attempt come one after the other, the client library's own first
    // ("host name verification failed"), then the TLS library's: told together, once.
    auto* source = static_cast<MqttSource*>(self);
    {
        const std::lock_guard lock(source->m_failureMutex);
        if (source->m_failure.find(text) != std::string::npos)
            return;
        source->m_failure += (source->m_failure.empty() ? "" : "; ") + std::string(text);
        if (source->m_failureTold)
            return;
        source->m_failureTold = true;
    }
    source->post([source] {
        const std::string why = source->takeFailure();
        if (!why.empty() && !source->m_connected)
            source->setConnected(
                false, tr("cannot connect to the broker at %1: %2; trying again "
                          "with a growing delay")
                           .arg(source->description(), QString::fromStdString(failureCause(why))));
    });
}

std::string MqttSource::takeFailure() {
    const std::lock_guard lock(m_failureMutex);
    m_failureTold = false;
    return std::exchange(m_failure, {});
}

void MqttSource::onMessage(mosquitto*, void* self, const mosquitto_message* message) {
    auto* source = static_cast<MqttSource*>(self);
    ++source->m_messagesTaken;
    const std::string topic(message->topic);
    const std::string_view payload(static_cast<const char*>(message->payload),
                                   std::size_t(std::max(message->payloadlen, 0)));
    if (topic == source->m_ackTopic) {
        source->takeAcknowledgement(std::string(payload), false);
        return;
    }
    if (topic.starts_with(source->m_ackStateTopics)) {
        // Kept ones only, handed over on subscription: one published while the station listens
        // came on the acknowledgement topic too. An empty one clears what the broker kept.
        if (message->retain && !payload.empty())
            source->takeAcknowledgement(std::string(payload), true);
        return;
    }
    if (topic == source->m_presenceTopic) {
        if (!payload.empty())
            source->takePresence(std::string(payload));
        return;
    }
    const auto found = source->m_tagOfTopic.find(topic);
    if (found == source->m_tagOfTopic.end())
        return; // subscribed only to our own topics; a broker may still send what it likes
    const auto tag = QString::fromStdString(found->second);
    const auto read = readValuePayload(payload);
    if (!read.error.empty()) {
        source->post([source, tag, why = QString::fromStdString(read.error)] {
            emit source->payloadRejected(tag, why);
        });
        return;
    }
    const qint64 timeMs = read.timeMs ? *read.timeMs : source->nowMs();
    source->deliverValue([source, tag, value = read.value, timeMs, retained = message->retain] {
        emit source->valueArrived(tag, value, timeMs, retained);
    });
}

void MqttSource::takeAcknowledgement(const std::string& payload, bool kept) {
    auto read = readAcknowledgement(payload);
    if (!read.error.empty()) {
        refuse(read.oversized ? AcknowledgementRefusal::Oversized
                              : AcknowledgementRefusal::Malformed,
               read.error);
        return;
    }
    const SharedAcknowledgement& message = read.message;
    // Our own, back from the broker. One that only claims this station's name is another
    // panel's (or a forgery the broker let through): taken like any other, so that every
    // station agrees on it.
    if (message.instance == m_presence.instance)
        return;
    if (!kept && !message.instance.empty()) {
        const std::string run = message.acknowledgement.station + "\n" + message.instance;
        const auto last = m_lastSequence.find(run);
        if (last != m_lastSequence.end() && message.sequence <= last->second) {
            refuse(AcknowledgementRefusal::Duplicate,
                   "number " + std::to_string(message.sequence) + " from station " +
                       message.acknowledgement.station + " came before");
            return;
        }
        if (last == m_lastSequence.end() && m_lastSequence.size() >= RememberedRuns)
            m_lastSequence.erase(m_lastSequence.begin());
        m_lastSequence[run] = message.sequence;
    }
    post([this, acknowledgement = message.acknowledgement, kept] {
        emit acknowledgementArrived(acknowledgement, kept);
    });
}

void MqttSource::refuse(AcknowledgementRefusal reason, const std::string& detail) {
    post([this, reason, detail = QString::fromStdString(detail)] {
        emit acknowledgementRefused(reason, detail);
    });
}

void MqttSource::takePresence(const std::string& payload) {
    const auto read = readPresence(payload);
    if (!read.error.empty()) {
        post([this, why = QString::fromStdString(read.error)] {
            emit payloadRejected(QString::fromStdString(m_presenceTopic), why);
        });
        return;
    }
    const auto verdict = judgePresence(m_presence, read.presence, m_ownPresenceSeen);
    if (verdict == PresenceVerdict::Ours) {
        m_ownPresenceSeen = true;
        return;
    }
    const QString where =
        tr("%1, process %2").arg(QString::fromStdString(read.presence.host)).arg(read.presence.pid);
    post([this, clashing = verdict == PresenceVerdict::Clash, where] {
        emit stationNameClash(clashing, where);
    });
}

} // namespace merv::panel
