#pragma once

#include "panel/AlarmHistory.h"
#include "panel/MqttSecurity.h"

#include <QObject>

#include <QString>
#include <atomic>
#include <chrono>
#include <functional>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Where the panel's values come from: the built-in simulator, lines on stdin, an MQTT broker or
// a Modbus TCP server. A source runs on the window's thread as far as its signals go: sources
// that do their network work on a thread of their own deliver through queued signals, so the
// window never blocks on a peer.
namespace merv {
class MERV_Gauge;
}

namespace merv::panel {

class DeliveryQueue;

struct Form;

// Why a shared acknowledgement changed nothing.
enum class AcknowledgementRefusal {
    Malformed,    // not an acknowledgement as stations write them
    Oversized,    // refused unread
    Duplicate,    // a message of the sender's run delivered again, or replayed
    UnknownAlarm, // no alarm here that it can acknowledge
    FromTheFuture // given later than this panel's clock allows
};
inline constexpr int AcknowledgementRefusalCount = int(AcknowledgementRefusal::FromTheFuture) + 1;

// A source address or a tag that cannot be used; the text names what and why.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a source knows of one gauge it feeds. Only the simulator reads the range and the
// thresholds, to wander through every zone.
struct SourceTag {
    std::string tag;
    double minimum = 0, maximum = 100;
    double alarmLow = 0, warningLow = 0, warningHigh = 0, alarmHigh = 0;
    double normal = 50; // the value the gauge started with
};

// How far a value's own time may lie from the panel's clock before the value is doubtful: beyond
// the drift of clocks kept in step and a value's way through a broker, short of hiding a clock
// set wrong or a value held back.
inline constexpr std::int64_t DefaultMaxSkewMs = 5000;

struct SourceOptions {
    std::uint64_t seed = 1;   // the simulator's; a given seed repeats a run exactly
    bool manualClock = false; // the simulator advances only through advance()
    int pollIntervalMs = 500; // Modbus TCP polling
    std::string station;      // this operator station, for shared acknowledgements
    MqttSecurity mqtt;        // an MQTT source's TLS files and login
    std::string operatorName; // who acknowledges at this station, recorded with each
    std::int64_t maxSkewMs = DefaultMaxSkewMs;
};

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    // The address as a person reads it in the status bar ("mqtt://127.0.0.1:1883/plant").
    virtual QString description() const = 0;
    // Throws SourceError naming the first tag the source cannot address, so that a form it
    // cannot serve is refused before anything of it is shown. start() checks the same.
    virtual void checkTags(const std::vector<SourceTag>& tags) const { (void)tags; }
    // Starts delivering the values of these tags; called once.
    virtual void start(const std::vector<SourceTag>& tags) = 0;
    // Stops delivering and lets go of every connection and thread; safe to call twice.
    virtual void stop() = 0;
    virtual bool isConnected() const = 0;

    // A source on simulated time moves only when told; the others run on the wall clock.
    virtual bool hasSimulatedTime() const { return false; }
    // Runs the simulated clock forward by ms and delivers what falls within.
    virtual void advance(std::int64_t ms) { (void)ms; }
    // The source's current time, milliseconds since 1970 (UTC).
    virtual std::int64_t nowMs() const;

    // Runs now, on this object's thread, what the source's own thread has delivered and not
    // handed over yet: a frame about to be painted shows the latest values.
    void takeDelivered();
    // What the source's own thread delivers is taken at most once per interval, a frame of the
    // window's screen (DeliveryQueue::setPace); zero takes it as it comes.
    void setPace(std::chrono::microseconds interval);
    // Values the source dropped because they came faster than this thread took them; it says
    // so through noticed() too, at most once in ten seconds.
    std::uint64_t droppedValues() const;

    // A source shared by several stations carries their acknowledgements too.
    virtual bool sharesAcknowledgements() const { return false; }
    // This station's operator acknowledged an alarm raised at raisedMs.
    virtual void publishAcknowledgement(const AlarmTransition& acknowledgement,
                                        std::int64_t raisedMs) {
        (void)acknowledgement;
        (void)raisedMs;
    }

protected:
    // From the source's own thread, what it learnt, to this object's thread in order, many at
    // one wake-up (DeliveryQueue). A value may be dropped, counted and reported, when its queue
    // is full; anything else never is.
    void deliver(std::function<void()> work);
    void deliverValue(std::function<void()> work);
    DeliveryQueue& deliveries() { return *m_delivery; }

signals:
    // A new value of tag, stamped with the source's time (or the payload's "ts"). retained: the
    // last one published before this source subscribed, which a broker kept, not a live one.
    void valueArrived(const QString& tag, double value, qint64 timeMs, bool retained = false);
    // Something arrived for tag that is no number; the gauge keeps its last good value.
    void payloadRejected(const QString& tag, const QString& reason);
    // The source's peer will not deliver tag (a broker refused its subscription); reason says
    // so in the source's words.
    void tagRefused(const QString& tag, const QString& reason);
    // The source has no such tag of its own; detail tells the operator what comes of it. The
    // simulator says so once at start for each tag its plant lacks.
    void tagUnknown(const QString& tag, const QString& detail);
    // The source reached or lost its peer; detail says which peer or why.
    void connectionChanged(bool connected, const QString& detail);
    // Another station acknowledged an alarm; kept: the broker kept it for stations that come
    // later, and it may be long past.
    void acknowledgementArrived(const merv::panel::AlarmTransition& acknowledgement, bool kept);
    // A message on the acknowledgement topic that changes nothing, and why.
    void acknowledgementRefused(merv::panel::AcknowledgementRefusal reason, const QString& detail);
    // Something of the source the operator should know, told once: a kind of reply it
    // discards, say.
    void noticed(const QString& text);
    // Another panel runs, or ran while this one did, under this station's name (other says
    // where), or the one that did is gone.
    void stationNameClash(bool clashing, const QString& other);

private:
    void reportDrops();

    std::unique_ptr<DeliveryQueue> m_delivery;
    std::atomic<bool> m_dropReportPending = false;
    std::int64_t m_lastDropReportMs = 0; // on the steady clock; 0 before the first
    std::uint64_t m_droppedReported = 0;
};

// What a source needs of one gauge, read from the control as it stands.
SourceTag sourceTagOf(const std::string& tag, const MERV_Gauge& control);
// The tags of a whole form, each gauge restored from its bag as the panel restores it.
std::vector<SourceTag> sourceTagsOf(const Form& form);

// Opens the source an address names: "sim", "stdin", "mqtt://HOST:PORT[/PREFIX]",
// "mqtts://HOST:PORT[/PREFIX]" (TLS) or "modbus-tcp://HOST:PORT". Throws SourceError for anything
// else, and for security options an address cannot use.
std::unique_ptr<DataSource> openSource(const std::string& address, const SourceOptions& options);

// The options a form's source opens with: when it is the form's own source (not one the command
// line put in its place), the form's TLS files and login, paths beside the form, each replaced by
// the command line's where that gives one.
SourceOptions sourceOptionsFor(const SourceOptions& commandLine, const Form& form,
                               const std::filesystem::path& formFile, bool formsOwnSource);

// The station's name when none is given: the host's, with a suffix from the form and the history
// the panel runs with, so two panels on one host differ and a restarted one keeps its name (and
// its broker session). An empty form path is the built-in form.
std::string defaultStationName(const std::string& host, const std::filesystem::path& form,
                               const std::filesystem::path& history);

} // namespace merv::panel
