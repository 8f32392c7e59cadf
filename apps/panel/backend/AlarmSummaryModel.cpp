#include "panel/AlarmSummaryModel.h"

#include <algorithm>
#include <functional>
#include <map>

namespace merv::panel {
namespace {

bool isUnacknowledged(AlarmState state) {
    return state != AlarmState::ActiveAcknowledged;
}

} // namespace

AlarmSummaryModel::AlarmSummaryModel(std::string station, QObject* parent)
    : QAbstractTableModel(parent), m_station(std::move(station)) {}

int AlarmSummaryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_alarms.size());
}

int AlarmSummaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString AlarmSummaryModel::stateName(AlarmState state) {
    switch (state) {
    case AlarmState::ActiveUnacknowledged:
        return tr("Active, unacknowledged");
    case AlarmState::ActiveAcknowledged:
        return tr("Active, acknowledged");
    case AlarmState::ReturnedUnacknowledged:
        return tr("Returned, unacknowledged");
    }
    return {};
}

QString AlarmSummaryModel::kindName(AlarmKind kind) {
    // The English names are the gauge's event names, as the operator knows them from the form.
    switch (kind) {
    case AlarmKind::AlarmHigh:
        //: An alarm kind: the value rose above the high alarm threshold.
        return tr("OnAlarmHigh");
    case AlarmKind::AlarmLow:
        //: An alarm kind: the value fell below the low alarm threshold.
        return tr("OnAlarmLow");
    case AlarmKind::WarningHigh:
        //: An alarm kind: the value rose above the high warning threshold.
        return tr("OnWarningHigh");
    case AlarmKind::WarningLow:
        //: An alarm kind: the value fell below the low warning threshold.
        return tr("OnWarningLow");
    }
    return {};
}

QString AlarmSummaryModel::stationKindName() {
    //: The kind of an alarm of the operator station itself, not of a gauge.
    return tr("Station");
}

QString AlarmSummaryModel::transitionName(Transition transition) {
    switch (transition) {
    case Transition::Raised:
        //: What happened to an alarm: it came.
        return tr("raised");
    case Transition::Acknowledged:
        //: What happened to an alarm: an operator acknowledged it.
        return tr("acknowledged");
    case Transition::Returned:
        //: What happened to an alarm: its value went back to normal.
        return tr("returned");
    }
    return {};
}

QString AlarmSummaryModel::priorityName(AlarmPriority priority) {
    switch (priority) {
    case AlarmPriority::High:
        //: An alarm's priority.
        return tr("High");
    case AlarmPriority::Low:
        //: An alarm's priority.
        return tr("Low");
    }
    return {};
}

QString AlarmSummaryModel::carriedOverMark() {
    //: Follows an alarm's state in the summary: the alarm was raised before the panel started.
    return tr("carried over");
}

QString AlarmSummaryModel::carriedOverExplanation() {
    return tr("Carried over: raised before the panel started, rebuilt from the alarm history");
}

QVariant AlarmSummaryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Alarm& alarm = m_alarms[std::size_t(index.row())];
    if (role == StateRole)
        return int(alarm.state);
    // A cell too narrow for its text shows the whole of it as its tooltip; a carried-over
    // alarm's says where it came from.
    if (role == Qt::ToolTipRole) {
        const QString text = data(index, Qt::DisplayRole).toString();
        return alarm.carriedOver ? text + QLatin1Char('\n') + carriedOverExplanation() : text;
    }
    const bool sorting = role == SortRole;
    if (role != Qt::DisplayRole && !sorting)
        return {};
    switch (index.column()) {
    case TimeColumn:
        if (sorting)
            return qint64(alarm.timeMs);
        return m_zone.text(alarm.timeMs);
    case VariableColumn:
        return QString::fromStdString(alarm.station ? m_station : alarm.variable);
    case KindColumn:
        return alarm.station ? stationKindName() : kindName(alarm.kind);
    case ValueColumn:
        if (alarm.station)
            return QString::fromStdString(alarm.shown);
        if (sorting)
            return alarm.value;
        return alarm.shown.empty() ? QString::number(alarm.value, 'g', 7)
                                   : QString::fromStdString(alarm.shown);
    case PriorityColumn:
        if (sorting)
            return int(priorityOf(alarm.kind));
        return priorityName(priorityOf(alarm.kind));
    case StateColumn:
        if (sorting)
            return int(alarm.state);
        return alarm.carriedOver
                   //: An alarm's state, then that it was carried over from an earlier run.
                   ? tr("%1 (%2)").arg(stateName(alarm.state), carriedOverMark())
                   : stateName(alarm.state);
    }
    return {};
}

