// mervgauge-panel-bench: the operator panel under a steady load of MQTT values.
//
// A broker of its own on a free loopback port, a form of 100 gauges, a publisher thread sending
// every gauge's topic at 10 Hz and a plain libmosquitto subscriber as the baseline. Two phases,
// one after the other so that they do not share the cores:
//  - cpu: the real mervgauge-panel as a child process (offscreen); its utime + stime from
//    /proc/PID/stat over the measuring window, per second of wall time.
//  - latency: a PanelWindow in this process, shown, on the main thread. Publish to the end of the
//    window frame that painted the value, against the plain subscriber's publish to receive.
// The publish stamps travel out of band: each value encodes its sequence number, and the
// publisher writes the steady-clock time of every sequence number into a table before it sends.
//
// A third, on its own (--phase history): an alarm history of --rows transitions, a flood's hour
// at 3.6 million; the history dialog opened on it in a child process (offscreen) and the CSV
// export by the real mervgauge-panel, each with its CPU time and peak resident memory.
//
// It prints a table; it is a measurement, not a test.

#include "FramePacer.h"
#include "HistoryDialog.h"
#include "MosquittoBroker.h"
#include "PanelController.h"
#include "PanelWindow.h"
#include "TempFolder.h"
#include "common/QtPlatformChoice.h"
#include "panel/AlarmHistory.h"
#include "panel/DataSource.h"
#include "panel/Form.h"
#include "panel/MqttPayload.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>
#include <QTimer>

#include <mosquitto.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unordered_map>
#include <vector>

using namespace merv::panel;
using Clock = std::chrono::steady_clock;

namespace {

// The load the panel is asked to carry.
constexpr int DefaultGauges = 100;
constexpr int DefaultRateHz = 10;  // updates per second of each gauge
constexpr int DefaultSeconds = 20; // the measuring window
constexpr int DefaultWarmupS = 3;  // start-up and first paints, left out of every figure
constexpr int DefaultQos = 1;
constexpr int GridColumns = 10;
constexpr int TailS = 1; // publishing goes on this long after the window, so its last values paint
constexpr int ChildGraceS = 20; // how long past its run a child panel may take to exit
constexpr int ConnectTimeoutMs = 5000;

// The goals: 0.08 of one core for a hundred gauges at 10 Hz, half a core for a plant's ten
// thousand messages a second (one page of a hundred shown), and the panel's p99 within one
// 60 Hz frame of the plain subscriber's.
constexpr double CpuGoalCoresAtOneThousand = 0.08;
constexpr double CpuGoalCoresAtTenThousand = 0.5;
constexpr double LatencyGoalMs = 17;
// A form of a thousand gauges opens in under a second of CPU and 250 MB.
constexpr double StartupGoalCpuS = 1.0;
constexpr double StartupGoalRssMb = 250;
// A flood's hour: 1,000 transitions a second.
constexpr int DefaultHistoryRows = 3'600'000;
constexpr int HistoryBatchRows = 50'000; // rows written per transaction while building
constexpr int HistoryGauges = 100;       // the gauges the history's rows are of
// The rows end this long before the dialog opens, well inside its default range (the last day).
constexpr std::int64_t HistoryEndsBeforeMs = 60'000;
constexpr int HistoryScrolls = 20;     // scrolls to the end the dialog's table is measured over
constexpr int HistorySettlePasses = 4; // event passes after each: the fetch, layout and paint

// Values move across the dial in jumps (the costliest repaint) and stay between the warning
// thresholds, so no alarm is raised while measuring: the load is values, not an alarm flood.
constexpr double ValueBase = 12.0;   // the lowest value sent, above WarningLowVal
constexpr int ValueSteps = 750;      // distinct values 0.1 apart: 12.0 .. 86.9
constexpr int ValueStride = 379;     // coprime with ValueSteps: consecutive values land far apart
constexpr double SentinelValue = 99; // above AlarmHighVal: proves a child panel was receiving
constexpr float MinimumValue = 0, MaximumValue = 100, AlarmLow = 5, WarningLow = 10,
                WarningHigh = 90, AlarmHigh = 95;
// A flood (--flood): every other value of a topic lies this far above its encoded one, beyond
// AlarmHighVal, so every message raises the alarm or returns it; the scale reaches that far.
constexpr double FloodOffset = 100;
constexpr float FloodMaximumValue = 200;
constexpr int FloodRssAfterS = 10; // the flood's memory is compared with what it held then

constexpr int strideInverse() {
    for (int x = 1; x < ValueSteps; ++x)
        if (ValueStride * x % ValueSteps == 1)
            return x;
    return 0;
}
constexpr int StrideInverse = strideInverse();
static_assert(StrideInverse != 0, "ValueStride must be coprime with ValueSteps");

const std::string Prefix = "plant";

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// The CPU time the calling thread has run, which a wait for the processor does not add to.
std::int64_t threadCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

double valueOf(std::int64_t seq) {
    return ValueBase + double(seq * ValueStride % ValueSteps) / 10;
}

// The sequence number of a received value, given the last one of its topic (-1 before any):
// values arrive in order per topic, so the next number with the value's residue is it.
std::int64_t seqOf(double value, std::int64_t last) {
    if (value >= FloodOffset)
        value -= FloodOffset;
    const long step = std::lround((value - ValueBase) * 10);
    const long residue = step * StrideInverse % ValueSteps;
    const std::int64_t next = last + 1;
    return next + ((residue - next % ValueSteps) % ValueSteps + ValueSteps) % ValueSteps;
}

// The decoding must give back every number it is handed, or the stamps would be misread.
void checkEncoding() {
    for (std::int64_t last = -1; last < 3 * ValueSteps; ++last)
        if (seqOf(valueOf(last + 1), last) != last + 1 ||
            seqOf(valueOf(last + 7), last) != last + 7 ||
            seqOf(valueOf(last + 1) + FloodOffset, last) != last + 1)
            throw std::logic_error("the value encoding does not give back its sequence numbers");
}

std::string tagOf(int gauge) {
    char text[24];
    std::snprintf(text, sizeof text, "bench/g%03d", gauge);
    return text;
}

// The gauge of a tag or topic ending in "gNNN"; -1 for anything else.
int gaugeOf(std::string_view name) {
    const auto g = name.rfind('g');
    int index = -1;
    if (g == std::string_view::npos ||
        std::from_chars(name.data() + g + 1, name.data() + name.size(), index).ec != std::errc())
        return -1;
    return index;
}

struct Options {
    int gauges = DefaultGauges;
    int pages = 1; // the gauges split evenly over this many pages, the first one shown
    int rateHz = DefaultRateHz;
    int seconds = DefaultSeconds;
    int warmupS = DefaultWarmupS;
    int qos = DefaultQos;
    std::string phase = "both";
    bool flood = false;            // every message an alarm transition
    int rows = DefaultHistoryRows; // the history phase's transitions
    // The history file a history-dialog child opens; for the history phase, where to build its
    // history and keep it, so that other builds can be measured on the same file.
    std::string history;
    std::string panel = MERVGAUGE_PANEL_PATH;

