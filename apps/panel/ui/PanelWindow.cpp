#include "PanelWindow.h"

#include "AlarmRowDelegate.h"
#include "ColumnSizing.h"
#include "DesignedScreen.h"
#include "FramePacer.h"
#include "GaugeCell.h"
#include "HistoryDialog.h"
#include "PanelController.h"
#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/bagfile/BagError.h>

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace merv::panel {
namespace {

constexpr int BlinkMs = 500;           // half a period of the blinking alarm markers and rows
constexpr int HighlightMs = 3000;      // how long a gauge shown from its alarm stays framed
constexpr int StatusMessageMs = 10000; // how long a message stays over the status bar
// The summary is sorted again at most this often: a flood changes its rows a thousand times a
// second, and each sort lays out and repaints every row in sight.
constexpr int SummaryResortMs = 250;
// The longest the history waits for its writer's last batch: a few batches on a slow disk.
constexpr std::int64_t HistoryCatchUpMs = 1000;
// The summary's least width, room for a whole alarm row of the usual texts; longer texts widen
// it, up to this share of the screen.
constexpr int SummaryMinimumWidth = 720;
constexpr qreal SummaryMostOfScreen = 0.5;

// View → Zoom's fixed factors.
constexpr qreal ZoomPresets[] = {1, 1.5, 2};

QString zoomName(qreal factor) {
    //: A zoom factor in View → Zoom, in percent.
    return PanelWindow::tr("%1 %").arg(qRound(factor * 100));
}

} // namespace

PanelWindow::PanelWindow(Form form, std::filesystem::path formPath,
                         std::unique_ptr<DataSource> source, AlarmHistory* history,
                         std::string station, QWidget* parent)
    : PanelWindow(PagedForm{std::move(form), {}}, std::move(formPath), std::move(source), history,
                  std::move(station), parent) {}

PanelWindow::PanelWindow(DesignedForm form, std::filesystem::path formPath,
                         std::unique_ptr<DataSource> source, AlarmHistory* history,
                         std::string station, QWidget* parent)
    : PanelWindow(asPagedForm(std::move(form)), std::move(formPath), std::move(source), history,
                  std::move(station), parent) {}

PanelWindow::PanelWindow(PagedForm form, std::filesystem::path formPath,
                         std::unique_ptr<DataSource> source, AlarmHistory* history,
                         std::string station, QWidget* parent)
    : QMainWindow(parent), m_history(history), m_pacer(new FramePacer(this)) {
    m_sourceOptions.station = std::move(station);
    // The alarm summary, newest first.
    m_summaryModel = new QSortFilterProxyModel(this);
    m_summaryModel->setSortRole(AlarmSummaryModel::SortRole);
    // Changed and new rows are sorted in by scheduleResort, at once after a quiet spell and at
    // most every SummaryResortMs in a flood; meanwhile a changed cell repaints alone.
    m_summaryModel->setDynamicSortFilter(false);
    m_resort.setSingleShot(true);
    m_titleDue.setSingleShot(true);
    m_titleDue.setInterval(0);
    connect(&m_titleDue, &QTimer::timeout, this, &PanelWindow::updateTitle);
    connect(&m_resort, &QTimer::timeout, this, [this] {
        m_sinceResort.start();
        m_summaryModel->sort(m_summaryModel->sortColumn(), m_summaryModel->sortOrder());
    });
    connect(m_summaryModel, &QAbstractItemModel::rowsInserted, this, &PanelWindow::scheduleResort);
    connect(m_summaryModel, &QAbstractItemModel::dataChanged, this, &PanelWindow::scheduleResort);
    m_summary = new QTableView;
    m_summary->setModel(m_summaryModel);
    m_summary->setSortingEnabled(true);
    m_summary->sortByColumn(AlarmSummaryModel::TimeColumn, Qt::DescendingOrder);
    m_summary->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Sized once per form from a sample of what its alarms can show (formSummaryColumns): a
    // flood changes rows a thousand times a second, and sizing to the contents would measure
    // every shown row at every change.
    sizeColumnsTo(*m_summary, {});
    m_summary->verticalHeader()->hide();
    connect(m_summary->horizontalHeader(), &QHeaderView::sectionResized, this,
            &PanelWindow::fitSummaryWidth);
    // A double-click on an alarm shows its gauge, on whichever page it is.
    connect(m_summary, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const int row = m_summaryModel->mapToSource(index).row();
        const auto& alarms = m_controller->alarms().alarms();
        if (row < 0 || std::size_t(row) >= alarms.size() || alarms[std::size_t(row)].station)
            return;
        for (int i = 0; i < m_controller->gaugeCount(); ++i)
            if (m_controller->formGauge(i).identity() == alarms[std::size_t(row)].tag)
                return showGauge(i);
    });
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
    // Above the summary's rows, where the alarms it counts are.
    m_newAlarmsBar = new QPushButton;
    m_newAlarmsBar->setObjectName(QStringLiteral("newAlarmsAbove"));
    m_newAlarmsBar->hide();
    connect(m_newAlarmsBar, &QPushButton::clicked, this, &PanelWindow::showNewestAlarms);
    followNewAlarms();
    auto* pane = new QWidget;
    auto* paneLayout = new QVBoxLayout(pane);
    paneLayout->addWidget(m_newAlarmsBar);
    paneLayout->addWidget(m_summary);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(acknowledge);
    buttons->addWidget(acknowledgeAll);
    paneLayout->addLayout(buttons);
    m_summaryDock = new QDockWidget(tr("Alarm summary"), this);
    m_summaryDock->setObjectName(QStringLiteral("alarmSummary"));
    m_summaryDock->setWidget(pane);
    // Beside the gauges, so a whole alarm row reads on one line.
    m_summaryDock->setMinimumWidth(SummaryMinimumWidth);
    addDockWidget(Qt::RightDockWidgetArea, m_summaryDock);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open…"), QKeySequence::Open, this, &PanelWindow::open);
    file->addAction(tr("&Save"), QKeySequence::Save, this, &PanelWindow::save);
    file->addAction(tr("Save &As…"), QKeySequence::SaveAs, this, &PanelWindow::saveAs);
    file->addSeparator();
    file->addAction(tr("Alarm &History…"), this, &PanelWindow::showHistory);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    m_zoomMenu = menuBar()->addMenu(tr("&View"))->addMenu(tr("&Zoom"));
    m_zoomActions = new QActionGroup(this);
    addZoomChoice(tr("&Fit to Window"), Zoom::fit());
    for (const qreal factor : ZoomPresets)
        addZoomChoice(zoomName(factor), Zoom::by(factor));

    // Permanent, at the right and only as wide as its text: temporary messages (a refused value)
    // show in the room left of it, never over it.
    m_status = new QLabel;
    statusBar()->addPermanentWidget(m_status);

    // Each frame shows every value that has come, released by the source's thread or not.
    connect(m_pacer, &FramePacer::frameDue, this,
            [this] { m_controller->source().takeDelivered(); });
    connect(m_pacer, &FramePacer::paceChanged, this,
            [this] { m_controller->source().setPace(m_pacer->frameInterval()); });

    auto* blink = new QTimer(this);
    connect(blink, &QTimer::timeout, this, [this, rowDelegate] {
        m_blinkOn = !m_blinkOn;
        for (GaugeCell* cell : m_cells)
            cell->setBlinkOn(m_blinkOn);
        rowDelegate->setBlinkOn(m_blinkOn);
        repaintBlinkingRows();
    });
    blink->start(BlinkMs);

    install(std::move(form), std::move(formPath), std::move(source));
    setZoom(m_zoom);
}

