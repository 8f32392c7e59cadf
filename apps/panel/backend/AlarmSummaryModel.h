#pragma once

#include "panel/AlarmHistory.h"
#include "panel/DisplayZone.h"

#include <QAbstractTableModel>
#include <QString>

#include <string>
#include <vector>

namespace merv::panel {

// The state of one alarm in the summary, in the usual alarm-management terms. A row that has
// returned to normal and been acknowledged leaves the summary.
enum class AlarmState { ActiveUnacknowledged, ActiveAcknowledged, ReturnedUnacknowledged };

// The gauge an alarm is of: its identity in the form (an explicit id, or its tag), which
// names the alarm, and its caption, which the summary shows. Two gauges of one caption raise
// alarms of their own. A bare name is a gauge whose identity is its caption.
struct AlarmGauge {
    std::string tag;
    std::string variable;

    AlarmGauge(std::string identity, std::string caption)
        : tag(std::move(identity)), variable(std::move(caption)) {}
    AlarmGauge(const std::string& name) : tag(name), variable(name) {}
    AlarmGauge(const char* name) : AlarmGauge(std::string(name)) {}
};

// The alarm summary: one row per alarm (a gauge and an event kind) that is active or not yet
// acknowledged, newest first. Raises come from the gauges' events, returns from their status
// flags going false, acknowledgements from this operator or another station. Every change of
// state is announced with transitioned(), which the history and the shared acknowledgement
// channel listen to.
class AlarmSummaryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        TimeColumn,
        VariableColumn,
        KindColumn,
        ValueColumn,
        PriorityColumn,
        StateColumn,
        ColumnCount
    };
    // The value each column sorts by (times and values as numbers, priorities by rank).
    static constexpr int SortRole = Qt::UserRole;
    // The row's AlarmState as an int, for views that draw unacknowledged rows blinking.
    static constexpr int StateRole = Qt::UserRole + 1;

    struct Alarm {
        std::string tag; // the gauge's identity
        std::string variable;
        AlarmKind kind = AlarmKind::AlarmHigh;
        double value = 0;        // at the raise
        std::string shown;       // the value as the gauge showed it then ("31.6 bar"), or empty
        std::int64_t timeMs = 0; // of the raise
        AlarmState state = AlarmState::ActiveUnacknowledged;
        // A station alarm: a fault of this station itself, not of a gauge. Its variable is the
        // condition's id, shown is its text; it is neither recorded nor shared.
        bool station = false;
        // Rebuilt from the history at start: raised before this run began.
        bool carriedOver = false;
    };

    explicit AlarmSummaryModel(std::string station, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // A gauge raised kind. A row of the same alarm that has not left the summary yet becomes
    // active and unacknowledged again with the new value. shown is the value as the gauge
    // shows it, which the summary displays when given.
    void raise(const AlarmGauge& gauge, AlarmKind kind, double value, std::int64_t timeMs,
               const std::string& shown = {});
    // The gauge's status flag for kind went false: the alarm is back to normal.
    void returnToNormal(const AlarmGauge& gauge, AlarmKind kind, double value, std::int64_t timeMs);
    // Acknowledges the alarm of the gauge whose identity is tag on behalf of station (this
    // one, or another that shared it). False when there is no unacknowledged alarm of that
    // gauge and kind.
    bool acknowledge(const std::string& tag, AlarmKind kind, std::int64_t timeMs,
                     const std::string& byStation, const std::string& byOperator = {});
    // The operator whose acknowledgements this station makes; recorded with each.
    void setOperatorName(std::string name) { m_operator = std::move(name); }
    const std::string& operatorName() const noexcept { return m_operator; }
    // A fault of this station itself (its alarm history cannot be written, say), shown as an
    // active alarm of high priority with text, under id, until cleared. Raising it again while
    // it is there only changes its text.
    void raiseStationAlarm(const std::string& id, const std::string& text, std::int64_t timeMs);
    void clearStationAlarm(const std::string& id);
    // The text of the station alarm id while it is in the summary; empty otherwise.
    std::string stationAlarmText(const std::string& id) const;
    // How far another station's clock may run behind this one's, for acknowledgeShared.
    static constexpr std::int64_t SharedClockToleranceMs = 2000;
    // An acknowledgement another station shared: it names the gauge by its identity, or by
    // its caption when the sender keeps none. It acknowledges only an alarm raised before the
    // other operator gave it (within SharedClockToleranceMs of the stations' clocks), so that
    // one arriving late, after a reconnection or kept on the broker, never acknowledges a new
    // occurrence. False when it acknowledged nothing.
    bool acknowledgeShared(const AlarmTransition& acknowledgement);
    // Rebuilds the summary from the history's transitions, oldest first: the alarms this
    // station raised that have not returned, or returned and are not acknowledged, of the
    // given gauges. A row without a tag (from before tags were kept) counts for the one gauge
    // of its caption. The rows are marked as carried over; nothing is announced, the history
    // has it all.
    void carryOver(const std::vector<AlarmTransition>& history,
                   const std::vector<AlarmGauge>& gauges);
    // The row of the gauge's alarm of kind, or nothing.
    const Alarm* alarmOf(const std::string& tag, AlarmKind kind) const;
    // This station acknowledges the given rows, or every unacknowledged alarm.
    void acknowledgeRows(std::vector<int> rows, std::int64_t timeMs);
    void acknowledgeAll(std::int64_t timeMs);

    // The zone the time column shows and names; the system's local zone unless set.
    void setZone(DisplayZone zone);
    const DisplayZone& zone() const noexcept { return m_zone; }

    const std::vector<Alarm>& alarms() const noexcept { return m_alarms; }
    int unacknowledgedCount() const;
    const std::string& station() const noexcept { return m_station; }

    // The texts the summary shows, in the application's language.
    static QString stateName(AlarmState state);
    static QString kindName(AlarmKind kind);
    static QString transitionName(Transition transition);
    static QString priorityName(AlarmPriority priority);
    static QString stationKindName();
    // What the summary adds to a carried-over alarm's state, and its tooltip.
    static QString carriedOverMark();
    static QString carriedOverExplanation();

signals:
    // raisedMs: when the alarm the transition is of was raised.
    void transitioned(const merv::panel::AlarmTransition& transition, qint64 raisedMs);
    void unacknowledgedCountChanged(int count);

private:
    int find(const std::string& tag, AlarmKind kind) const;
    // The one unacknowledged alarm of that caption and kind; none when two gauges have one.
    const Alarm* onlyUnacknowledgedCaptioned(const std::string& variable, AlarmKind kind) const;
    int findStation(const std::string& id) const;
    // Marks the row acknowledged, or removes it when it has returned already.
    void acknowledgeRow(int row);
    void announce(const Alarm& alarm, Transition transition, double value, std::int64_t timeMs,
                  const std::string& station, const std::string& operatorName = {});
    void removeRow(int row);

    std::string m_station;
    std::string m_operator;
    DisplayZone m_zone = DisplayZone::local();
    std::vector<Alarm> m_alarms; // newest raise first
};

} // namespace merv::panel
