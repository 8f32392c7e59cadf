#include "panel/AlarmHistoryModel.h"

#include "panel/AlarmSummaryModel.h"

#include <QLocale>

#include <algorithm>

namespace merv::panel {

AlarmHistoryModel::AlarmHistoryModel(AlarmHistory& history, std::vector<Variable> variables,
                                     DisplayZone zone, std::function<void()> catchUp, int pageRows,
                                     QObject* parent)
    : QAbstractTableModel(parent), m_history(history), m_variables(std::move(variables)),
      m_zone(zone), m_catchUp(std::move(catchUp)), m_pageRows(std::max(pageRows, 1)) {}

std::optional<HistoryPage> AlarmHistoryModel::read(const HistoryFilter& filter,
                                                   std::optional<HistoryKey> after) {
    if (m_catchUp)
        m_catchUp();
    try {
        return m_history.page(filter, after, std::size_t(m_pageRows));
    } catch (const HistoryError& error) {
        m_more = false;
        emit readingFailed(QString::fromUtf8(error.what()));
        return std::nullopt;
    }
}

bool AlarmHistoryModel::show(const HistoryFilter& filter) {
    std::optional<HistoryPage> first = read(filter, std::nullopt);
    if (!first)
        return false;
    const bool full = int(first->rows.size()) == m_pageRows;
    // No more is fetched while the change is announced: a view that asks then would start a
    // change inside this one. It asks again once the change is done.
    m_more = false;
    beginResetModel();
    m_filter = filter;
    m_rows = std::move(first->rows);
    m_last = first->last;
    endResetModel();
    m_more = full;
    return true;
}

bool AlarmHistoryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_more;
}

void AlarmHistoryModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    std::optional<HistoryPage> next = read(m_filter, m_last);
    if (!next)
        return;
    const bool full = int(next->rows.size()) == m_pageRows;
    m_more = false; // while the rows are announced, as in show
    if (!next->rows.empty()) {
        const int first = int(m_rows.size());
        beginInsertRows({}, first, first + int(next->rows.size()) - 1);
        m_rows.insert(m_rows.end(), std::make_move_iterator(next->rows.begin()),
                      std::make_move_iterator(next->rows.end()));
        m_last = next->last;
        endInsertRows();
    }
    m_more = full;
}

int AlarmHistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int AlarmHistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const AlarmHistoryModel::Variable* AlarmHistoryModel::variableOf(const AlarmTransition& t) const {
    const QString variable = QString::fromStdString(t.variable);
    const QString tag = QString::fromStdString(t.tag);
    // A row and a gauge that both have identities are matched by them, others by caption.
    const auto found = std::find_if(m_variables.begin(), m_variables.end(), [&](const Variable& v) {
        return t.tag.empty() || v.tag.isEmpty() ? v.name == variable : v.tag == tag;
    });
    return found == m_variables.end() ? nullptr : &*found;
}

QString AlarmHistoryModel::valueText(const AlarmTransition& t) const {
    if (const Variable* found = variableOf(t); found && found->caption) {
        if (QString caption = found->caption(t.value); !caption.isEmpty())
            return caption;
    }
    return QString::number(t.value, 'g', QLocale::FloatingPointShortest);
}

QString AlarmHistoryModel::text(const AlarmTransition& t, int column) const {
    switch (column) {
    case TimeColumn:
        return m_zone.text(t.timeMs);
    case StationColumn:
        return QString::fromStdString(t.station);
    case VariableColumn:
        return QString::fromStdString(t.variable);
    case KindColumn:
        return AlarmSummaryModel::kindName(t.kind);
    case TransitionColumn:
        return AlarmSummaryModel::transitionName(t.transition);
    case ValueColumn:
        return valueText(t);
    case OperatorColumn:
        return QString::fromStdString(t.operatorName);
    default:
        return {};
    }
}

QVariant AlarmHistoryModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const AlarmTransition& t = m_rows[std::size_t(index.row())];
    const QString shown = text(t, index.column());
    // The variable's tooltip names its gauge, which its caption may share with others.
    if (role == Qt::ToolTipRole && index.column() == VariableColumn && !t.tag.empty())
        //: A history row's gauge: its caption, then its tag.
        return tr("%1 (%2)").arg(shown, QString::fromStdString(t.tag));
    return shown;
}

QVariant AlarmHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TimeColumn:
        return tr("Time (%1)").arg(m_zone.name());
    case StationColumn:
        return tr("Station");
    case VariableColumn:
        return tr("Variable");
    case KindColumn:
        return tr("Kind");
    case TransitionColumn:
        return tr("Transition");
    case ValueColumn:
        return tr("Value");
    case OperatorColumn:
        return tr("Operator");
    default:
        return {};
    }
}

} // namespace merv::panel