void PanelWindow::install(PagedForm paged, std::filesystem::path formPath,
                          std::unique_ptr<DataSource> source) {
    Form& form = paged.form;
    std::vector<std::optional<DesignedForm>>& designs = paged.designedPages;
    const auto designedPage = [&](std::size_t page) -> const DesignedForm* {
        return page < designs.size() && designs[page] ? &*designs[page] : nullptr;
    };
    // The new gauges are built beside the old ones, so a form that fails leaves the panel as it
    // was.
    std::unique_ptr<QWidget> central;
    std::vector<GaugeBoard*> boards;
    // Each page's view and what its cells are made in: its grid, or its designed screen.
    std::vector<QScrollArea*> views;
    std::vector<QWidget*> cellParents;
    std::vector<DesignedScreen*> screens;
    QTabWidget* pages = nullptr;
    const auto makePage = [&](std::size_t page) -> std::unique_ptr<QScrollArea> {
        if (const DesignedForm* designed = designedPage(page)) {
            const std::filesystem::path file =
                form.pages.empty() ? formPath : designedPageFile(formPath, form.pages[page]);
            auto screen = std::make_unique<DesignedScreen>(*designed, file.string());
            views.push_back(screen.get());
            screens.push_back(screen.get());
            cellParents.push_back(screen->screen());
            return screen;
        }
        auto board = std::make_unique<GaugeBoard>();
        board->setZoom(m_zoom);
        boards.push_back(board.get());
        views.push_back(board.get());
        screens.push_back(nullptr);
        cellParents.push_back(board.get());
        return board;
    };
    if (form.pages.empty()) {
        central = makePage(0);
    } else {
        // A page each, as tabs; the gauges of hidden pages evaluate every value and paint
        // nothing until their page is shown.
        auto built = std::make_unique<QTabWidget>();
        built->setObjectName(QStringLiteral("pages"));
        for (std::size_t p = 0; p < form.pages.size(); ++p) {
            built->addTab(makePage(p).release(), QString::fromStdString(form.pages[p].title));
        }
        pages = built.get();
        central = std::move(built);
    }
    std::unique_ptr<PanelController> controller;
    try {
        controller = std::make_unique<PanelController>(
            std::move(form), std::move(source), m_history, m_sourceOptions.station, cellParents[0]);
    } catch (const SourceError& error) {
        if (formPath.empty())
            throw;
        throw SourceError(formPath.string() + ": " + error.what());
    }
    std::vector<GaugeCell*> cells;
    std::vector<std::vector<std::pair<GaugeCell*, std::string>>> designedPlaces(views.size());
    PanelController& c = *controller;
    c.alarms().setOperatorName(m_sourceOptions.operatorName);
    c.setMaxSkewMs(m_sourceOptions.maxSkewMs);
    for (int i = 0; i < c.gaugeCount(); ++i) {
        // Made inside the board or the screen, so that taking its gauge moves the gauge within
        // one window: a move between windows walks the whole focus chain, every gauge of the
        // form.
        const auto page = std::size_t(c.formGauge(i).page);
        auto* cell = new GaugeCell(cellParents[page]);
        cell->setGauge(c.gauge(i));
        cell->setBlinkOn(m_blinkOn);
        if (screens[page])
            designedPlaces[page].emplace_back(cell, c.formGauge(i).objectName);
        else
            static_cast<GaugeBoard*>(views[page])
                ->addCell(cell, c.formGauge(i).row, c.formGauge(i).col);
        c.gauge(i)->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(c.gauge(i), &QWidget::customContextMenuRequested, this,
                [this, i](const QPoint& pos) {
                    contextMenuAt(i, m_controller->gauge(i)->mapToGlobal(pos));
                });
        cells.push_back(cell);
    }
    for (std::size_t p = 0; p < screens.size(); ++p)
        if (screens[p])
            screens[p]->place(designedPlaces[p]);

    // Transitions the history could not take yet stay first in line.
    if (m_controller && m_controller->historyWriter() && c.historyWriter())
        c.historyWriter()->takeOver(*m_controller->historyWriter());
    // The old controller goes first: it stops its source before its gauges are destroyed with
    // the old central widget.
    c.alarms().setZone(m_zone);
    c.source().setPace(m_pacer->frameInterval());
    m_summaryModel->setSourceModel(&c.alarms());
    m_controller = std::move(controller);
    m_cells = std::move(cells);
    m_formPath = std::move(formPath);
    m_board = screens.front() ? nullptr : static_cast<GaugeBoard*>(views.front());
    m_boards = std::move(boards);
    m_pageViews = std::move(views);
    m_pages = pages;
    m_screen = pages ? nullptr : screens.front();
    m_designedPages = std::move(designs);
    setCentralWidget(central.release());
    // A designed screen shows as it was drawn.
    m_zoomMenu->setEnabled(!m_boards.empty());

    connect(&c, &PanelController::qualityChanged, this, [this](int i) {
        m_cells[std::size_t(i)]->setQuality(m_controller->qualityReason(i));
        updateStatus();
    });
    connect(&c.source(), &DataSource::connectionChanged, this,
            [this](bool connected, const QString& detail) {
                updateStatus();
                if (detail.isEmpty())
                    return;
                // Why the link is down is too long for the status line: it is said over the
                // status bar, and stays in its tooltip.
                if (!connected)
                    statusBar()->showMessage(detail, StatusMessageMs);
                m_status->setToolTip(detail);
                emit sourceSaid(detail);
            });
    connect(&c, &PanelController::historyChanged, this, &PanelWindow::updateStatus);
    const auto titleDue = [this] {
        if (!m_titleDue.isActive())
            m_titleDue.start();
    };
    connect(&c.alarms(), &AlarmSummaryModel::transitioned, this, titleDue);
    // A station alarm counts without being a transition.
    connect(&c.alarms(), &AlarmSummaryModel::unacknowledgedCountChanged, this, titleDue);
    connect(&c, &PanelController::logged, this, [this](const QString& line) {
        statusBar()->showMessage(line, StatusMessageMs);
        emit logged(line);
    });
    updateTitle();
    updateStatus();
    fitSummaryColumns();
}