    std::int64_t firstSeq() const { return std::int64_t(warmupS) * rateHz; }
    std::int64_t endSeq() const { return firstSeq() + std::int64_t(seconds) * rateHz; }
    std::int64_t lastPublishedSeq() const { return endSeq() + std::int64_t(TailS) * rateHz; }
    bool inWindow(std::int64_t seq) const { return seq >= firstSeq() && seq < endSeq(); }
    std::int64_t windowMessages() const { return std::int64_t(gauges) * seconds * rateHz; }
    // The value sent as a topic's message number seq. A flood starts with the window, by when
    // the panel has subscribed, so that every transition sent is one it can record.
    double sentValue(std::int64_t seq) const {
        return valueOf(seq) + (flood && seq >= firstSeq() && seq % 2 == 1 ? FloodOffset : 0);
    }
    double cpuGoalCores() const {
        return gauges * rateHz <= 1000 ? CpuGoalCoresAtOneThousand : CpuGoalCoresAtTenThousand;
    }
};

Form benchForm(const Options& o, const std::string& source) {
    if (o.pages > o.gauges)
        throw std::runtime_error("--pages: more pages than gauges");
    Form form;
    form.title = "Panel under load";
    form.source = source;
    for (int i = 0; i < o.gauges; ++i) {
        FormGauge gauge;
        char name[32];
        std::snprintf(name, sizeof name, "Loop %03d", i);
        gauge.bag.set("MaxValue",
                      merv::Variant::single(o.flood ? FloodMaximumValue : MaximumValue));
        gauge.bag.set("MinValue", merv::Variant::single(MinimumValue));
        gauge.bag.set("Value", merv::Variant::single(float(ValueBase)));
        gauge.bag.set("Precision", merv::Variant::integer(1));
        gauge.bag.set("EngUnit", merv::Variant::text("%"));
        gauge.bag.set("VariableName", merv::Variant::text(name));
        gauge.bag.set("WarningLowVal", merv::Variant::single(WarningLow));
        gauge.bag.set("WarningHighVal", merv::Variant::single(WarningHigh));
        gauge.bag.set("AlarmLowVal", merv::Variant::single(AlarmLow));
        gauge.bag.set("AlarmHighVal", merv::Variant::single(AlarmHigh));
        gauge.tag = tagOf(i);
        // Page by page, each in its own grid.
        const int perPage = (o.gauges + o.pages - 1) / o.pages;
        const int place = o.pages > 1 ? i % perPage : i;
        gauge.page = o.pages > 1 ? i / perPage : 0;
        gauge.row = place / GridColumns;
        gauge.col = place % GridColumns;
        form.gauges.push_back(std::move(gauge));
    }
    if (o.pages > 1)
        for (int p = 0; p < o.pages; ++p)
            form.pages.push_back({"Page " + std::to_string(p + 1), {}});
    checkForm(form, "(bench form)");
    return form;
}

// When each message was published, by gauge and sequence number; written by the publisher
// before it sends, read by the receivers.
class StampTable {
public:
    StampTable(int gauges, std::int64_t perGauge)
        : m_perGauge(perGauge), m_ns(std::size_t(gauges * perGauge)) {}
    void set(int gauge, std::int64_t seq, std::int64_t ns) {
        m_ns[index(gauge, seq)].store(ns, std::memory_order_release);
    }
    std::optional<std::int64_t> get(int gauge, std::int64_t seq) const {
        if (gauge < 0 || seq < 0 || seq >= m_perGauge || index(gauge, seq) >= m_ns.size())
            return std::nullopt;
        const std::int64_t ns = m_ns[index(gauge, seq)].load(std::memory_order_acquire);
        return ns ? std::optional(ns) : std::nullopt;
    }

private:
    std::size_t index(int gauge, std::int64_t seq) const {
        return std::size_t(gauge * m_perGauge + seq);
    }
    std::int64_t m_perGauge;
    std::vector<std::atomic<std::int64_t>> m_ns;
};

// A libmosquitto client with its own network thread.
class Client {
public:
    explicit Client(void* self) {
        mosquitto_lib_init();
        m_client = mosquitto_new(nullptr, true, self);
        if (!m_client)
            throw std::runtime_error("cannot create an MQTT client");
    }
    ~Client() {
        mosquitto_disconnect(m_client);
        mosquitto_loop_stop(m_client, false);
        mosquitto_destroy(m_client);
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;
    void connect(int port) {
        if (mosquitto_connect(m_client, "127.0.0.1", port, 10) != MOSQ_ERR_SUCCESS ||
            mosquitto_loop_start(m_client) != MOSQ_ERR_SUCCESS)
            throw std::runtime_error("an MQTT client cannot connect to the bench's broker");
    }
    mosquitto* get() const { return m_client; }

private:
    mosquitto* m_client = nullptr;
};

// Sends every gauge's topic at the rate, the gauges' turns spread evenly over each period.
class Publisher {
public:
    Publisher(int port, const Options& o, StampTable& stamps)
        : m_options(o), m_stamps(stamps), m_client(nullptr) {
        m_client.connect(port);
    }
    ~Publisher() { stop(); }

