#include "panel/AlarmSummaryModel.h"

#include <algorithm>
#include <functional>

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

QVariant AlarmSummaryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Alarm& alarm = m_alarms[std::size_t(index.row())];
    if (role == StateRole)
        return int(alarm.state);
    // A cell too narrow for its text shows the whole of it as its tooltip.
    if (role == Qt::ToolTipRole)
        role = Qt::DisplayRole;
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
        return sorting ? QVariant(int(alarm.state)) : QVariant(stateName(alarm.state));
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

int AlarmSummaryModel::find(const std::string& variable, AlarmKind kind) const {
    const auto found = std::find_if(m_alarms.begin(), m_alarms.end(), [&](const Alarm& a) {
        return !a.station && a.variable == variable && a.kind == kind;
    });
    return found == m_alarms.end() ? -1 : int(found - m_alarms.begin());
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
    Alarm alarm{id, AlarmKind::AlarmHigh, 0, text, timeMs, AlarmState::ActiveUnacknowledged};
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
                                 std::int64_t timeMs, const std::string& station) {
    emit transitioned(
        AlarmTransition{timeMs, station, alarm.variable, alarm.kind, transition, value});
}

void AlarmSummaryModel::removeRow(int row) {
    beginRemoveRows({}, row, row);
    m_alarms.erase(m_alarms.begin() + row);
    endRemoveRows();
}

void AlarmSummaryModel::raise(const std::string& variable, AlarmKind kind, double value,
                              std::int64_t timeMs, const std::string& shown) {
    const int before = unacknowledgedCount();
    // A raise while the row is still there starts it anew, at the top.
    if (const int row = find(variable, kind); row >= 0)
        removeRow(row);
    beginInsertRows({}, 0, 0);
    m_alarms.insert(m_alarms.begin(),
                    Alarm{variable, kind, value, shown, timeMs, AlarmState::ActiveUnacknowledged});
    endInsertRows();
    announce(m_alarms.front(), Transition::Raised, value, timeMs, m_station);
    if (unacknowledgedCount() != before)
        emit unacknowledgedCountChanged(unacknowledgedCount());
}

void AlarmSummaryModel::returnToNormal(const std::string& variable, AlarmKind kind, double value,
                                       std::int64_t timeMs) {
    const int row = find(variable, kind);
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

bool AlarmSummaryModel::acknowledge(const std::string& variable, AlarmKind kind,
                                    std::int64_t timeMs, const std::string& byStation) {
    const int row = find(variable, kind);
    if (row < 0 || !isUnacknowledged(m_alarms[std::size_t(row)].state))
        return false;
    const Alarm copy = m_alarms[std::size_t(row)];
    acknowledgeRow(row);
    announce(copy, Transition::Acknowledged, copy.value, timeMs, byStation);
    emit unacknowledgedCountChanged(unacknowledgedCount());
    return true;
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
            chosen.emplace_back(alarm.variable, alarm.kind);
    }
    for (const auto& [variable, kind] : chosen)
        acknowledge(variable, kind, timeMs, m_station);
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