void PanelWindow::openForm(const std::filesystem::path& path) {
    PagedForm form =
        isDesignedForm(path) ? asPagedForm(loadDesignedForm(path)) : loadPagedForm(path);
    auto source =
        openSource(form.form.source, sourceOptionsFor(m_sourceOptions, form.form, path, true));
    install(std::move(form), path, std::move(source));
    m_controller->start();
}

PanelWindow::~PanelWindow() {
    // The views resize their sections while they are torn down, after this window's own parts.
    m_summary->horizontalHeader()->disconnect(this);
}

void PanelWindow::updateTitle() {
    const AlarmSummaryModel& alarms = m_controller->alarms();
    const int unacknowledged = alarms.unacknowledgedCount();
    setWindowTitle(unacknowledged
                       ? tr("%1 — %2 unacknowledged").arg(m_controller->title()).arg(unacknowledged)
                       : m_controller->title());
    // Markers: blinking while unacknowledged, steady while active and acknowledged.
    std::map<std::string, GaugeCell::Marker> marker;
    for (const auto& alarm : alarms.alarms()) {
        if (alarm.station)
            continue; // no gauge's
        auto& m = marker[alarm.tag];
        if (alarm.state == AlarmState::ActiveAcknowledged) {
            if (m == GaugeCell::Marker::None)
                m = GaugeCell::Marker::Steady;
        } else {
            m = GaugeCell::Marker::Blinking;
        }
    }
    for (int i = 0; i < m_controller->gaugeCount(); ++i) {
        const auto found = marker.find(m_controller->formGauge(i).identity());
        m_cells[std::size_t(i)]->setMarker(found == marker.end() ? GaugeCell::Marker::None
                                                                 : found->second);
    }
}