QVariant AlarmSummaryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TimeColumn:
        //: The column of alarm times; %1 names the time zone they show in.
        return tr("Time (%1)").arg(m_zone.name());
    case VariableColumn:
        return tr("Variable");
    case KindColumn:
        return tr("Kind");
    case ValueColumn:
        return tr("Value");
    case PriorityColumn:
        return tr("Priority");
    case StateColumn:
        return tr("State");
    }
    return {};
}

void AlarmSummaryModel::setZone(DisplayZone zone) {
    if (zone == m_zone)
        return;
    m_zone = zone;
    emit headerDataChanged(Qt::Horizontal, TimeColumn, TimeColumn);
    if (rowCount() > 0)
        emit dataChanged(index(0, TimeColumn), index(rowCount() - 1, TimeColumn));
}

int AlarmSummaryModel::find(const std::string& tag, AlarmKind kind) const {
    const auto found = std::find_if(m_alarms.begin(), m_alarms.end(), [&](const Alarm& a) {
        return !a.station && a.tag == tag && a.kind == kind;
    });
    return found == m_alarms.end() ? -1 : int(found - m_alarms.begin());
}

const AlarmSummaryModel::Alarm* AlarmSummaryModel::alarmOf(const std::string& tag,
                                                           AlarmKind kind) const {
    const int row = find(tag, kind);
    return row < 0 ? nullptr : &m_alarms[std::size_t(row)];
}

int AlarmSummaryModel::findStation(const std::string& id) const {
    const auto found = std::find_if(m_alarms.begin(), m_alarms.end(),
                                    [&](const Alarm& a) { return a.station && a.variable == id; });
    return found == m_alarms.end() ? -1 : int(found - m_alarms.begin());
}

void AlarmSummaryModel::raiseStationAlarm(const std::string& id, const std::string& text,
                                          std::int64_t timeMs) {
    if (const int row = findStation(id);
        row >= 0 && m_alarms[std::size_t(row)].state != AlarmState::ReturnedUnacknowledged) {
        if (m_alarms[std::size_t(row)].shown != text) {
            m_alarms[std::size_t(row)].shown = text;
            emit dataChanged(index(row, ValueColumn), index(row, ValueColumn));
        }
        return;
    } else if (row >= 0) {
        removeRow(row);
    }
    const int before = unacknowledgedCount();
    beginInsertRows({}, 0, 0);
    Alarm alarm{id, id, AlarmKind::AlarmHigh, 0, text, timeMs, AlarmState::ActiveUnacknowledged};
    alarm.station = true;
    m_alarms.insert(m_alarms.begin(), std::move(alarm));
    endInsertRows();
    if (unacknowledgedCount() != before)
        emit unacknowledgedCountChanged(unacknowledgedCount());
}