    void start() {
        m_thread = std::thread([this] { run(); });
    }
    void stop() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    void waitUntilDone() {
        if (m_thread.joinable())
            m_thread.join();
    }
    // One value above AlarmHighVal on every topic.
    void sendSentinel() {
        for (int g = 0; g < m_options.gauges; ++g)
            send(g, SentinelValue);
    }
    std::int64_t sentInWindow() const { return m_sentInWindow; }
    std::int64_t failed() const { return m_failed; }
    // The alarm transitions (raised or returned) the values published make, from the normal
    // value each gauge starts with; read once the publishing thread is done.
    std::int64_t transitionsSent() const { return m_transitions; }

private:
    void run() {
        const auto period = std::chrono::nanoseconds(std::chrono::seconds(1)) /
                            (std::int64_t(m_options.rateHz) * m_options.gauges);
        const auto start = Clock::now();
        for (std::int64_t k = 0; !m_stop; ++k) {
            const int gauge = int(k % m_options.gauges);
            const std::int64_t seq = k / m_options.gauges;
            if (seq >= m_options.lastPublishedSeq())
                break;
            std::this_thread::sleep_until(start + k * period);
            m_stamps.set(gauge, seq, nowNs());
            if (send(gauge, m_options.sentValue(seq)) && m_options.inWindow(seq))
                ++m_sentInWindow;
        }
    }
    bool send(int gauge, double value) {
        // Numbers as C-locale text whatever locale the application set.
        char number[32];
        const auto end =
            std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, 1);
        const auto wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
        const std::string payload = "{\"value\": " + std::string(number, end.ptr) +
                                    ", \"ts\": " + std::to_string(wallMs) + "}";
        const std::string topic = Prefix + "/" + tagOf(gauge);
        const int rc = mosquitto_publish(m_client.get(), nullptr, topic.c_str(),
                                         int(payload.size()), payload.data(), m_options.qos, false);
        if (rc != MOSQ_ERR_SUCCESS) {
            ++m_failed;
            return false;
        }
        const bool alarm = value > AlarmHigh;
        if (alarm != bool(m_inAlarm[std::size_t(gauge)]))
            ++m_transitions;
        m_inAlarm[std::size_t(gauge)] = alarm;
        return true;
    }