void PanelWindow::updateStatus() {
    DataSource& source = m_controller->source();
    QString text =
        tr("Source: %1 — %2 — %3 gauge(s) of bad quality")
            .arg(source.description(), source.isConnected() ? tr("connected") : tr("disconnected"))
            .arg(m_controller->badQualityCount());
    if (const QString history = m_controller->historyStatus(); !history.isEmpty())
        text += QStringLiteral(" — ") + history;
    m_status->setText(text);
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
    std::vector<HistoryDialog::Variable> variables;
    for (int i = 0; i < m_controller->gaugeCount(); ++i) {
        variables.push_back(
            {m_controller->gauge(i)->VariableName(),
             QString::fromStdString(m_controller->formGauge(i).identity()),
             [this, i](double value) { return m_controller->valueCaption(i, value); }});
    }
    HistoryWriter* writer = m_controller->historyWriter();
    HistoryDialog dialog(*m_history, std::move(variables), m_zone, this, [writer] {
        // A history that refuses writes is read as it stands: waiting would only stall.
        if (writer && writer->status().writable)
            writer->drain(HistoryCatchUpMs);
    });
    dialog.exec();
}

void PanelWindow::setZoom(Zoom zoom) {
    m_zoom = zoom;
    for (GaugeBoard* page : m_boards)
        page->setZoom(zoom);
    // Before the window is first shown no layout hears of the new size hint by itself.
    layout()->invalidate();
    auto chosen = [&] {
        return std::find_if(m_zoomChoices.begin(), m_zoomChoices.end(),
                            [&](const auto& choice) { return choice.second == zoom; });
    };
    // A factor the menu does not offer (from the command line) gets an entry of its own.
    if (chosen() == m_zoomChoices.end())
        addZoomChoice(zoomName(*zoom.factor), zoom);
    chosen()->first->setChecked(true);
}

