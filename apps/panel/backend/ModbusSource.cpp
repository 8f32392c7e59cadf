#include "panel/ModbusSource.h"

#include "panel/ThreadName.h"

#include <modbus.h>

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <tuple>
#include <unordered_set>

namespace merv::panel {

namespace {

constexpr std::string_view Scheme = "modbus-tcp://";
constexpr std::string_view AddressForm = "modbus-tcp://HOST:PORT";
constexpr int MinPollIntervalMs = 1;

[[noreturn]] void badAddress(const std::string& address, const std::string& why) {
    throw SourceError("Modbus TCP source \"" + address + "\": " + why + " (use " +
                      std::string(AddressForm) + ")");
}

// An exception reply: the server is there and refused these registers. Every other failure
// (a timeout, a reset, a garbled reply) leaves the connection in doubt.
bool isRefusal(int error) {
    return error > MODBUS_ENOBASE && error <= EMBXGTAR;
}

QString errorText(int error) {
    return QString::fromUtf8(modbus_strerror(error));
}

} // namespace

ModbusAddress readModbusAddress(const std::string& address) {
    std::string_view rest(address);
    if (!rest.starts_with(Scheme))
        badAddress(address, "not a modbus-tcp:// address");
    rest.remove_prefix(Scheme.size());
    if (rest.find('/') != std::string_view::npos)
        badAddress(address, "nothing may follow the port");

    ModbusAddress out;
    if (const std::string why = readHostPort(rest, out); !why.empty())
        badAddress(address, why);
    return out;
}

ModbusSource::ModbusSource(const ModbusAddress& address, int pollIntervalMs, QObject* parent)
    : DataSource(parent), m_address(address), m_pollInterval(pollIntervalMs) {
    if (pollIntervalMs < MinPollIntervalMs)
        throw SourceError("Modbus TCP source " + description().toStdString() +
                          ": the poll interval of " + std::to_string(pollIntervalMs) +
                          " ms is not a positive number of milliseconds");
}

ModbusSource::~ModbusSource() {
    stop();
}

QString ModbusSource::description() const {
    return QString::fromStdString(std::string(Scheme) + hostPortText(m_address));
}

template <class F>
void ModbusSource::post(F&& f) {
    deliver([this, f = std::forward<F>(f)] {
        if (m_delivering)
            f();
    });
}

void ModbusSource::checkTags(const std::vector<SourceTag>& tags) const {
    for (const auto& tag : tags)
        readModbusTag(tag.tag);
}

void ModbusSource::start(const std::vector<SourceTag>& tags) {
    // Every tag is read before the thread starts, so a bad form fails here and not later.
    std::unordered_set<std::string> seen;
    for (const auto& tag : tags)
        if (seen.insert(tag.tag).second)
            m_tags.push_back(readModbusTag(tag.tag));
    m_lastRefusal.assign(m_tags.size(), QString());

    // Contiguous or overlapping registers of one unit and kind go in one request, as long as
    // the request stays within what one reply can carry.
    std::vector<std::size_t> order(m_tags.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        const auto& x = m_tags[a];
        const auto& y = m_tags[b];
        return std::tuple(x.unit, x.kind, x.address) < std::tuple(y.unit, y.kind, y.address);
    });
    for (const std::size_t i : order) {
        const auto& tag = m_tags[i];
        const int end = tag.address + tag.registerCount();
        if (!m_spans.empty()) {
            Span& last = m_spans.back();
            if (last.unit == tag.unit && last.kind == tag.kind &&
                tag.address <= last.address + last.count &&
                end - last.address <= MODBUS_MAX_READ_REGISTERS) {
                last.count = std::max(last.count, end - last.address);
                last.tags.push_back(i);
                continue;
            }
        }
        m_spans.push_back({tag.unit, tag.kind, tag.address, tag.registerCount(), {i}});
    }

    m_stopping = false;
    m_delivering = true;
    m_thread = std::thread([this] {
        nameThisThread("merv-modbus");
        run();
    });
}

