#pragma once

#include "panel/AlarmHistory.h"
#include "panel/AlarmHistoryModel.h"
#include "panel/DisplayZone.h"

#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QDateTimeEdit;
class QTableView;

namespace merv::panel {

// The alarm history, filtered by a time range and a gauge (its alarms under its identity, and
// older rows, recorded before identities were, under its caption). Times show in the panel's zone
// and the pickers read in it; values show as their gauges caption them. The table reads the
// history a page at a time as it is scrolled, so a history of any size opens at once; a click
// on the time's header shows the newest rows first.
class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    using Variable = AlarmHistoryModel::Variable;

    // catchUp, where given, is called before each reading of the history: the panel lets
    // what its writer still holds reach the file first, so the transitions the summary has
    // just shown show here too.
    HistoryDialog(AlarmHistory& history, std::vector<Variable> variables, DisplayZone zone,
                  QWidget* parent = nullptr, std::function<void()> catchUp = {});
    // Shows the transitions that pass the filters, from their first page.
    void refresh();
    // The rows read into the table so far.
    int shownCount() const;
    const AlarmHistoryModel& model() const noexcept { return *m_model; }

private:
    // Widens the dialog, within the screen, so every column shows whole.
    void fitWidth();

    DisplayZone m_zone;
    AlarmHistoryModel* m_model;
    QDateTimeEdit* m_from;
    QDateTimeEdit* m_to;
    QComboBox* m_variable;
    QTableView* m_table;
    // Oldest first unless the operator turned it round.
    Qt::SortOrder m_order = Qt::AscendingOrder;
};

} // namespace merv::panel
