#include "panel/SimSource.h"

#include "panel/Form.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <set>

namespace merv::panel {
namespace {

// How often a simulator on the wall clock catches up with real time.
constexpr int WallClockTickMs = 100;
// A signal relaxes towards its target with this time constant.
constexpr double RelaxationMs = 1500;
// Noise per sample, as a share of the signal's span.
constexpr double NoiseShare = 0.004;
// Quiet time between excursions, and how long one lasts, in simulated ms.
constexpr std::int64_t QuietMinMs = 4000, QuietMaxMs = 12000;
constexpr std::int64_t ExcursionMinMs = 3000, ExcursionMaxMs = 6000;
// An alarm excursion goes this share of the way from the alarm limit to the end of the scale.
constexpr double AlarmOvershoot = 0.35;

} // namespace

SimSource::SimSource(const SourceOptions& options, QObject* parent)
    : DataSource(parent), m_options(options), m_random(options.seed) {
    m_wallClock.setInterval(WallClockTickMs);
    connect(&m_wallClock, &QTimer::timeout, this, [this] {
        const std::int64_t wall = m_wallElapsed.elapsed();
        advance(wall - m_wallDoneMs);
        m_wallDoneMs = wall;
    });
}

QString SimSource::description() const {
    return tr("sim (seed %1)").arg(m_options.seed);
}

void SimSource::start(const std::vector<SourceTag>& tags) {
    m_originMs = DataSource::nowMs();
    m_elapsedMs = 0;
    m_signals.clear();
    for (const SourceTag& tag : tags) {
        Signal signal;
        signal.tag = tag;
        signal.value = signal.target = std::clamp(tag.normal, tag.minimum, tag.maximum);
        signal.order[0] = Excursion::WarningHigh;
        signal.order[1] = Excursion::AlarmHigh;
        signal.order[2] = Excursion::WarningLow;
        signal.order[3] = Excursion::AlarmLow;
        std::shuffle(std::begin(signal.order), std::end(signal.order), m_random);
        signal.nextChangeMs = randomMs(QuietMinMs / 2, QuietMaxMs);
        m_signals.push_back(signal);
    }
    m_running = true;
    emit connectionChanged(true, description());
    reportUnknownTags(tags);
    if (!m_options.manualClock) {
        m_wallElapsed.start();
        m_wallDoneMs = 0;
        m_wallClock.start();
    }
}

void SimSource::reportUnknownTags(const std::vector<SourceTag>& tags) {
    std::set<std::string> plant;
    QStringList plantList;
    for (const FormGauge& gauge : defaultForm().gauges) {
        plant.insert(gauge.tag);
        plantList << QString::fromStdString(gauge.tag);
    }
    std::set<std::string> reported;
    for (const SourceTag& tag : tags) {
        if (plant.contains(tag.tag) || !reported.insert(tag.tag).second)
            continue;
        emit tagUnknown(
            QString::fromStdString(tag.tag),
            tr("the simulated plant has no tag \"%1\" (it has %2); the "
               "simulator makes its values up from the gauge's range")
                .arg(QString::fromStdString(tag.tag), plantList.join(QStringLiteral(", "))));
    }
}

void SimSource::stop() {
    m_wallClock.stop();
    if (m_running) {
        m_running = false;
        emit connectionChanged(false, tr("stopped"));
    }
}

void SimSource::advance(std::int64_t ms) {
    if (!m_running || ms <= 0)
        return;
    const std::int64_t end = m_elapsedMs + ms;
    // Samples fall on whole periods of simulated time, whatever the steps the caller takes.
    for (std::int64_t next = (m_elapsedMs / SamplePeriodMs + 1) * SamplePeriodMs; next <= end;
         next += SamplePeriodMs) {
        m_elapsedMs = next;
        for (Signal& signal : m_signals) {
            step(signal);
            emit valueArrived(QString::fromStdString(signal.tag.tag), signal.value, nowMs());
        }
    }
    m_elapsedMs = end;
}

void SimSource::step(Signal& signal) {
    const SourceTag& tag = signal.tag;
    if (m_elapsedMs >= signal.nextChangeMs) {
        if (signal.inExcursion) {
            signal.target = tag.normal;
            signal.nextChangeMs = m_elapsedMs + randomMs(QuietMinMs, QuietMaxMs);
        } else {
            signal.target = targetOf(signal, signal.order[signal.nextExcursion]);
            signal.nextExcursion = (signal.nextExcursion + 1) % 4;
            signal.nextChangeMs = m_elapsedMs + randomMs(ExcursionMinMs, ExcursionMaxMs);
        }
        signal.inExcursion = !signal.inExcursion;
    }
    const double span = tag.maximum - tag.minimum;
    std::normal_distribution<double> noise(0.0, std::abs(span) * NoiseShare);
    const double pull = 1.0 - std::exp(-double(SamplePeriodMs) / RelaxationMs);
    signal.value += (signal.target - signal.value) * pull + noise(m_random);
    signal.value = std::clamp(signal.value, std::min(tag.minimum, tag.maximum),
                              std::max(tag.minimum, tag.maximum));
}

double SimSource::targetOf(const Signal& signal, Excursion excursion) const {
    const SourceTag& t = signal.tag;
    switch (excursion) {
    case Excursion::WarningHigh:
        return (t.warningHigh + std::max(t.warningHigh, t.alarmHigh)) / 2;
    case Excursion::AlarmHigh:
        return t.alarmHigh + (t.maximum - t.alarmHigh) * AlarmOvershoot;
    case Excursion::WarningLow:
        return (t.warningLow + std::min(t.warningLow, t.alarmLow)) / 2;
    case Excursion::AlarmLow:
        return t.alarmLow - (t.alarmLow - t.minimum) * AlarmOvershoot;
    }
    return t.normal;
}

std::int64_t SimSource::randomMs(std::int64_t lowMs, std::int64_t highMs) {
    return std::uniform_int_distribution<std::int64_t>(lowMs, highMs)(m_random);
}

} // namespace merv::panel
