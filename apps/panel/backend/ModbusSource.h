#pragma once

#include "panel/DataSource.h"
#include "panel/HostPort.h"
#include "panel/ModbusFrame.h"
#include "panel/ModbusTag.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

typedef struct _modbus modbus_t;

namespace merv::panel {

// Where a Modbus TCP source connects: "modbus-tcp://HOST:PORT". HOST may be a name or an
// address, an IPv6 one in brackets.
struct ModbusAddress : HostPort {};
// Throws SourceError naming the address and what is wrong with it.
ModbusAddress readModbusAddress(const std::string& address);

// Values polled from a Modbus TCP server: each tag names its registers (see ModbusTag). A thread
// of the source's own reads every tag once per poll interval, contiguous registers of one unit
// and kind in one request, and hands the values to the source's thread through queued calls.
// A register the server refuses (an exception reply) marks only its own tag; a lost
// connection is reported and tried again with a growing delay, and polling resumes when the
// server is back. A reply that does not answer the request (another transaction, another
// unit, another function, a length that does not fit) is discarded, counted and never
// decoded; a stream that cannot be framed, or no answer within ResponseTimeoutMs, counts as a
// lost connection.
class ModbusSource : public DataSource {
    Q_OBJECT
public:
    ModbusSource(const ModbusAddress& address, int pollIntervalMs, QObject* parent = nullptr);
    ~ModbusSource() override;

    QString description() const override;
    // Throws SourceError for the first tag that is not a Modbus tag.
    void checkTags(const std::vector<SourceTag>& tags) const override;
    void start(const std::vector<SourceTag>& tags) override;
    void stop() override;
    bool isConnected() const override { return m_connected; }

    // Milliseconds between connection attempts: the first, doubling up to the last.
    static constexpr int FirstReconnectDelayMs = 1000, LastReconnectDelayMs = 30000;
    // How long one request or a connection attempt may take before the server counts as lost.
    static constexpr int ResponseTimeoutMs = 1000;

    // The replies discarded so far, of one kind.
    std::uint64_t discardedReplies(ReplyFault fault) const {
        return m_discarded[std::size_t(fault)].load();
    }

private:
    // Registers read in one request, and the tags (indices into m_tags) they hold.
    struct Span {
        int unit = 0;
        RegisterKind kind = RegisterKind::Holding;
        int address = 0, count = 0;
        std::vector<std::size_t> tags;
    };
    // What one poll found, handed over in one piece.
    struct Poll {
        qint64 timeMs = 0;
        std::vector<std::pair<std::size_t, double>> values;
        std::vector<std::pair<std::size_t, QString>> rejected;
        std::vector<QString> notices;
    };

    // These run on the polling thread.
    void run();
    bool connectServer(QString& why);
    void disconnectServer();
    // False when the connection is lost (why says how); refused registers are in poll.
    bool pollOnce(Poll& poll, QString& why);
    bool readSpan(const Span& span, Poll& poll, QString& why);
    void take(std::size_t tag, const std::uint16_t* registers, Poll& poll);
    void refuse(std::size_t tag, const QString& reason, Poll& poll);
    void discard(ReplyFault fault, Poll& poll);
    // Sends or receives all of the bytes, by the deadline; false with why when it cannot.
    bool sendAll(std::span<const std::uint8_t> bytes, QString& why);
    bool receiveAll(std::uint8_t* into, std::size_t size,
                    std::chrono::steady_clock::time_point deadline, QString& why);
    // Waits until the time or stop(); false when stopping.
    bool sleepUntil(std::chrono::steady_clock::time_point until);
    void report(bool connected, const QString& detail);

    // Runs f on the source's own thread, unless the source stopped in between.
    template <class F>
    void post(F&& f);

    ModbusAddress m_address;
    std::chrono::milliseconds m_pollInterval;
    // Fixed before the thread starts.
    std::vector<ModbusTag> m_tags;
    std::vector<Span> m_spans;

    // The polling thread's own.
    modbus_t* m_context = nullptr;
    std::vector<QString> m_lastRefusal; // per tag, empty while it reads well
    int m_reported = -1;                // the connection state last reported: -1 none yet
    std::uint16_t m_transaction = 0;    // of the last request
    std::array<std::atomic<std::uint64_t>, ReplyFaultCount> m_discarded{}; // by ReplyFault

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false; // guarded by m_mutex
    int m_socket = -1;       // guarded; shut down by stop() to end a request at once

    // The source's thread's.
    bool m_connected = false;
    bool m_delivering = false;
};

} // namespace merv::panel