void PanelWindow::addZoomChoice(const QString& name, Zoom zoom) {
    QAction* action = m_zoomMenu->addAction(name, this, [this, zoom] { setZoom(zoom); });
    action->setCheckable(true);
    m_zoomActions->addAction(action);
    m_zoomChoices.emplace_back(action, zoom);
}

void PanelWindow::setMaxFramesPerSecond(qreal fps) {
    m_pacer->setMaxFramesPerSecond(fps);
}

void PanelWindow::setZone(DisplayZone zone) {
    m_zone = zone;
    m_controller->alarms().setZone(zone);
    fitSummaryColumns();
}

void PanelWindow::fitSummaryColumns() {
    m_formSummaryColumns = formSummaryColumns();
    sizeColumnsTo(*m_summary, m_formSummaryColumns);
    fitSummaryWidth();
}

void PanelWindow::fitSummaryWidth() {
    int most = QWIDGETSIZE_MAX;
    if (const QScreen* where = screen())
        most = int(where->availableGeometry().width() * SummaryMostOfScreen);
    const int pane = m_summaryDock->widget()->layout()->contentsMargins().left() +
                     m_summaryDock->widget()->layout()->contentsMargins().right();
    // The columns as the operator left them, the stretched last one as the form needs it.
    const QHeaderView& header = *m_summary->horizontalHeader();
    std::vector<int> shown = m_formSummaryColumns;
    for (int c = 0; c + 1 < header.count() && c < int(shown.size()); ++c)
        shown[std::size_t(c)] = std::max(shown[std::size_t(c)], header.sectionSize(c));
    const int columns = framedWidth(*m_summary, shown);
    const int needed = std::max(SummaryMinimumWidth, std::min(columns + pane, most));
    m_summaryDock->setMinimumWidth(needed);
    // The dock starts as wide as its columns need and the gauges have the rest; later it only
    // grows, where the operator widened a column, and keeps a width the operator gave it.
    if (!isVisible() || m_summaryDock->width() < needed)
        resizeDocks({m_summaryDock}, {needed}, Qt::Horizontal);
}

void PanelWindow::showGauge(int index) {
    GaugeCell* cell = m_cells[std::size_t(index)];
    const int page = m_controller->formGauge(index).page;
    if (m_pages)
        m_pages->setCurrentIndex(page);
    m_pageViews[std::size_t(page)]->ensureWidgetVisible(cell);
    for (GaugeCell* other : m_cells)
        other->setHighlighted(other == cell);
    QTimer::singleShot(HighlightMs, cell, [cell] { cell->setHighlighted(false); });
}