    const Options& m_options;
    StampTable& m_stamps;
    Client m_client;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<std::int64_t> m_sentInWindow{0}, m_failed{0};
    std::vector<char> m_inAlarm = std::vector<char>(std::size_t(m_options.gauges), 0);
    std::int64_t m_transitions = 0;
};

// The baseline: a plain libmosquitto subscriber timing each message as its network thread
// receives it.
class PlainSubscriber {
public:
    PlainSubscriber(int port, const Options& o, const StampTable& stamps)
        : m_options(o), m_stamps(stamps), m_lastSeq(std::size_t(o.gauges), -1), m_client(this) {
        m_latencyNs.reserve(std::size_t(o.windowMessages()));
        mosquitto_subscribe_callback_set(
            m_client.get(), [](mosquitto*, void* self, int, int, const int*) {
                static_cast<PlainSubscriber*>(self)->m_subscribed = true;
            });
        mosquitto_message_callback_set(m_client.get(),
                                       [](mosquitto*, void* self, const mosquitto_message* m) {
                                           static_cast<PlainSubscriber*>(self)->receive(m);
                                       });
        mosquitto_connect_callback_set(m_client.get(), [](mosquitto* client, void* self, int) {
            const auto* me = static_cast<PlainSubscriber*>(self);
            const std::string filter = Prefix + "/bench/#";
            mosquitto_subscribe(client, nullptr, filter.c_str(), me->m_options.qos);
        });
        m_client.connect(port);
        const auto deadline = Clock::now() + std::chrono::milliseconds(ConnectTimeoutMs);
        while (!m_subscribed) {
            if (Clock::now() > deadline)
                throw std::runtime_error("the plain subscriber got no subscription");
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // Read once publishing has ended.
    const std::vector<std::int64_t>& latencyNs() const { return m_latencyNs; }

private:
    void receive(const mosquitto_message* m) {
        const std::int64_t now = nowNs();
        const int gauge = gaugeOf(m->topic);
        if (gauge < 0 || gauge >= m_options.gauges)
            return;
        const auto read = readValuePayload(std::string_view(
            static_cast<const char*>(m->payload), std::size_t(std::max(m->payloadlen, 0))));
        if (!read.error.empty() || read.value == SentinelValue)
            return;
        const std::int64_t seq = seqOf(read.value, m_lastSeq[std::size_t(gauge)]);
        m_lastSeq[std::size_t(gauge)] = seq;
        if (const auto sent = m_stamps.get(gauge, seq); sent && m_options.inWindow(seq))
            m_latencyNs.push_back(now - *sent);
    }

    const Options& m_options;
    const StampTable& m_stamps;
    std::vector<std::int64_t> m_lastSeq;
    std::vector<std::int64_t> m_latencyNs;
    std::atomic<bool> m_subscribed{false};
    Client m_client;
};

// Watches a panel in this process: which value each gauge was given last, and when a frame of
// the window had painted it.
//
// Qt paints a window in one pass when its top-level widget handles the UpdateRequest: every dirty
// widget gets its Paint event, then the backing store is flushed to the window. The probe runs
// both events through their receiver from inside its event filter (and filters them out), so it
// sees the moment after each: a gauge whose Paint ran in a pass is stamped with the end of the
// pass, after the flush. A Paint outside any pass is stamped at its own end.
class PanelProbe : public QObject {
public:
    PanelProbe(PanelController& controller, QWidget& window, const Options& o,
               const StampTable& stamps)
        : m_options(o), m_stamps(stamps), m_window(window), m_gauges(std::size_t(o.gauges)) {
        m_deliveryNs.reserve(std::size_t(o.windowMessages()));
        m_paintNs.reserve(std::size_t(o.windowMessages()));
        for (int i = 0; i < controller.gaugeCount(); ++i) {
            m_gaugeOf[controller.gauge(i)] = i;
            controller.gauge(i)->installEventFilter(this);
        }
        window.installEventFilter(this);
        // Connected after the controller's own: this runs once the gauge has its value.
        QObject::connect(
            &controller.source(), &DataSource::valueArrived, this,
            [this](const QString& tag, double value, qint64) { delivered(tag, value); });
    }

    const std::vector<std::int64_t>& deliveryNs() const { return m_deliveryNs; }
    const std::vector<std::int64_t>& paintNs() const { return m_paintNs; }
    std::int64_t superseded() const { return m_superseded; }
    std::int64_t frames() const { return m_frames; }
    std::int64_t paintsOutsideFrames() const { return m_paintsOutsideFrames; }
    std::int64_t gaugePaints() const { return m_gaugePaints; }
    void setMeasuring(bool on) {
        m_measuring = on;
        m_lastFrameEndNs = 0;
    }
    // While measuring: each time between the ends of two frames, and each frame's own paint, in
    // wall-clock time and in the CPU time the window's thread ran in them. Where the two part,
    // the thread was waiting for a processor, not working.
    const std::vector<std::int64_t>& frameGapNs() const { return m_frameGapNs; }
    const std::vector<std::int64_t>& framePaintNs() const { return m_framePaintNs; }
    const std::vector<std::int64_t>& frameGapCpuNs() const { return m_frameGapCpuNs; }
    const std::vector<std::int64_t>& framePaintCpuNs() const { return m_framePaintCpuNs; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && event->type() == QEvent::UpdateRequest) {
            m_inFrame = true;
            const std::int64_t start = nowNs();
            const std::int64_t startCpu = threadCpuNs();
            static_cast<QObject*>(watched)->event(event);
            m_inFrame = false;
            const std::int64_t end = nowNs();
            const std::int64_t endCpu = threadCpuNs();
            ++m_frames;
            if (m_measuring) {
                m_framePaintNs.push_back(end - start);
                m_framePaintCpuNs.push_back(endCpu - startCpu);
            }
            if (m_measuring && m_lastFrameEndNs != 0) {
                m_frameGapNs.push_back(end - m_lastFrameEndNs);
                m_frameGapCpuNs.push_back(endCpu - m_lastFrameEndCpuNs);
            }
            m_lastFrameEndNs = end;
            m_lastFrameEndCpuNs = endCpu;
            for (int gauge : m_paintedInFrame)
                painted(gauge, end);
            m_paintedInFrame.clear();
            return true;
        }
        if (event->type() != QEvent::Paint)
            return false;
        const auto found = m_gaugeOf.find(watched);
        if (found == m_gaugeOf.end())
            return false;
        static_cast<QObject*>(watched)->event(event);
        ++m_gaugePaints;
        if (m_inFrame) {
            m_paintedInFrame.push_back(found->second);
        } else {
            ++m_paintsOutsideFrames;
            painted(found->second, nowNs());
        }
        return true;
    }

private:
    struct Gauge {
        std::int64_t lastSeq = -1;
        bool waiting = false; // the last value is not painted yet
    };
    void delivered(const QString& tag, double value) {
        const std::int64_t now = nowNs();
        const int index = gaugeOf(tag.toStdString());
        if (index < 0 || index >= m_options.gauges || value == SentinelValue)
            return;
        Gauge& g = m_gauges[std::size_t(index)];
        if (g.waiting && m_options.inWindow(g.lastSeq))
            ++m_superseded;
        g.lastSeq = seqOf(value, g.lastSeq);
        g.waiting = true;
        if (const auto sent = m_stamps.get(index, g.lastSeq); sent && m_options.inWindow(g.lastSeq))
            m_deliveryNs.push_back(now - *sent);
    }
    void painted(int index, std::int64_t end) {
        Gauge& g = m_gauges[std::size_t(index)];
        if (!g.waiting)
            return; // painted again without a new value
        g.waiting = false;
        if (const auto sent = m_stamps.get(index, g.lastSeq); sent && m_options.inWindow(g.lastSeq))
            m_paintNs.push_back(end - *sent);
    }

    const Options& m_options;
    const StampTable& m_stamps;
    QWidget& m_window;
    bool m_measuring = false;
    std::int64_t m_lastFrameEndNs = 0;
    std::int64_t m_lastFrameEndCpuNs = 0;
    std::unordered_map<const QObject*, int> m_gaugeOf;
    std::vector<Gauge> m_gauges;
    std::vector<int> m_paintedInFrame;
    bool m_inFrame = false;
    std::vector<std::int64_t> m_deliveryNs, m_paintNs, m_frameGapNs, m_framePaintNs;
    std::vector<std::int64_t> m_frameGapCpuNs, m_framePaintCpuNs;
    std::int64_t m_superseded = 0, m_frames = 0, m_gaugePaints = 0, m_paintsOutsideFrames = 0;
};

struct Percentiles {
    std::size_t count = 0;
    double p50 = 0, p99 = 0, max = 0; // milliseconds
};
Percentiles percentiles(std::vector<std::int64_t> ns) {
    Percentiles out;
    out.count = ns.size();
    if (ns.empty())
        return out;
    std::sort(ns.begin(), ns.end());
    // Nearest rank.
    const auto rank = [&](double p) {
        const auto r = std::size_t(std::ceil(p * double(ns.size())));
        return double(ns[std::max<std::size_t>(r, 1) - 1]) / 1e6;
    };
    out.p50 = rank(0.50);
    out.p99 = rank(0.99);
    out.max = double(ns.back()) / 1e6;
    return out;
}

void printRow(const char* name, const Percentiles& p) {
    std::printf("  %-34s %8zu %9.3f %9.3f %9.3f\n", name, p.count, p.p50, p.p99, p.max);
}

double threadCpuS() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// utime + stime of a running process, in seconds.
// utime + stime of a /proc stat file, in seconds.
double statCpuS(const std::string& path) {
    std::ifstream stat(path);
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        throw std::runtime_error("cannot read " + path);
    std::istringstream fields(text.substr(close + 2));
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    std::string field;
    for (int i = 3; i < 14; ++i)
        fields >> field;
    long long utime = 0, stime = 0;
    fields >> utime >> stime;
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// A process's resident memory now, in MB.
double residentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:"))
            return std::stod(line.substr(6)) / 1024; // in kB
    throw std::runtime_error("cannot read the resident memory of " + std::to_string(pid));
}

double processCpuS(pid_t pid) {
    return statCpuS("/proc/" + std::to_string(pid) + "/stat");
}

// The CPU seconds of each of a process's threads so far, summed by thread name.
std::map<std::string, double> threadCpuS(pid_t pid) {
    std::map<std::string, double> byName;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        try {
            byName[name] += statCpuS((task.path() / "stat").string());
        } catch (const std::runtime_error&) {
            // The thread ended between the listing and the read.
        }
    }
    return byName;
}

// A child process that is killed and reaped if the bench leaves before it has exited.
struct ChildGuard {
    pid_t pid = 0;
    ~ChildGuard() {
        if (pid <= 0)
            return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
};

// Starts the real mervgauge-panel headless (offscreen, whatever display this shell has, so it
// runs for its --seconds of real time), its output into the two files; its pid.
pid_t spawnHeadlessPanel(const std::string& panel, const std::vector<std::string>& arguments,
                         const std::string& out, const std::string& err) {
    std::vector<const char*> argv = {panel.c_str()};
    for (const std::string& a : arguments)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (!std::string_view(*e).starts_with("DISPLAY=") &&
            !std::string_view(*e).starts_with("WAYLAND_DISPLAY=") &&
            !std::string_view(*e).starts_with("QT_QPA_PLATFORM="))
            env.emplace_back(*e);
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, panel.c_str(), &files, nullptr,
                                    const_cast<char**>(argv.data()), envp.data());
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + panel);
    return pid;
}

