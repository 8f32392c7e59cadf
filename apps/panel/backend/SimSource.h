#pragma once

#include "panel/DataSource.h"

#include <QElapsedTimer>
#include <QTimer>

#include <random>

namespace merv::panel {

// A small process simulator: each signal drifts around its operating value with some noise and,
// every few seconds, makes an excursion into one of its warning or alarm ranges and back, so a
// demonstration shows every kind of event within a minute. Everything follows from the seed and
// the simulated time, so a run with the same seed and steps repeats exactly.
//
// The simulated plant is the built-in steam-plant form: a tag outside it is simulated from its
// gauge all the same, and reported once at start through tagUnknown, since a misspelt tag would
// otherwise look well until the real plant is connected.
class SimSource : public DataSource {
    Q_OBJECT
public:
    // Simulated time between two samples of a signal.
    static constexpr std::int64_t SamplePeriodMs = 500;

    explicit SimSource(const SourceOptions& options, QObject* parent = nullptr);

    QString description() const override;
    void start(const std::vector<SourceTag>& tags) override;
    void stop() override;
    bool isConnected() const override { return m_running; }
    bool hasSimulatedTime() const override { return true; }
    void advance(std::int64_t ms) override;
    std::int64_t nowMs() const override { return m_originMs + m_elapsedMs; }

private:
    enum class Excursion { WarningHigh, AlarmHigh, WarningLow, AlarmLow };
    struct Signal {
        SourceTag tag;
        double value = 0;
        double target = 0;             // where the drift pulls: the operating value or an excursion
        std::int64_t nextChangeMs = 0; // when the next excursion starts, or the current one ends
        bool inExcursion = false;
        int nextExcursion = 0; // index into the signal's own order of excursion kinds
        Excursion order[4]{};
    };

    void reportUnknownTags(const std::vector<SourceTag>& tags);
    void step(Signal& signal);
    double targetOf(const Signal& signal, Excursion excursion) const;
    std::int64_t randomMs(std::int64_t lowMs, std::int64_t highMs);

    SourceOptions m_options;
    std::mt19937_64 m_random;
    std::vector<Signal> m_signals;
    std::int64_t m_originMs = DataSource::nowMs(); // the wall clock's, even before start
    std::int64_t m_elapsedMs = 0;
    bool m_running = false;
    QTimer m_wallClock;
    QElapsedTimer m_wallElapsed;
    std::int64_t m_wallDoneMs = 0;
};

} // namespace merv::panel