void PanelWindow::repaintBlinkingRows() {
    // Only the rows in sight that blink: a summary of thousands repaints a screenful at most.
    const QRect visible = m_summary->viewport()->rect();
    const QModelIndex first = m_summary->indexAt(visible.topLeft());
    if (!first.isValid())
        return;
    QRegion blinking;
    for (int row = first.row(); row < m_summaryModel->rowCount(); ++row) {
        const QRect rect = m_summary->visualRect(m_summaryModel->index(row, 0));
        if (rect.top() > visible.bottom())
            break;
        const auto state =
            AlarmState(m_summaryModel->index(row, 0).data(AlarmSummaryModel::StateRole).toInt());
        if (state != AlarmState::ActiveAcknowledged)
            blinking += QRect(0, rect.top(), visible.width(), rect.height());
    }
    m_summary->viewport()->update(blinking);
}

void PanelWindow::followNewAlarms() {
    QScrollBar* bar = m_summary->verticalScrollBar();
    // Only the operator's own use of the scroll bar (or the wheel) leaves the top: a click on a
    // row or the view keeping a selection in sight does not.
    connect(bar, &QAbstractSlider::actionTriggered, this, [this] {
        m_operatorScrolls = true;
        // An action that moved nothing (at the end already) ends here.
        QTimer::singleShot(0, this, [this] { m_operatorScrolls = false; });
    });
    connect(bar, &QAbstractSlider::valueChanged, this, [this, bar](int value) {
        if (value == bar->minimum())
            m_followNewest = true;
        else if (m_operatorScrolls)
            m_followNewest = false;
        m_operatorScrolls = false;
        updateNewAlarmsBar();
    });
    connect(m_summaryModel, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { alarmsArrived(first, last); });
    // A raise, also of an alarm still in the summary, always comes as a new row; other changes
    // (an acknowledgement) only change the count.
    connect(m_summaryModel, &QAbstractItemModel::dataChanged, this,
            &PanelWindow::scheduleNewAlarmsBar);
    connect(m_summaryModel, &QAbstractItemModel::layoutChanged, this, [this] {
        if (m_followNewest)
            m_summary->scrollToTop();
        updateNewAlarmsBar();
    });
    connect(m_summaryModel, &QAbstractItemModel::rowsRemoved, this,
            &PanelWindow::scheduleNewAlarmsBar);
    connect(m_summaryModel, &QAbstractItemModel::modelReset, this, [this] {
        m_arrivedAbove.clear();
        updateNewAlarmsBar();
    });
}

void PanelWindow::alarmsArrived(int first, int last) {
    if (m_followNewest) {
        m_summary->scrollToTop();
        return;
    }
    for (int row = first; row <= last; ++row)
        m_arrivedAbove.emplace_back(m_summaryModel->index(row, 0));
    updateNewAlarmsBar();
}

void PanelWindow::scheduleResort() {
    if (m_resort.isActive())
        return;
    const qint64 since = m_sinceResort.isValid() ? m_sinceResort.elapsed() : SummaryResortMs;
    m_resort.start(int(std::max<qint64>(0, SummaryResortMs - since)));
}

void PanelWindow::scheduleNewAlarmsBar() {
    // Once per pass of the event loop: finding the first row in sight lays the view out, which
    // a flood of a thousand changes a second must not do a thousand times.
    if (m_newAlarmsBarDue)
        return;
    m_newAlarmsBarDue = true;
    QTimer::singleShot(0, this, [this] {
        m_newAlarmsBarDue = false;
        updateNewAlarmsBar();
    });
}

void PanelWindow::updateNewAlarmsBar() {
    const QModelIndex top = m_summary->indexAt(QPoint(0, 0));
    const int topRow = top.isValid() ? top.row() : m_summaryModel->rowCount();
    std::erase_if(m_arrivedAbove, [this, topRow](const QPersistentModelIndex& index) {
        if (m_followNewest || !index.isValid())
            return true;
        return AlarmState(index.data(AlarmSummaryModel::StateRole).toInt()) !=
                   AlarmState::ActiveUnacknowledged ||
               (index.row() >= topRow &&
                m_summary->visualRect(index).bottom() < m_summary->viewport()->height());
    });
    const int above = int(std::count_if(
        m_arrivedAbove.begin(), m_arrivedAbove.end(),
        [topRow](const QPersistentModelIndex& index) { return index.row() < topRow; }));
    if (above > 0)
        //: The bar above the alarm summary once the operator scrolled down; a click on it
        //: returns to the newest alarms.
        m_newAlarmsBar->setText(tr("%n new alarm(s) above", nullptr, above));
    m_newAlarmsBar->setVisible(above > 0);
}

