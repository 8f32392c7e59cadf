#pragma once

#include "panel/AlarmHistory.h"
#include "panel/DisplayZone.h"

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace merv::panel {

// The alarm history as a table, read a page at a time as a view asks for more, so that a
// history of millions of rows opens at once and in little memory. Times show in the panel's
// zone, values as their gauges caption them.
class AlarmHistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        TimeColumn,
        StationColumn,
        VariableColumn,
        KindColumn,
        TransitionColumn,
        ValueColumn,
        OperatorColumn, // who acknowledged, for an acknowledgement
        ColumnCount
    };
    // A gauge of the open form: its caption (VariableName), its identity, which its alarms
    // are recorded under, and its caption of a value ("31.6 bar"). Without a value caption, or
    // where it answers empty, the value shows in full.
    struct Variable {
        QString name;
        QString tag;
        std::function<QString(double)> caption;
    };
    // Rows read at a time: ten screens of a table, read and measured for its columns in a few
    // milliseconds.
    static constexpr int DefaultPageRows = 200;

    // catchUp, where given, is called before each reading of the history: the panel lets
    // what its writer still holds reach the file first, so the transitions the summary has
    // just shown show here too.
    AlarmHistoryModel(AlarmHistory& history, std::vector<Variable> variables, DisplayZone zone,
                      std::function<void()> catchUp = {}, int pageRows = DefaultPageRows,
                      QObject* parent = nullptr);

    const std::vector<Variable>& variables() const noexcept { return m_variables; }
    // Shows the transitions that pass the filter, from their first page; the rows written
    // since the last show are read too. On a HistoryError (told by readingFailed) the rows
    // shown stay as they were and false is returned.
    bool show(const HistoryFilter& filter);
    const AlarmTransition& transition(int row) const { return m_rows[std::size_t(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // A reading failed; why, as the history said it. No more rows are fetched until the
    // next show.
    void readingFailed(const QString& why);

private:
    // The gauge a row is of, or null where no gauge of the form is.
    const Variable* variableOf(const AlarmTransition& transition) const;
    // A recorded value as its gauge shows it, or in full where no gauge of the form shows it.
    QString valueText(const AlarmTransition& transition) const;
    QString text(const AlarmTransition& transition, int column) const;
    // The next page after the last row read; nullopt, after telling why, on a HistoryError.
    std::optional<HistoryPage> read(const HistoryFilter& filter, std::optional<HistoryKey> after);

    AlarmHistory& m_history;
    std::vector<Variable> m_variables;
    DisplayZone m_zone;
    std::function<void()> m_catchUp;
    int m_pageRows;
    HistoryFilter m_filter;
    std::vector<AlarmTransition> m_rows;
    std::optional<HistoryKey> m_last; // of the last row read
    bool m_more = false;              // the last page was full: there may be more
};

} // namespace merv::panel