// Waits for the child to end; its wait status, and what it used in usage.
int waitFor(ChildGuard& child, rusage& usage) {
    int status = 0;
    if (wait4(child.pid, &status, 0, &usage) != child.pid)
        throw std::runtime_error("cannot wait for the child panel");
    child.pid = 0;
    return status;
}

double cpuSecondsOf(const rusage& usage) {
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The panel opening a large form: the real mervgauge-panel loads it, runs a second of the
// simulator's time and exits; its CPU time and peak resident memory, from wait4.
bool runStartupPhase(const Options& o) {
    merv::test::TempFolder folder;
    saveForm(folder / "form.json", benchForm(o, "sim"));
    const std::string form = (folder / "form.json").string(),
                      history = (folder / "history.sqlite").string(),
                      snapshot = (folder / "panel.png").string(),
                      out = (folder / "stdout.txt").string(),
                      err = (folder / "stderr.txt").string();
    ChildGuard child;
    const auto start = Clock::now();
    child.pid = spawnHeadlessPanel(
        o.panel, {"--form", form, "--seconds", "1", "--history", history, "--snapshot", snapshot},
        out, err);
    rusage usage{};
    const int status = waitFor(child, usage);
    const double wallS = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpuS = cpuSecondsOf(usage);
    const double rssMb = double(usage.ru_maxrss) / 1024; // kilobytes on Linux
    std::printf("\nstartup: %s opens a form of %d gauges on %d page(s), runs 1 s of simulated "
                "time, writes its snapshot and exits (offscreen)\n",
                o.panel.c_str(), o.gauges, o.pages);
    std::printf(
        "  CPU                                %.2f s (%.2f s of wall time)   goal < %.1f s: "
        "%s\n",
        cpuS, wallS, StartupGoalCpuS, cpuS < StartupGoalCpuS ? "met" : "MISSED");
    std::printf("  peak resident memory               %.0f MB   goal < %.0f MB: %s\n", rssMb,
                StartupGoalRssMb, rssMb < StartupGoalRssMb ? "met" : "MISSED");
    std::printf("  per gauge                          %.2f ms CPU, %.0f KB\n",
                cpuS * 1000 / o.gauges, rssMb * 1024 / o.gauges);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::ifstream errors(err);
        std::cerr << "the child panel failed; its stderr:\n" << errors.rdbuf();
        return false;
    }
    return true;
}

// Whether every transition a flood sent is in the child panel's history and in the CSV export
// of it (mervgauge-panel --export-alarms); prints the counts.
bool floodRecorded(const Options& o, const std::string& history, const Publisher& publisher,
                   const merv::test::TempFolder& folder) {
    const std::int64_t sent = publisher.transitionsSent();
    // What a flood's values make: the high alarm raised or returned.
    const auto ofTheFlood = [](std::optional<AlarmKind> kind, std::optional<Transition> t) {
        return kind == AlarmKind::AlarmHigh &&
               (t == Transition::Raised || t == Transition::Returned);
    };
    std::int64_t recorded = 0;
    {
        AlarmHistory store(history);
        store.forEach(
            {}, [&](const AlarmTransition& t) { recorded += ofTheFlood(t.kind, t.transition); });
    }
    const std::string csv = (folder / "history.csv").string(),
                      out = (folder / "export-stdout.txt").string(),
                      err = (folder / "export-stderr.txt").string();
    ChildGuard exporter;
    exporter.pid =
        spawnHeadlessPanel(o.panel, {"--history", history, "--export-alarms", csv}, out, err);
    rusage usage{};
    if (const int status = waitFor(exporter, usage);
        !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::ifstream errors(err);
        std::cerr << "the export failed; its stderr:\n" << errors.rdbuf();
        return false;
    }
    std::ifstream file(csv);
    // The kind and the transition are the fourth and fifth fields; the bench's names hold no
    // comma.
    std::int64_t exported = 0;
    for (std::string line; std::getline(file, line);) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, ',');)
            fields.push_back(field);
        exported +=
            fields.size() > 4 && ofTheFlood(alarmKindNamed(fields[3]), transitionNamed(fields[4]));
    }
    std::printf("  flood: transitions                 sent %lld, in the history %lld, in its CSV "
                "export %lld\n",
                (long long)sent, (long long)recorded, (long long)exported);
    return recorded == sent && exported == sent;
}

