#include "HistoryDialog.h"

#include "ColumnSizing.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace merv::panel {
namespace {

constexpr int DefaultSpanDays = 1; // the range shown first: the last day
constexpr int ToSlackSeconds = 60; // the range ends a little after the dialog opens
constexpr int DefaultWidth = 720;  // the dialog's least first size
constexpr int DefaultHeight = 480;
constexpr auto PickerFormat = "yyyy-MM-dd HH:mm:ss";

} // namespace

HistoryDialog::HistoryDialog(AlarmHistory& history, std::vector<Variable> variables,
                             DisplayZone zone, QWidget* parent, std::function<void()> catchUp)
    : QDialog(parent), m_zone(zone),
      m_model(new AlarmHistoryModel(history, std::move(variables), zone, std::move(catchUp),
                                    AlarmHistoryModel::DefaultPageRows, this)) {
    setWindowTitle(tr("Alarm history"));
    // After the reading that failed has returned, wherever the view asked for it.
    connect(
        m_model, &AlarmHistoryModel::readingFailed, this,
        [this](const QString& why) { QMessageBox::critical(this, windowTitle(), why); },
        Qt::QueuedConnection);
    const std::vector<Variable>& gauges = m_model->variables();
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
    for (const Variable& v : gauges) {
        const bool shared = std::count_if(gauges.begin(), gauges.end(),
                                          [&](const auto& o) { return o.name == v.name; }) > 1;
        //: A gauge in the history's choice: its caption, then its tag, when captions repeat.
        m_variable->addItem(shared ? tr("%1 (%2)").arg(v.name, v.tag) : v.name);
    }
    auto* show = new QPushButton(tr("Show"));
    connect(show, &QPushButton::clicked, this, &HistoryDialog::refresh);
    m_table = new QTableView;
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    // A click on the time's header turns the order round: the newest rows of a long history
    // are then on the first page, not after all the others.
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(AlarmHistoryModel::TimeColumn, m_order);
    connect(header, &QHeaderView::sortIndicatorChanged, this,
            [this, header](int section, Qt::SortOrder order) {
                // The history is read in time order only: a click elsewhere changes nothing.
                if (section != AlarmHistoryModel::TimeColumn) {
                    const QSignalBlocker blocked(header);
                    header->setSortIndicator(AlarmHistoryModel::TimeColumn, m_order);
                    return;
                }
                m_order = order;
                refresh();
            });
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

void HistoryDialog::refresh() {
    HistoryFilter filter{m_from->dateTime().toMSecsSinceEpoch(),
                         m_to->dateTime().toMSecsSinceEpoch(),
                         {},
                         {},
                         m_order == Qt::DescendingOrder};
    if (const int chosen = m_variable->currentIndex(); chosen > 0) {
        const Variable& v = m_model->variables()[std::size_t(chosen - 1)];
        filter.variable = v.name.toStdString();
        if (!v.tag.isEmpty())
            filter.tag = v.tag.toStdString();
    }
    m_model->show(filter);
}

void HistoryDialog::fitWidth() {
    // The stretched last column keeps at least the header's default size, which the sort
    // indicator's room on the others can push beyond the dialog's first width.
    const std::vector<int> widths = contentsWidths(*m_table);
    const int lastFloor = std::max(0, m_table->horizontalHeader()->defaultSectionSize() -
                                          (widths.empty() ? 0 : widths.back()));
    const int table = framedWidth(*m_table, widths) + lastFloor;
    const QMargins margins = layout()->contentsMargins();
    int wanted = std::max(width(), table + margins.left() + margins.right());
    if (const QScreen* where = screen())
        wanted = std::min(wanted, where->availableGeometry().width());
    resize(wanted, height());
}

int HistoryDialog::shownCount() const {
    return m_model->rowCount();
}

} // namespace merv::panel
