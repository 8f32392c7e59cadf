#include "HistoryDialog.h"

#include "ColumnSizing.h"
#include "panel/AlarmSummaryModel.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace merv::panel {
namespace {

constexpr int DefaultSpanDays = 1; // the range shown first: the last day
constexpr int ToSlackSeconds = 60; // the range ends a little after the dialog opens
constexpr int DefaultWidth = 720;  // the dialog's least first size
constexpr int DefaultHeight = 480;
constexpr auto PickerFormat = "yyyy-MM-dd HH:mm:ss";
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

} // namespace

HistoryDialog::HistoryDialog(AlarmHistory& history, std::vector<Variable> variables,
                             DisplayZone zone, QWidget* parent, std::function<void()> catchUp)
    : QDialog(parent), m_history(history), m_catchUp(std::move(catchUp)),
      m_variables(std::move(variables)), m_zone(zone) {
    setWindowTitle(tr("Alarm history"));
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    m_from = new QDateTimeEdit;
    m_to = new QDateTimeEdit;
    for (QDateTimeEdit* edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QLatin1String(PickerFormat));
        edit->setTimeSpec(m_zone.timeSpec());
    }
    m_from->setDateTime(m_zone.dateTime(now - std::int64_t(DefaultSpanDays) * 86'400'000));
    m_to->setDateTime(m_zone.dateTime(now + ToSlackSeconds * 1000));
    m_variable = new QComboBox;
    m_variable->addItem(tr("(all)"));
    // Gauges of one caption are told apart by their identities.
    for (const Variable& v : m_variables) {
        const bool shared = std::count_if(m_variables.begin(), m_variables.end(),
                                          [&](const auto& o) { return o.name == v.name; }) > 1;
        //: A gauge in the history's choice: its caption, then its tag, when captions repeat.
        m_variable->addItem(shared ? tr("%1 (%2)").arg(v.name, v.tag) : v.name);
    }
    auto* show = new QPushButton(tr("Show"));
    connect(show, &QPushButton::clicked, this, &HistoryDialog::refresh);
    m_table = new QTableWidget(0, ColumnCount);
    m_table->setHorizontalHeaderLabels({tr("Time (%1)").arg(m_zone.name()), tr("Station"),
                                        tr("Variable"), tr("Kind"), tr("Transition"), tr("Value"),
                                        tr("Operator")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    sizeColumnsToContents(*m_table);

    auto* filters = new QFormLayout;
    filters->addRow(tr("From (%1)").arg(m_zone.name()), m_from);
    filters->addRow(tr("To (%1)").arg(m_zone.name()), m_to);
    filters->addRow(tr("Variable"), m_variable);
    filters->addRow(show);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_table);
    resize(DefaultWidth, DefaultHeight);
    refresh();
    fitWidth();
}

const HistoryDialog::Variable* HistoryDialog::variableOf(const AlarmTransition& t) const {
    const auto found = std::find_if(m_variables.begin(), m_variables.end(), [&](const Variable& v) {
        return (t.tag.empty() || v.tag.isEmpty() ? v.name : v.tag) ==
               QString::fromStdString(t.tag.empty() || v.tag.isEmpty() ? t.variable : t.tag);
    });
    return found == m_variables.end() ? nullptr : &*found;
}

QString HistoryDialog::valueText(const AlarmTransition& t) const {
    if (const Variable* found = variableOf(t); found && found->caption) {
        if (QString caption = found->caption(t.value); !caption.isEmpty())
            return caption;
    }
    return QString::number(t.value, 'g', QLocale::FloatingPointShortest);
}

void HistoryDialog::refresh() {
    if (m_catchUp)
        m_catchUp();
    std::optional<std::string> variable, tag;
    if (const int chosen = m_variable->currentIndex(); chosen > 0) {
        const Variable& v = m_variables[std::size_t(chosen - 1)];
        variable = v.name.toStdString();
        if (!v.tag.isEmpty())
            tag = v.tag.toStdString();
    }
    std::vector<AlarmTransition> rows;
    try {
        rows = m_history.query(m_from->dateTime().toMSecsSinceEpoch(),
                               m_to->dateTime().toMSecsSinceEpoch(), variable, tag);
    } catch (const HistoryError& error) {
        QMessageBox::critical(this, windowTitle(), QString::fromUtf8(error.what()));
        return;
    }
    m_table->setRowCount(int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const AlarmTransition& t = rows[r];
        const QStringList cells{m_zone.text(t.timeMs),
                                QString::fromStdString(t.station),
                                QString::fromStdString(t.variable),
                                AlarmSummaryModel::kindName(t.kind),
                                AlarmSummaryModel::transitionName(t.transition),
                                valueText(t),
                                QString::fromStdString(t.operatorName)};
        for (int c = 0; c < int(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            // The variable's tooltip names its gauge, which its caption may share with others.
            item->setToolTip(c == VariableColumn && !t.tag.empty()
                                 //: A history row's gauge: its caption, then its tag.
                                 ? tr("%1 (%2)").arg(cells[c], QString::fromStdString(t.tag))
                                 : cells[c]);
            m_table->setItem(int(r), c, item);
        }
    }
}

void HistoryDialog::fitWidth() {
    const int table = wholeColumnsWidth(*m_table);
    const QMargins margins = layout()->contentsMargins();
    int wanted = std::max(width(), table + margins.left() + margins.right());
    if (const QScreen* where = screen())
        wanted = std::min(wanted, where->availableGeometry().width());
    resize(wanted, height());
}

int HistoryDialog::shownCount() const {
    return m_table->rowCount();
}

} // namespace merv::panel