// The real mervgauge-panel on the bench's broker, headless, its CPU time read over the window.
bool runCpuPhase(const Options& o) {
    merv::test::MosquittoBroker broker;
    merv::test::TempFolder folder;
    const std::string address = broker.address(Prefix);
    saveForm(folder / "form.json", benchForm(o, address));

    StampTable stamps(o.gauges, o.lastPublishedSeq());
    PlainSubscriber subscriber(broker.port(), o, stamps);
    Publisher publisher(broker.port(), o, stamps);

    const int runS = o.warmupS + o.seconds + TailS + 2;
    const std::string form = (folder / "form.json").string(),
                      history = (folder / "history.sqlite").string(),
                      snapshot = (folder / "panel.png").string(), seconds = std::to_string(runS);
    const std::string out = (folder / "stdout.txt").string(),
                      err = (folder / "stderr.txt").string();
    ChildGuard child;
    const auto start = Clock::now();
    child.pid =
        spawnHeadlessPanel(o.panel,
                           {"--form", form, "--source", address, "--seconds", seconds, "--history",
                            history, "--snapshot", snapshot, "--station", "bench"},
                           out, err);
    const pid_t pid = child.pid;
    publisher.start();

    std::this_thread::sleep_until(start + std::chrono::seconds(o.warmupS));
    const double cpu0 = processCpuS(pid);
    const auto threads0 = threadCpuS(pid);
    const auto wall0 = Clock::now();
    const int rssAfterS = std::min(FloodRssAfterS, o.seconds);
    std::this_thread::sleep_until(start + std::chrono::seconds(o.warmupS + rssAfterS));
    const double rssEarly = residentMb(pid);
    std::this_thread::sleep_until(start + std::chrono::seconds(o.warmupS + o.seconds));
    const double cpu1 = processCpuS(pid);
    const auto threads1 = threadCpuS(pid);
    const double rssLate = residentMb(pid);
    const auto wall1 = Clock::now();
    publisher.waitUntilDone();
    publisher.sendSentinel();

    int status = 0;
    rusage usage{};
    const auto deadline = Clock::now() + std::chrono::seconds(runS + ChildGraceS);
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (Clock::now() > deadline)
            throw std::runtime_error("the child panel did not exit");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    child.pid = 0;
    std::ifstream stdoutFile(out);
    const std::string printed((std::istreambuf_iterator<char>(stdoutFile)),
                              std::istreambuf_iterator<char>());
    std::smatch raised;
    const bool found = std::regex_search(printed, raised, std::regex("OnAlarmHigh: (\\d+) raised"));
    const int raisedCount = found ? std::stoi(raised[1]) : 0;

    const double wallS = std::chrono::duration<double>(wall1 - wall0).count();
    const double cores = (cpu1 - cpu0) / wallS;
    const double lifeCpu = cpuSecondsOf(usage);
    const Percentiles plain = percentiles(subscriber.latencyNs());

    std::printf("\ncpu: %s as a child process (offscreen), /proc/PID/stat utime+stime\n",
                o.panel.c_str());
    std::printf("  panel CPU over the window          %.3f of one core (%.2f s CPU in %.2f s)",
                cores, cpu1 - cpu0, wallS);
    // A flood's goals are its frames and its records, not its CPU.
    if (o.flood)
        std::printf("   no CPU goal in a flood\n");
    else
        std::printf("   goal < %.3f: %s\n", o.cpuGoalCores(),
                    cores < o.cpuGoalCores() ? "met" : "MISSED");
    std::string byThread;
    for (const auto& [name, seconds] : threads1) {
        const auto before = threads0.find(name);
        const double used = seconds - (before == threads0.end() ? 0 : before->second);
        if (used > 0)
            byThread += (byThread.empty() ? "" : ", ") + name + " " +
                        std::to_string(used / wallS).substr(0, 5);
    }
    std::printf("  by thread (cores)                  %s\n", byThread.c_str());
    std::printf("  whole child run (start-up, exit)   %.2f s CPU, exit status %d\n", lifeCpu,
                WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    if (o.flood)
        std::printf("  receiving check                    %d raises of OnAlarmHigh in the summary, "
                    "at least one for each of the %d gauges\n",
                    raisedCount, o.gauges);
    else
        std::printf("  receiving check                    %d of %d gauges raised OnAlarmHigh on "
                    "the value sent after the window\n",
                    raisedCount, o.gauges);
    std::printf("  messages in the window             sent %lld, plain subscriber received %zu, "
                "publish failures %lld\n",
                (long long)publisher.sentInWindow(), plain.count, (long long)publisher.failed());
    std::printf("  plain subscriber (same run)        p50 %.3f ms, p99 %.3f ms\n", plain.p50,
                plain.p99);
    std::printf("  resident memory                    %.0f MB after %d s of the window, %.0f MB "
                "at its end (%+.1f %%)\n",
                rssEarly, rssAfterS, rssLate, (rssLate / rssEarly - 1) * 100);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        (o.flood ? raisedCount < o.gauges : raisedCount != o.gauges)) {
        std::ifstream errors(err);
        std::cerr << "the child panel did not take every gauge's values; its stderr:\n"
                  << errors.rdbuf();
        return false;
    }
    return !o.flood || floodRecorded(o, history, publisher, folder);
}