void ModbusSource::stop() {
    m_delivering = false;
    m_connected = false;
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        // Ends a request waiting for a slow server at once.
        if (m_socket >= 0)
            ::shutdown(m_socket, SHUT_RDWR);
    }
    m_wake.notify_all();
    m_thread.join();
}

void ModbusSource::report(bool connected, const QString& detail) {
    if (m_reported == int(connected))
        return;
    m_reported = int(connected);
    post([this, connected, detail] {
        m_connected = connected;
        emit connectionChanged(connected, detail);
    });
}

void ModbusSource::run() {
    const auto firstDelay = std::chrono::milliseconds(FirstReconnectDelayMs);
    const auto lastDelay = std::chrono::milliseconds(LastReconnectDelayMs);
    auto delay = firstDelay;
    bool polledWell = false; // since the last connection was made
    for (;;) {
        QString why;
        if (!m_context) {
            if (!connectServer(why)) {
                report(false,
                       tr("cannot reach the server at %1: %2; retrying").arg(description(), why));
                if (!sleepUntil(std::chrono::steady_clock::now() + delay))
                    break;
                delay = std::min(delay * 2, lastDelay);
                continue;
            }
            report(true, tr("connected to %1").arg(description()));
        }

        const auto started = std::chrono::steady_clock::now();
        Poll poll;
        poll.timeMs = nowMs();
        const bool kept = pollOnce(poll, why);
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                break;
        }
        if (!poll.values.empty() || !poll.rejected.empty() || !poll.notices.empty())
            post([this, poll = std::move(poll)] {
                for (const QString& notice : poll.notices)
                    emit noticed(notice);
                for (const auto& [tag, reason] : poll.rejected)
                    emit payloadRejected(QString::fromStdString(m_tags[tag].text), reason);
                for (const auto& [tag, value] : poll.values)
                    emit valueArrived(QString::fromStdString(m_tags[tag].text), value, poll.timeMs);
            });
        if (!kept) {
            disconnectServer();
            report(false, tr("lost the server at %1: %2; reconnecting").arg(description(), why));
            // A connection that served well is made again at once; a server that drops every
            // connection before it answers waits out the growing delays like an absent one.
            if (!polledWell) {
                if (!sleepUntil(std::chrono::steady_clock::now() + delay))
                    break;
                delay = std::min(delay * 2, lastDelay);
            }
            polledWell = false;
            continue;
        }
        polledWell = true;
        delay = firstDelay;
        if (!sleepUntil(started + m_pollInterval))
            break;
    }
    disconnectServer();
}

bool ModbusSource::connectServer(QString& why) {
    const std::string port = std::to_string(m_address.port);
    modbus_t* context = modbus_new_tcp_pi(m_address.host.c_str(), port.c_str());
    if (!context) {
        why = errorText(errno);
        return false;
    }
    modbus_set_response_timeout(context, ResponseTimeoutMs / 1000, ResponseTimeoutMs % 1000 * 1000);
    if (modbus_connect(context) == -1) {
        why = errorText(errno);
        modbus_free(context);
        return false;
    }
    std::lock_guard lock(m_mutex);
    m_context = context;
    m_socket = modbus_get_socket(context);
    if (m_stopping)
        ::shutdown(m_socket, SHUT_RDWR); // stop() came while connecting
    return true;
}

void ModbusSource::disconnectServer() {
    if (!m_context)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_socket = -1; // stop() must never shut down a socket number that is reused
    }
    modbus_close(m_context);
    modbus_free(m_context);
    m_context = nullptr;
}

bool ModbusSource::sleepUntil(std::chrono::steady_clock::time_point until) {
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_until(lock, until, [this] { return m_stopping; });
}

