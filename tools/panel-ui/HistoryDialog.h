#pragma once

#include "panel/AlarmHistory.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDateTimeEdit;
class QTableWidget;

namespace merv::panel {

// The alarm history, filtered by a time range and a variable.
class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    HistoryDialog(AlarmHistory& history, const QStringList& variables, QWidget* parent = nullptr);
    // Shows the transitions that pass the filters.
    void refresh();
    int shownCount() const;

private:
    AlarmHistory& m_history;
    QDateTimeEdit* m_from;
    QDateTimeEdit* m_to;
    QComboBox* m_variable;
    QTableWidget* m_table;
};

} // namespace merv::panel