// A PanelWindow in this process, its frames watched by a PanelProbe.
bool runLatencyPhase(const Options& o) {
    merv::test::MosquittoBroker broker;
    const std::string address = broker.address(Prefix);
    StampTable stamps(o.gauges, o.lastPublishedSeq());

    SourceOptions sourceOptions;
    sourceOptions.station = "bench";
    PanelWindow window(benchForm(o, address), {}, openSource(address, sourceOptions), nullptr,
                       sourceOptions.station);
    PanelController& controller = window.controller();
    PanelProbe probe(controller, window, o, stamps);
    // The window's frame watcher looks at each update request first, as in the panel, so the
    // frame shows the values gathered before it.
    window.removeEventFilter(&window.pacer());
    window.installEventFilter(&window.pacer());
    window.resize(window.sizeHint());
    window.show();
    controller.start();
    QElapsedTimer waited;
    waited.start();
    while (!controller.source().isConnected()) {
        if (waited.elapsed() > ConnectTimeoutMs)
            throw std::runtime_error("the panel did not connect to the bench's broker");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    PlainSubscriber subscriber(broker.port(), o, stamps);
    Publisher publisher(broker.port(), o, stamps);
    double cpu0 = 0, cpu1 = 0;
    QElapsedTimer wall;
    qint64 wall0 = 0, wall1 = 0;
    wall.start();
    publisher.start();
    QTimer::singleShot(o.warmupS * 1000, [&] {
        cpu0 = threadCpuS();
        wall0 = wall.nsecsElapsed();
        probe.setMeasuring(true);
    });
    QTimer::singleShot((o.warmupS + o.seconds) * 1000, [&] {
        cpu1 = threadCpuS();
        wall1 = wall.nsecsElapsed();
        probe.setMeasuring(false);
    });
    // Past the tail, so the window's last values have had their frames.
    QTimer::singleShot((o.warmupS + o.seconds + TailS) * 1000 + 500, &QCoreApplication::quit);
    QCoreApplication::exec();
    publisher.stop();

    const Percentiles plain = percentiles(subscriber.latencyNs());
    const Percentiles delivery = percentiles(probe.deliveryNs());
    const Percentiles paint = percentiles(probe.paintNs());
    const double mainCores = (cpu1 - cpu0) / (double(wall1 - wall0) / 1e9);
    const std::int64_t sent = publisher.sentInWindow();
    const double difference = paint.p99 - plain.p99;

    std::printf("\nlatency: PanelWindow in this process, shown (%s platform), main thread\n",
                qPrintable(QGuiApplication::platformName()));
    std::printf("  %-34s %8s %9s %9s %9s\n", "publish to", "count", "p50 ms", "p99 ms", "max ms");
    printRow("plain subscriber receives", plain);
    printRow("panel: value reaches the gauge", delivery);
    printRow("panel: frame with the value painted", paint);
    std::printf("  panel p99 - plain p99              %.3f ms   goal <= %.0f ms: %s\n", difference,
                LatencyGoalMs, difference <= LatencyGoalMs ? "met" : "MISSED");
    std::printf("  messages in the window             sent %lld, plain subscriber received %zu "
                "(dropped %lld), panel received %zu (dropped %lld), publish failures %lld\n",
                (long long)sent, plain.count, (long long)(sent - std::int64_t(plain.count)),
                delivery.count, (long long)(sent - std::int64_t(delivery.count)),
                (long long)publisher.failed());
    std::printf("  painted                            %zu values; %lld replaced by a newer value "
                "before their frame\n",
                paint.count, (long long)probe.superseded());
    std::printf(
        "  frames                             %lld window frames, %.1f a second; %lld gauge "
        "paints, %lld of them outside a frame\n",
        (long long)probe.frames(), double(probe.frames()) / (o.warmupS + o.seconds + TailS),
        (long long)probe.gaugePaints(), (long long)probe.paintsOutsideFrames());
    std::printf("  main thread CPU over the window    %.3f of one core (the network thread of "
                "the panel's MQTT client not included)\n",
                mainCores);
    const double frameMs = 1000 / window.pacer().framesPerSecond();
    const Percentiles gaps = percentiles(probe.frameGapNs());
    const Percentiles paints = percentiles(probe.framePaintNs());
    std::printf("  longest gap between frames         %.1f ms in the window (a frame: %.1f ms)",
                gaps.max, frameMs);
    // A flood must never hold the window's thread for longer than a frame.
    if (o.flood)
        std::printf("   goal <= a frame: %s\n", gaps.max <= frameMs ? "met" : "MISSED");
    else
        std::printf("\n");
    const auto longer = [&](double frames) {
        return std::count_if(probe.frameGapNs().begin(), probe.frameGapNs().end(),
                             [&](std::int64_t ns) { return double(ns) / 1e6 > frames * frameMs; });
    };
    // A gap a little over a frame is the timer's slack; a frame missed is half a frame more.
    std::printf("  gaps between frames                p50 %.1f ms, p99 %.1f ms; %lld of %zu "
                "longer than 1.5 frames, %lld longer than 3\n",
                gaps.p50, gaps.p99, (long long)longer(1.5), gaps.count, (long long)longer(3));
    std::printf("  a frame's own paint                p50 %.2f ms, p99 %.2f ms, max %.1f ms\n",
                paints.p50, paints.p99, paints.max);
    // Where a gap's wall-clock time and the thread's CPU time in it part, the thread was waiting:
    // for a processor, or for values, which stop for every subscriber when the broker pauses.
    // The CPU time includes the kernel's work done on the thread, the loopback network's among it.
    const Percentiles gapsCpu = percentiles(probe.frameGapCpuNs());
    const Percentiles paintsCpu = percentiles(probe.framePaintCpuNs());
    const auto longest = std::max_element(probe.frameGapNs().begin(), probe.frameGapNs().end());
    const double longestCpuMs =
        longest == probe.frameGapNs().end()
            ? 0
            : double(probe.frameGapCpuNs()[std::size_t(longest - probe.frameGapNs().begin())]) /
                  1e6;
    std::printf(
        "  the window's thread's CPU time     in the longest gap %.1f ms; in a gap p50 %.2f "
        "ms, p99 %.2f ms, max %.1f ms; in a frame's paint p99 %.2f ms, max %.1f ms\n",
        longestCpuMs, gapsCpu.p50, gapsCpu.p99, gapsCpu.max, paintsCpu.p99, paintsCpu.max);
    return paint.count > 0;
}

// A history of rows transitions of HistoryGauges gauges, one a millisecond, each gauge's alarm
// raised and returned in turn; written in large transactions, as a writer behind a flood would.
void buildHistory(const std::string& path, int rows) {
    AlarmHistory store(path);
    const std::int64_t last = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::system_clock::now().time_since_epoch())
                                  .count() -
                              HistoryEndsBeforeMs;
    std::vector<AlarmTransition> batch;
    batch.reserve(HistoryBatchRows);
    for (int i = 0; i < rows; ++i) {
        const int gauge = i % HistoryGauges;
        char name[32];
        std::snprintf(name, sizeof name, "Loop %03d", gauge);
        const bool raised = (i / HistoryGauges) % 2 == 0;
        batch.push_back({last - rows + 1 + i, "bench", name, AlarmKind::AlarmHigh,
                         raised ? Transition::Raised : Transition::Returned,
                         raised ? FloodOffset + valueOf(i) : valueOf(i), tagOf(gauge), ""});
        if (int(batch.size()) == HistoryBatchRows || i + 1 == rows) {
            store.recordAll(batch);
            batch.clear();
        }
    }
}

double processCpuS() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The history phase's child: opens the history dialog on o.history with the bench's gauges,
// shown, until it has painted; then scrolls its table to the end once. Prints what it took.
bool openHistoryDialog(const Options& o) {
    AlarmHistory store(o.history);
    std::vector<HistoryDialog::Variable> variables;
    for (int g = 0; g < HistoryGauges; ++g) {
        char name[32];
        std::snprintf(name, sizeof name, "Loop %03d", g);
        variables.push_back({QString::fromLatin1(name), QString::fromStdString(tagOf(g)),
                             [](double value) { return QString::number(value, 'f', 1) + " %"; }});
    }
    const double rssBefore = residentMb(getpid());
    const double cpu0 = processCpuS();
    QElapsedTimer wall;
    wall.start();
    HistoryDialog dialog(store, std::move(variables), DisplayZone::local());
    dialog.show();
    QCoreApplication::processEvents();
    const double openCpuS = processCpuS() - cpu0;
    const double openWallS = double(wall.nsecsElapsed()) / 1e9;
    const double rssOpen = residentMb(getpid());
    const int shown = dialog.shownCount();

    // Scrolled to the end again and again, each time until the table has settled, as an
    // operator dragging the scroll bar down reads one page after another.
    auto* view = dialog.findChild<QAbstractItemView*>();
    const double cpu1 = processCpuS();
    for (int s = 0; s < HistoryScrolls; ++s) {
        view->scrollToBottom();
        for (int pass = 0; pass < HistorySettlePasses; ++pass)
            QCoreApplication::processEvents();
    }
    const double scrollCpuS = (processCpuS() - cpu1) / HistoryScrolls;
    std::printf("  dialog open                        %.3f s CPU (%.3f s of wall time), %d rows "
                "in the table, resident %.0f MB before, %.0f MB open\n",
                openCpuS, openWallS, shown, rssBefore, rssOpen);
    std::printf("  a scroll to the end, of %d         %.4f s CPU each, %d rows in the table after, "
                "resident %.0f MB\n",
                HistoryScrolls, scrollCpuS, dialog.shownCount(), residentMb(getpid()));
    return shown > 0;
}

