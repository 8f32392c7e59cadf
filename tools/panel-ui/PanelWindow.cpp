#include "PanelWindow.h"

#include "AlarmRowDelegate.h"
#include "GaugeCell.h"
#include "HistoryDialog.h"
#include "MervGaugeWidget.h"
#include "PanelController.h"
#include "bagfile/BagError.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDockWidget>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <set>

namespace merv::panel {
namespace {

constexpr int BlinkMs = 500; // half a period of the blinking alarm markers and rows
constexpr int SummaryMinimumWidth =
    720; // room for a whole alarm row: time, variable, kind, value, state

} // namespace

PanelWindow::PanelWindow(Form form, std::filesystem::path formPath,
                         std::unique_ptr<DataSource> source, AlarmHistory* history,
                         std::string station, QWidget* parent)
    : QMainWindow(parent), m_history(history) {
    m_sourceOptions.station = std::move(station);
    // The alarm summary, newest first.
    m_summaryModel = new QSortFilterProxyModel(this);
    m_summaryModel->setSortRole(AlarmSummaryModel::SortRole);
    m_summary = new QTableView;
    m_summary->setModel(m_summaryModel);
    m_summary->setSortingEnabled(true);
    m_summary->sortByColumn(AlarmSummaryModel::TimeColumn, Qt::DescendingOrder);
    m_summary->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_summary->setWordWrap(false);
    m_summary->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_summary->horizontalHeader()->setStretchLastSection(true);
    m_summary->verticalHeader()->hide();
    auto* rowDelegate = new AlarmRowDelegate(m_summary);
    m_summary->setItemDelegate(rowDelegate);
    auto* acknowledge = new QPushButton(tr("Acknowledge"));
    auto* acknowledgeAll = new QPushButton(tr("Acknowledge All"));
    connect(acknowledge, &QPushButton::clicked, this, [this] {
        std::vector<int> rows;
        for (const QModelIndex& index : m_summary->selectionModel()->selectedRows())
            rows.push_back(m_summaryModel->mapToSource(index).row());
        m_controller->acknowledgeRows(rows);
    });
    connect(acknowledgeAll, &QPushButton::clicked, this,
            [this] { m_controller->acknowledgeAll(); });
    auto* pane = new QWidget;
    auto* paneLayout = new QVBoxLayout(pane);
    paneLayout->addWidget(m_summary);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(acknowledge);
    buttons->addWidget(acknowledgeAll);
    paneLayout->addLayout(buttons);
    auto* dock = new QDockWidget(tr("Alarm summary"), this);
    dock->setObjectName(QStringLiteral("alarmSummary"));
    dock->setWidget(pane);
    // Beside the gauges, so a whole alarm row reads on one line.
    dock->setMinimumWidth(SummaryMinimumWidth);
    addDockWidget(Qt::RightDockWidgetArea, dock);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open…"), QKeySequence::Open, this, &PanelWindow::open);
    file->addAction(tr("&Save"), QKeySequence::Save, this, &PanelWindow::save);
    file->addAction(tr("Save &As…"), QKeySequence::SaveAs, this, &PanelWindow::saveAs);
    file->addSeparator();
    file->addAction(tr("Alarm &History…"), this, &PanelWindow::showHistory);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    m_status = new QLabel;
    statusBar()->addPermanentWidget(m_status, 1);

    auto* blink = new QTimer(this);
    connect(blink, &QTimer::timeout, this, [this, rowDelegate] {
        m_blinkOn = !m_blinkOn;
        for (GaugeCell* cell : m_cells)
            cell->setBlinkOn(m_blinkOn);
        rowDelegate->setBlinkOn(m_blinkOn);
        m_summary->viewport()->update();
    });
    blink->start(BlinkMs);

    install(std::move(form), std::move(formPath), std::move(source));
}

void PanelWindow::install(Form form, std::filesystem::path formPath,
                          std::unique_ptr<DataSource> source) {
    // The new gauges are built beside the old ones, so a form that fails leaves the panel as it
    // was.
    auto central = std::make_unique<QWidget>();
    auto* grid = new QGridLayout(central.get());
    auto controller = std::make_unique<PanelController>(
        std::move(form), std::move(source), m_history, m_sourceOptions.station, central.get());
    std::vector<GaugeCell*> cells;
    PanelController& c = *controller;
    for (int i = 0; i < c.gaugeCount(); ++i) {
        auto* cell = new GaugeCell(central.get());
        cell->setGauge(c.gauge(i));
        cell->setBlinkOn(m_blinkOn);
        grid->addWidget(cell, c.formGauge(i).row, c.formGauge(i).col);
        c.gauge(i)->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(c.gauge(i), &QWidget::customContextMenuRequested, this,
                [this, i](const QPoint& pos) {
                    contextMenuAt(i, m_controller->gauge(i)->mapToGlobal(pos));
                });
        cells.push_back(cell);
    }

    // The old controller goes first: it stops its source before its gauges are destroyed with
    // the old central widget.
    m_summaryModel->setSourceModel(&c.alarms());
    m_controller = std::move(controller);
    m_cells = std::move(cells);
    m_formPath = std::move(formPath);
    setCentralWidget(central.release());

    connect(&c, &PanelController::qualityChanged, this, [this](int i) {
        m_cells[std::size_t(i)]->setQuality(m_controller->qualityReason(i));
        updateStatus();
    });
    connect(&c.source(), &DataSource::connectionChanged, this, &PanelWindow::updateStatus);
    connect(&c.alarms(), &AlarmSummaryModel::transitioned, this, [this] { updateTitle(); });
    connect(&c, &PanelController::logged, this, [this](const QString& line) {
        statusBar()->showMessage(line, 10000);
        emit logged(line);
    });
    updateTitle();
    updateStatus();
}

void PanelWindow::openForm(const std::filesystem::path& path) {
    Form form = loadForm(path);
    auto source = openSource(form.source, m_sourceOptions);
    install(std::move(form), path, std::move(source));
    m_controller->start();
}

PanelWindow::~PanelWindow() = default;

void PanelWindow::updateTitle() {
    const AlarmSummaryModel& alarms = m_controller->alarms();
    const int unacknowledged = alarms.unacknowledgedCount();
    setWindowTitle(unacknowledged
                       ? tr("%1 — %2 unacknowledged").arg(m_controller->title()).arg(unacknowledged)
                       : m_controller->title());
    // Markers: blinking while unacknowledged, steady while active and acknowledged.
    std::map<std::string, GaugeCell::Marker> marker;
    for (const auto& alarm : alarms.alarms()) {
        auto& m = marker[alarm.variable];
        if (alarm.state == AlarmState::ActiveAcknowledged) {
            if (m == GaugeCell::Marker::None)
                m = GaugeCell::Marker::Steady;
        } else {
            m = GaugeCell::Marker::Blinking;
        }
    }
    for (int i = 0; i < m_controller->gaugeCount(); ++i) {
        const auto found = marker.find(m_controller->gauge(i)->VariableName().toStdString());
        m_cells[std::size_t(i)]->setMarker(found == marker.end() ? GaugeCell::Marker::None
                                                                 : found->second);
    }
}

void PanelWindow::updateStatus() {
    DataSource& source = m_controller->source();
    m_status->setText(
        tr("Source: %1 — %2 — %3 gauge(s) of bad quality")
            .arg(source.description(), source.isConnected() ? tr("connected") : tr("disconnected"))
            .arg(m_controller->badQualityCount()));
}

void PanelWindow::contextMenuAt(int index, const QPoint& globalPos) {
    QMenu menu(this);
    MervGaugeWidget* gauge = m_controller->gauge(index);
    menu.addAction(tr("Properties…"), gauge, &MervGaugeWidget::showPropertySheet);
    menu.addAction(tr("Acknowledge"), this,
                   [this, index] { m_controller->acknowledgeGauge(index); });
    menu.exec(globalPos);
}

void PanelWindow::showHistory() {
    if (!m_history)
        return;
    QStringList variables;
    for (int i = 0; i < m_controller->gaugeCount(); ++i)
        variables << m_controller->gauge(i)->VariableName();
    HistoryDialog dialog(*m_history, variables, this);
    dialog.exec();
}

void PanelWindow::saveFormTo(const std::filesystem::path& path) {
    saveForm(path, m_controller->currentForm());
    m_formPath = path;
}

void PanelWindow::save() {
    if (m_formPath.empty())
        return saveAs();
    try {
        saveFormTo(m_formPath);
    } catch (const BagError& error) {
        QMessageBox::critical(this, tr("Save"), QString::fromStdString(error.what()));
    }
}

void PanelWindow::saveAs() {
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save form"), {}, tr("Panel forms (*.json)"));
    if (path.isEmpty())
        return;
    m_formPath = path.toStdString();
    save();
}

void PanelWindow::setSourceOptions(const SourceOptions& options) {
    const std::string station = m_sourceOptions.station;
    m_sourceOptions = options;
    m_sourceOptions.station = station;
    // Forms opened later run on the wall clock: only the first run is driven by hand.
    m_sourceOptions.manualClock = false;
}

void PanelWindow::open() {
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open form"), {}, tr("Panel forms (*.json)"));
    if (path.isEmpty())
        return;
    try {
        openForm(path.toStdString());
    } catch (const std::exception& error) {
        QMessageBox::critical(this, tr("Open"), QString::fromUtf8(error.what()));
    }
}

} // namespace merv::panel
