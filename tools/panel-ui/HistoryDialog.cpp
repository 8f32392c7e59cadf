#include "HistoryDialog.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace merv::panel {
namespace {

constexpr int DefaultSpanDays = 1; // the range shown first: the last day
const QStringList Columns{"Time (UTC)", "Station", "Variable", "Kind", "Transition", "Value"};

} // namespace

HistoryDialog::HistoryDialog(AlarmHistory& history, const QStringList& variables, QWidget* parent)
    : QDialog(parent), m_history(history) {
    setWindowTitle(tr("Alarm history"));
    const QDateTime now = QDateTime::currentDateTime();
    m_from = new QDateTimeEdit(now.addDays(-DefaultSpanDays));
    m_to = new QDateTimeEdit(now.addSecs(60));
    for (QDateTimeEdit* edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    m_variable = new QComboBox;
    m_variable->addItem(tr("(all)"));
    m_variable->addItems(variables);
    auto* show = new QPushButton(tr("Show"));
    connect(show, &QPushButton::clicked, this, &HistoryDialog::refresh);
    m_table = new QTableWidget(0, int(Columns.size()));
    m_table->setHorizontalHeaderLabels(Columns);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* filters = new QFormLayout;
    filters->addRow(tr("From"), m_from);
    filters->addRow(tr("To"), m_to);
    filters->addRow(tr("Variable"), m_variable);
    filters->addRow(show);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_table);
    resize(720, 480);
    refresh();
}

void HistoryDialog::refresh() {
    std::optional<std::string> variable;
    if (m_variable->currentIndex() > 0)
        variable = m_variable->currentText().toStdString();
    std::vector<AlarmTransition> rows;
    try {
        rows = m_history.query(m_from->dateTime().toMSecsSinceEpoch(),
                               m_to->dateTime().toMSecsSinceEpoch(), variable);
    } catch (const HistoryError& error) {
        QMessageBox::critical(this, windowTitle(), QString::fromUtf8(error.what()));
        return;
    }
    m_table->setRowCount(int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const AlarmTransition& t = rows[r];
        const QStringList cells{
            QString::fromStdString(utcText(t.timeMs)), QString::fromStdString(t.station),
            QString::fromStdString(t.variable),        QString::fromStdString(t.kind),
            QString::fromStdString(t.transition),      QString::number(t.value)};
        for (int c = 0; c < int(cells.size()); ++c)
            m_table->setItem(int(r), c, new QTableWidgetItem(cells[c]));
    }
}

int HistoryDialog::shownCount() const {
    return m_table->rowCount();
}

} // namespace merv::panel
