#pragma once

#include "panel/AlarmHistory.h"
#include "panel/DisplayZone.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <vector>

class QComboBox;
class QDateTimeEdit;
class QTableWidget;

namespace merv::panel {

// The alarm history, filtered by a time range and a gauge (its alarms under its identity, and
// older rows, recorded before identities were, under its caption). Times show in the panel's zone
// and the pickers read in it; values show as their gauges caption them.
class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    // A gauge of the open form: its caption (VariableName), its identity, which its alarms
    // are recorded under, and its caption of a value ("31.6 bar"). Without a value caption, or
    // where it answers empty, the value shows in full.
    struct Variable {
        QString name;
        QString tag;
        std::function<QString(double)> caption;
    };

    // catchUp, where given, is called before each reading of the history: the panel lets
    // what its writer still holds reach the file first, so the transitions the summary has
    // just shown show here too.
    HistoryDialog(AlarmHistory& history, std::vector<Variable> variables, DisplayZone zone,
                  QWidget* parent = nullptr, std::function<void()> catchUp = {});
    // Shows the transitions that pass the filters.
    void refresh();
    int shownCount() const;

private:
    // The gauge a row is of, or null where no gauge of the form is.
    const Variable* variableOf(const AlarmTransition& transition) const;
    // A recorded value as its gauge shows it, or in full where no gauge of the form shows it.
    QString valueText(const AlarmTransition& transition) const;
    // Widens the dialog, within the screen, so every column shows whole.
    void fitWidth();

    AlarmHistory& m_history;
    std::function<void()> m_catchUp;
    std::vector<Variable> m_variables;
    DisplayZone m_zone;
    QDateTimeEdit* m_from;
    QDateTimeEdit* m_to;
    QComboBox* m_variable;
    QTableWidget* m_table;
};

} // namespace merv::panel