void PanelWindow::showNewestAlarms() {
    m_followNewest = true;
    m_summary->scrollToTop();
    updateNewAlarmsBar();
}

std::vector<int> PanelWindow::formSummaryColumns() const {
    AlarmSummaryModel sample(m_controller->alarms().station());
    sample.setZone(m_zone);
    m_controller->sampleAlarms(sample);
    // Never shown: it measures the sample as the summary would show it.
    QTableView view;
    view.setFont(m_summary->font());
    view.setModel(&sample);
    AlarmRowDelegate delegate;
    view.setItemDelegate(&delegate);
    sizeColumnsToContents(view);
    // A header with room for the sort arrow is wider.
    view.horizontalHeader()->setSortIndicatorShown(
        m_summary->horizontalHeader()->isSortIndicatorShown());
    return contentsWidths(view);
}

QSize PanelWindow::sizeHint() const {
    QSize size = QMainWindow::sizeHint();
    // An offscreen run (a snapshot) draws the whole window, whatever its nominal screen.
    if (const QScreen* where = screen(); where && QGuiApplication::platformName() != "offscreen")
        size = size.boundedTo(where->availableGeometry().size());
    return size;
}

void PanelWindow::saveFormTo(const std::filesystem::path& path) {
    const Form now = m_controller->currentForm();
    if (m_screen) {
        if (!isDesignedForm(path))
            throw BagError(path.string(), {},
                           "a designed form is saved as a .ui file: a grid form would lose "
                           "what was drawn around its gauges");
        m_designedPages.front() = saveDesignedForm(path, *m_designedPages.front(), now);
    } else if (isDesignedForm(path)) {
        exportDesignedForm(path, now);
    } else {
        m_designedPages = savePagedForm(path, m_designedPages, now).designedPages;
    }
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
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save form"), {},
        m_screen ? tr("Designed forms (*.ui)") : tr("Panel forms (*.json);;Designed forms (*.ui)"));
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
    if (m_controller) {
        m_controller->alarms().setOperatorName(options.operatorName);
        m_controller->setMaxSkewMs(options.maxSkewMs);
    }
}

bool PanelWindow::mayDiscardAlarms() {
    const int unacknowledged = m_controller->alarms().unacknowledgedCount();
    if (unacknowledged == 0)
        return true;
    QMessageBox question(QMessageBox::Warning, tr("Open"),
                         tr("This form has %n unacknowledged alarm(s).", nullptr, unacknowledged),
                         QMessageBox::NoButton, this);
    question.setInformativeText(
        tr("Opening another form takes them out of the alarm summary unacknowledged. They stay in "
           "the alarm history and are carried over when this form is opened again."));
    QPushButton* discard =
        question.addButton(tr("&Open and Discard"), QMessageBox::DestructiveRole);
    QPushButton* keep = question.addButton(tr("&Keep This Form"), QMessageBox::RejectRole);
    question.setDefaultButton(keep);
    question.setEscapeButton(keep);
    question.exec();
    return question.clickedButton() == discard;
}

void PanelWindow::open() {
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open form"), {},
                                     tr("Panel forms (*.json *.ui);;Grid forms (*.json);;"
                                        "Designed forms (*.ui)"));
    if (path.isEmpty() || !mayDiscardAlarms())
        return;
    try {
        openForm(path.toStdString());
    } catch (const std::exception& error) {
        QMessageBox::critical(this, tr("Open"), QString::fromUtf8(error.what()));
    }
}

} // namespace merv::panel