bool ModbusSource::pollOnce(Poll& poll, QString& why) {
    for (const Span& span : m_spans) {
        if (readSpan(span, poll, why))
            continue;
        if (!why.isEmpty())
            return false;
        if (span.tags.size() == 1)
            continue; // refused, and marked
        // The server refused the span: one request per tag finds the ones it refuses.
        for (const std::size_t tag : span.tags) {
            const auto& t = m_tags[tag];
            if (!readSpan({t.unit, t.kind, t.address, t.registerCount(), {tag}}, poll, why) &&
                !why.isEmpty())
                return false;
        }
    }
    return true;
}

bool ModbusSource::readSpan(const Span& span, Poll& poll, QString& why) {
    const std::uint16_t transaction = ++m_transaction;
    if (!sendAll(readRequest(transaction, span.unit, span.kind, span.address, span.count), why))
        return false;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(ResponseTimeoutMs);
    ReadReply reply;
    // What does not answer this request is passed over; the answer may still come after it.
    for (;;) {
        std::vector<std::uint8_t> frame(MbapLength);
        if (!receiveAll(frame.data(), MbapLength, deadline, why))
            return false;
        const int following = followingLength(std::span<const std::uint8_t, MbapLength>(frame));
        if (following == 0) {
            discard(ReplyFault::WrongLength, poll);
            why = tr("the server's reply is no Modbus TCP frame");
            return false;
        }
        // The length counts the unit, the header's last byte.
        frame.resize(MbapLength - 1 + std::size_t(following));
        if (!receiveAll(frame.data() + MbapLength, std::size_t(following) - 1, deadline, why))
            return false;
        reply = checkReply(frame, transaction, span.unit, span.kind, span.count);
        if (reply.fault == ReplyFault::None)
            break;
        discard(reply.fault, poll);
    }
    if (!reply.exception) {
        for (const std::size_t tag : span.tags)
            take(tag, reply.registers.data() + (m_tags[tag].address - span.address), poll);
        return true;
    }
    const int error = MODBUS_ENOBASE + reply.exception;
    if (!isRefusal(error)) {
        why = errorText(error);
        return false;
    }
    if (span.tags.size() == 1)
        refuse(span.tags[0], tr("the server refused the register: %1").arg(errorText(error)), poll);
    return false;
}

void ModbusSource::discard(ReplyFault fault, Poll& poll) {
    if (++m_discarded[std::size_t(fault)] == 1)
        poll.notices.push_back(tr("Modbus server at %1: discarded %2, never decoded; further ones "
                                  "are counted")
                                   .arg(description(), QString::fromLatin1(faultName(fault))));
}

bool ModbusSource::sendAll(std::span<const std::uint8_t> bytes, QString& why) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0) {
            why = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        bytes = bytes.subspan(std::size_t(sent));
    }
    return true;
}

bool ModbusSource::receiveAll(std::uint8_t* into, std::size_t size,
                              std::chrono::steady_clock::time_point deadline, QString& why) {
    while (size > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wait{m_socket, POLLIN, 0};
        const int ready = left.count() > 0 ? ::poll(&wait, 1, int(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            why = tr("no reply within %1 ms").arg(ResponseTimeoutMs);
            return false;
        }
        const ssize_t got = ready < 0 ? -1 : ::recv(m_socket, into, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            why = got == 0 ? tr("the server closed the connection")
                           : QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        into += got;
        size -= std::size_t(got);
    }
    return true;
}

void ModbusSource::take(std::size_t tag, const std::uint16_t* registers, Poll& poll) {
    const auto value = m_tags[tag].decode(registers);
    if (!value) {
        refuse(tag, tr("the registers hold no finite number"), poll);
        return;
    }
    m_lastRefusal[tag].clear();
    poll.values.emplace_back(tag, *value);
}

void ModbusSource::refuse(std::size_t tag, const QString& reason, Poll& poll) {
    // Told once per spell of trouble: the gauge stays marked until a good value comes.
    if (m_lastRefusal[tag] == reason)
        return;
    m_lastRefusal[tag] = reason;
    poll.rejected.emplace_back(tag, reason);
}

} // namespace merv::panel