void AlarmSummaryModel::clearStationAlarm(const std::string& id) {
    const int row = findStation(id);
    if (row < 0)
        return;
    Alarm& alarm = m_alarms[std::size_t(row)];
    if (alarm.state == AlarmState::ActiveAcknowledged) {
        removeRow(row);
    } else if (alarm.state == AlarmState::ActiveUnacknowledged) {
        alarm.state = AlarmState::ReturnedUnacknowledged;
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
}

std::string AlarmSummaryModel::stationAlarmText(const std::string& id) const {
    const int row = findStation(id);
    return row < 0 ? std::string() : m_alarms[std::size_t(row)].shown;
}

void AlarmSummaryModel::acknowledgeRow(int row) {
    Alarm& alarm = m_alarms[std::size_t(row)];
    if (alarm.state == AlarmState::ReturnedUnacknowledged) {
        removeRow(row);
    } else {
        alarm.state = AlarmState::ActiveAcknowledged;
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
}

int AlarmSummaryModel::unacknowledgedCount() const {
    return int(std::count_if(m_alarms.begin(), m_alarms.end(),
                             [](const Alarm& a) { return isUnacknowledged(a.state); }));
}

void AlarmSummaryModel::announce(const Alarm& alarm, Transition transition, double value,
                                 std::int64_t timeMs, const std::string& station,
                                 const std::string& operatorName) {
    emit transitioned(AlarmTransition{timeMs, station, alarm.variable, alarm.kind, transition,
                                      value, alarm.tag, operatorName},
                      alarm.timeMs);
}

void AlarmSummaryModel::removeRow(int row) {
    beginRemoveRows({}, row, row);
    m_alarms.erase(m_alarms.begin() + row);
    endRemoveRows();
}

void AlarmSummaryModel::raise(const AlarmGauge& gauge, AlarmKind kind, double value,
                              std::int64_t timeMs, const std::string& shown) {
    const int before = unacknowledgedCount();
    // A raise while the row is still there starts it anew, at the top.
    if (const int row = find(gauge.tag, kind); row >= 0)
        removeRow(row);
    beginInsertRows({}, 0, 0);
    m_alarms.insert(m_alarms.begin(), Alarm{gauge.tag, gauge.variable, kind, value, shown, timeMs,
                                            AlarmState::ActiveUnacknowledged});
    endInsertRows();
    announce(m_alarms.front(), Transition::Raised, value, timeMs, m_station);
    if (unacknowledgedCount() != before)
        emit unacknowledgedCountChanged(unacknowledgedCount());
}

void AlarmSummaryModel::returnToNormal(const AlarmGauge& gauge, AlarmKind kind, double value,
                                       std::int64_t timeMs) {
    const int row = find(gauge.tag, kind);
    if (row < 0 || m_alarms[std::size_t(row)].state == AlarmState::ReturnedUnacknowledged)
        return;
    Alarm& alarm = m_alarms[std::size_t(row)];
    const Alarm copy = alarm;
    if (alarm.state == AlarmState::ActiveAcknowledged) {
        removeRow(row);
    } else {
        alarm.state = AlarmState::ReturnedUnacknowledged;
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
    announce(copy, Transition::Returned, value, timeMs, m_station);
}

bool AlarmSummaryModel::acknowledge(const std::string& tag, AlarmKind kind, std::int64_t timeMs,
                                    const std::string& byStation, const std::string& byOperator) {
    const int row = find(tag, kind);
    if (row < 0 || !isUnacknowledged(m_alarms[std::size_t(row)].state))
        return false;
    const Alarm copy = m_alarms[std::size_t(row)];
    acknowledgeRow(row);
    announce(copy, Transition::Acknowledged, copy.value, timeMs, byStation, byOperator);
    emit unacknowledgedCountChanged(unacknowledgedCount());
    return true;
}

const AlarmSummaryModel::Alarm*
AlarmSummaryModel::onlyUnacknowledgedCaptioned(const std::string& variable, AlarmKind kind) const {
    const Alarm* only = nullptr;
    for (const Alarm& alarm : m_alarms) {
        if (alarm.station || alarm.variable != variable || alarm.kind != kind ||
            !isUnacknowledged(alarm.state))
            continue;
        if (only)
            return nullptr;
        only = &alarm;
    }
    return only;
}

bool AlarmSummaryModel::acknowledgeShared(const AlarmTransition& acknowledgement) {
    const Alarm* alarm =
        acknowledgement.tag.empty()
            ? onlyUnacknowledgedCaptioned(acknowledgement.variable, acknowledgement.kind)
            : alarmOf(acknowledgement.tag, acknowledgement.kind);
    // Raised after the other operator acknowledged: a new occurrence they have not seen.
    if (!alarm || alarm->timeMs > acknowledgement.timeMs + SharedClockToleranceMs)
        return false;
    return acknowledge(alarm->tag, alarm->kind, acknowledgement.timeMs, acknowledgement.station,
                       acknowledgement.operatorName);
}

void AlarmSummaryModel::carryOver(const std::vector<AlarmTransition>& history,
                                  const std::vector<AlarmGauge>& gauges) {
    // The identity of each gauge, and of each caption only one gauge has.
    std::map<std::string, const AlarmGauge*> byTag;
    std::map<std::string, const AlarmGauge*> byCaption;
    for (const AlarmGauge& gauge : gauges) {
        byTag[gauge.tag] = &gauge;
        const auto [at, added] = byCaption.emplace(gauge.variable, &gauge);
        if (!added)
            at->second = nullptr;
    }
    std::map<std::pair<std::string, AlarmKind>, Alarm> open;
    for (const AlarmTransition& t : history) {
        const auto& index = t.tag.empty() ? byCaption : byTag;
        const auto found = index.find(t.tag.empty() ? t.variable : t.tag);
        if (found == index.end() || !found->second)
            continue;
        const AlarmGauge& gauge = *found->second;
        const std::pair key{gauge.tag, t.kind};
        const auto at = open.find(key);
        // Raises and returns are of this station's gauges; an acknowledgement from any.
        if (t.transition == Transition::Raised && t.station == m_station) {
            Alarm alarm{gauge.tag, gauge.variable, t.kind, t.value, {}, t.timeMs};
            alarm.carriedOver = true;
            open[key] = std::move(alarm);
        } else if (at == open.end()) {
            continue;
        } else if (t.transition == Transition::Returned && t.station == m_station) {
            if (at->second.state == AlarmState::ActiveAcknowledged)
                open.erase(at);
            else
                at->second.state = AlarmState::ReturnedUnacknowledged;
        } else if (t.transition == Transition::Acknowledged) {
            if (at->second.state == AlarmState::ReturnedUnacknowledged)
                open.erase(at);
            else
                at->second.state = AlarmState::ActiveAcknowledged;
        }
    }
    std::vector<Alarm> rows;
    for (auto& [key, alarm] : open) {
        if (find(key.first, key.second) < 0)
            rows.push_back(std::move(alarm));
    }
    if (rows.empty())
        return;
    const int before = unacknowledgedCount();
    std::sort(rows.begin(), rows.end(),
              [](const Alarm& a, const Alarm& b) { return a.timeMs > b.timeMs; });
    // Older than anything this run raised: below its rows, newest first among themselves.
    beginInsertRows({}, rowCount(), rowCount() + int(rows.size()) - 1);
    m_alarms.insert(m_alarms.end(), rows.begin(), rows.end());
    endInsertRows();
    if (unacknowledgedCount() != before)
        emit unacknowledgedCountChanged(unacknowledgedCount());
}

void AlarmSummaryModel::acknowledgeRows(std::vector<int> rows, std::int64_t timeMs) {
    // Name the alarms first: acknowledging one can remove its row and move the others.
    std::vector<std::pair<std::string, AlarmKind>> chosen;
    std::vector<std::string> stationAlarms;
    for (int row : rows) {
        if (row < 0 || row >= rowCount())
            continue;
        const Alarm& alarm = m_alarms[std::size_t(row)];
        if (alarm.station)
            stationAlarms.push_back(alarm.variable);
        else
            chosen.emplace_back(alarm.tag, alarm.kind);
    }
    for (const auto& [tag, kind] : chosen)
        acknowledge(tag, kind, timeMs, m_station, m_operator);
    // A station alarm is this station's own: acknowledged here, neither recorded nor shared.
    bool changed = false;
    for (const std::string& id : stationAlarms) {
        const int row = findStation(id);
        if (row >= 0 && isUnacknowledged(m_alarms[std::size_t(row)].state)) {
            acknowledgeRow(row);
            changed = true;
        }
    }
    if (changed)
        emit unacknowledgedCountChanged(unacknowledgedCount());
}

void AlarmSummaryModel::acknowledgeAll(std::int64_t timeMs) {
    std::vector<int> rows(m_alarms.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = int(i);
    acknowledgeRows(std::move(rows), timeMs);
}

} // namespace merv::panel