// The history dialog and the CSV export on a history of o.rows transitions, each in a process of
// its own, so that each peak resident memory is its own.
bool runHistoryPhase(const Options& o) {
    merv::test::TempFolder folder;
    const std::string history =
        o.history.empty() ? (folder / "history.sqlite").string() : o.history;
    if (std::filesystem::exists(history))
        throw std::runtime_error(history + ": the history phase builds its history anew");
    auto start = Clock::now();
    buildHistory(history, o.rows);
    std::printf("history: %d transitions of %d gauges, one a millisecond, built in %.1f s; "
                "%.0f MB on disk\n",
                o.rows, HistoryGauges, std::chrono::duration<double>(Clock::now() - start).count(),
                double(std::filesystem::file_size(history)) / (1 << 20));

    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        throw std::runtime_error("cannot find the bench's own executable");
    self[length] = 0;
    const std::string out = (folder / "dialog-stdout.txt").string(),
                      err = (folder / "dialog-stderr.txt").string();
    bool ok = true;
    {
        ChildGuard child;
        start = Clock::now();
        child.pid =
            spawnHeadlessPanel(self, {"--phase", "history-dialog", "--history", history}, out, err);
        rusage usage{};
        const int status = waitFor(child, usage);
        std::ifstream printed(out);
        std::printf(
            "\nhistory dialog: File -> Alarm History... on the last day's rows, in a "
            "child process (offscreen)\n%s",
            std::string((std::istreambuf_iterator<char>(printed)), std::istreambuf_iterator<char>())
                .c_str());
        std::printf("  whole child                        %.2f s CPU (%.2f s of wall time), peak "
                    "resident memory %.0f MB\n",
                    cpuSecondsOf(usage),
                    std::chrono::duration<double>(Clock::now() - start).count(),
                    double(usage.ru_maxrss) / 1024);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::ifstream errors(err);
            std::cerr << "the dialog's child failed; its stderr:\n" << errors.rdbuf();
            ok = false;
        }
    }
    {
        const std::string csv = (folder / "history.csv").string(),
                          exportOut = (folder / "export-stdout.txt").string(),
                          exportErr = (folder / "export-stderr.txt").string();
        ChildGuard exporter;
        start = Clock::now();
        exporter.pid = spawnHeadlessPanel(o.panel, {"--history", history, "--export-alarms", csv},
                                          exportOut, exportErr);
        rusage usage{};
        const int status = waitFor(exporter, usage);
        const double wallS = std::chrono::duration<double>(Clock::now() - start).count();
        std::int64_t lines = 0;
        {
            std::ifstream file(csv);
            for (std::string line; std::getline(file, line);)
                ++lines;
        }
        std::printf("\nexport: %s --export-alarms\n", o.panel.c_str());
        std::printf("  CSV export                         %.2f s CPU (%.2f s of wall time), peak "
                    "resident memory %.0f MB, %lld rows and the header\n",
                    cpuSecondsOf(usage), wallS, double(usage.ru_maxrss) / 1024,
                    (long long)(lines - 1));
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || lines - 1 != o.rows) {
            std::ifstream errors(exportErr);
            std::cerr << "the export failed; its stderr:\n" << errors.rdbuf();
            ok = false;
        }
    }
    return ok;
}

int readInt(const char* text, const char* option) {
    int value = 0;
    const auto end = text + std::strlen(text);
    if (std::from_chars(text, end, value).ptr != end || value <= 0)
        throw std::runtime_error(std::string(option) + ": not a positive whole number");
    return value;
}

Options readOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto next = [&]() -> const char* {
            if (i + 1 >= argc)
                throw std::runtime_error(arg + ": a value must follow");
            return argv[++i];
        };
        if (arg == "--gauges")
            o.gauges = readInt(next(), "--gauges");
        else if (arg == "--pages")
            o.pages = readInt(next(), "--pages");
        else if (arg == "--rate")
            o.rateHz = readInt(next(), "--rate");
        else if (arg == "--seconds")
            o.seconds = readInt(next(), "--seconds");
        else if (arg == "--warmup")
            o.warmupS = readInt(next(), "--warmup");
        else if (arg == "--qos") {
            const std::string qos = next();
            if (qos != "0" && qos != "1")
                throw std::runtime_error("--qos: 0 or 1");
            o.qos = qos == "1";
        } else if (arg == "--phase") {
            o.phase = next();
            // history-dialog is the history phase's child, given --history.
            if (o.phase != "cpu" && o.phase != "latency" && o.phase != "both" &&
                o.phase != "startup" && o.phase != "history" && o.phase != "history-dialog")
                throw std::runtime_error("--phase: cpu, latency, both, startup or history");
        } else if (arg == "--flood")
            o.flood = true;
        else if (arg == "--panel")
            o.panel = next();
        else if (arg == "--rows")
            o.rows = readInt(next(), "--rows");
        else if (arg == "--history")
            o.history = next();
        else
            throw std::runtime_error(
                "usage: mervgauge-panel-bench [--gauges N] [--pages N] [--rate HZ] [--seconds S] "
                "[--warmup S] [--qos 0|1] [--phase cpu|latency|both|startup|history] [--flood] "
                "[--rows N] [--history PATH] [--panel PATH]");
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options o = readOptions(argc, argv);
        checkEncoding();
        merv::tools::choosePlatformBeforeQt();
        QApplication app(argc, argv);
        if (o.phase == "startup")
            return runStartupPhase(o) ? 0 : 1;
        if (o.phase == "history")
            return runHistoryPhase(o) ? 0 : 1;
        if (o.phase == "history-dialog")
            return openHistoryDialog(o) ? 0 : 1;
        std::printf("operator panel under load: %d gauges x %d Hz = %d messages/s over MQTT QoS %d "
                    "on loopback; %d s measured after %d s of warm-up%s\n",
                    o.gauges, o.rateHz, o.gauges * o.rateHz, o.qos, o.seconds, o.warmupS,
                    o.flood ? "; a flood: every message an alarm transition" : "");
        bool ok = true;
        if (o.phase != "latency")
            ok = runCpuPhase(o) && ok;
        if (o.phase != "cpu")
            ok = runLatencyPhase(o) && ok;
        std::fflush(stdout);
        return ok ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "mervgauge-panel-bench: " << error.what() << '\n';
        return 1;
    }
}
