#pragma once

#include "GaugeBoard.h"
#include "panel/AlarmHistory.h"
#include "panel/DataSource.h"
#include "panel/DesignedForm.h"
#include "panel/DisplayZone.h"
#include "panel/Form.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPersistentModelIndex>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QTabWidget;
class QDockWidget;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QSortFilterProxyModel;
class QTableView;

namespace merv::panel {

class DesignedScreen;
class FramePacer;
class GaugeCell;
class PanelController;

// The operator panel: the form's gauges in their grid at the chosen zoom, or on their designed
// screen where they were drawn, each in a cell that shows its data quality and its
// unacknowledged alarms, the alarm summary beside them and the source's state in the status
// bar. Times show in one zone throughout.
class PanelWindow : public QMainWindow {
    Q_OBJECT
public:
    // formPath may be empty for a form built in memory (Save then asks for a file).
    PanelWindow(Form form, std::filesystem::path formPath, std::unique_ptr<DataSource> source,
                AlarmHistory* history, std::string station, QWidget* parent = nullptr);
    // A designed form: its screen as drawn, its gauges in their places. Throws merv::BagError
    // (a screen Qt's loader refuses) and SourceError (a tag the source cannot address), naming
    // the file, before any window is shown.
    PanelWindow(DesignedForm form, std::filesystem::path formPath,
                std::unique_ptr<DataSource> source, AlarmHistory* history, std::string station,
                QWidget* parent = nullptr);
    // A form of pages, each a grid or a designed screen; throws as for a designed form.
    PanelWindow(PagedForm form, std::filesystem::path formPath, std::unique_ptr<DataSource> source,
                AlarmHistory* history, std::string station, QWidget* parent = nullptr);
    ~PanelWindow() override;

    PanelController& controller() { return *m_controller; }
    // Writes the form with every gauge's current properties; throws merv::BagError. A designed
    // form is written back into its .ui in place, and so is each designed page's .ui beside a
    // form of pages; a grid form saved as a .ui becomes a designed form of its grid.
    void saveFormTo(const std::filesystem::path& path);
    // Replaces the form (a grid form's .json or a designed form's .ui), its gauges and its
    // source in this window and starts the new source; throws (merv::BagError, SourceError) and
    // then leaves the panel as it was.
    void openForm(const std::filesystem::path& path);
    // How openForm opens the new form's source (seed, poll interval); the station stays.
    void setSourceOptions(const SourceOptions& options);

    // How large the gauges are drawn, as View → Zoom chooses it; Fit to Window unless set.
    void setZoom(Zoom zoom);
    Zoom zoom() const { return m_zoom; }
    // The grid of a grid form (its first page's); null while a designed form, or a form whose
    // first page is designed, is open.
    GaugeBoard* board() { return m_board; }
    // The tabs of a form of pages; null for a form of one page.
    QTabWidget* pages() { return m_pages; }
    // Shows the gauge's page, brings its cell into view and highlights it for a while, as a
    // double-click on its alarm in the summary does.
    void showGauge(int index);
    // The screen of a designed form alone; null while a form of grids or of pages is open.
    DesignedScreen* designedScreen() { return m_screen; }
    GaugeCell* cell(int index) const { return m_cells[std::size_t(index)]; }
    // Paints the window at most this many frames a second; 0 follows the screen (60 where it
    // tells none).
    void setMaxFramesPerSecond(qreal fps);
    FramePacer& pacer() { return *m_pacer; }
    // The zone the summary and the history show times in; local time unless set.
    void setZone(DisplayZone zone);
    const DisplayZone& zone() const { return m_zone; }

    // The window's first size: its parts whole, within the screen on a display.
    QSize sizeHint() const override;

signals:
    // What the current form's controller logs (refused values), whichever form is open.
    void logged(const QString& line);
    // The current form's source reached or lost its peer; detail says which peer or why.
    void sourceSaid(const QString& detail);

private:
    void install(PagedForm form, std::filesystem::path formPath,
                 std::unique_ptr<DataSource> source);
    void updateTitle();
    void updateStatus();
    void contextMenuAt(int index, const QPoint& globalPos);
    void save();
    void saveAs();
    // File → Open: asks for a form, and whether this form's unacknowledged alarms may leave the
    // summary before it opens it.
    void open();
    // True when no alarm is unacknowledged, or the operator chose to discard them.
    bool mayDiscardAlarms();
    void showHistory();
    // The summary's dock as wide as its columns need, within half the screen.
    void fitSummaryWidth();
    // The summary's columns sized for the open form, and its dock fitted to them.
    void fitSummaryColumns();
    // The columns' widths for the widest alarms the open form can raise.
    std::vector<int> formSummaryColumns() const;
    // An entry of View → Zoom.
    void addZoomChoice(const QString& name, Zoom zoom);
    // Keeps the newest alarm in view while the operator follows the top of the summary; once
    // they have scrolled away, the alarms that arrive above are counted on the bar instead.
    void followNewAlarms();
    // Rows of the sorted summary from first to last arrived: raised, or raised again.
    void alarmsArrived(int first, int last);
    // The count on the bar: arrived alarms still unacknowledged above the first visible row.
    void updateNewAlarmsBar();
    void scheduleNewAlarmsBar();
    // Sorts the summary again once the event loop runs, or SummaryResortMs after its last sort.
    void scheduleResort();
    void showNewestAlarms();
    // Repaints the summary's rows in sight whose alarm blinks (unacknowledged).
    void repaintBlinkingRows();

    std::filesystem::path m_formPath;
    AlarmHistory* m_history;
    SourceOptions m_sourceOptions; // for the sources of forms opened later
    std::unique_ptr<PanelController> m_controller;
    std::vector<GaugeCell*> m_cells;
    GaugeBoard* m_board = nullptr;
    std::vector<GaugeBoard*> m_boards;     // one per grid page
    std::vector<QScrollArea*> m_pageViews; // one per page: its grid or its designed screen
    QTabWidget* m_pages = nullptr;
    DesignedScreen* m_screen = nullptr; // of a designed form alone
    // By page, the designed form of each designed page as opened or last saved.
    std::vector<std::optional<DesignedForm>> m_designedPages;
    Zoom m_zoom = Zoom::fit();
    QMenu* m_zoomMenu = nullptr;
    QActionGroup* m_zoomActions = nullptr;
    std::vector<std::pair<QAction*, Zoom>> m_zoomChoices; // View → Zoom's entries
    DisplayZone m_zone = DisplayZone::local();
    QSortFilterProxyModel* m_summaryModel = nullptr;
    QTableView* m_summary = nullptr;
    QDockWidget* m_summaryDock = nullptr;
    QPushButton* m_newAlarmsBar = nullptr; // "N new alarms above", shown while there are any
    bool m_followNewest = true;            // false once the operator scrolled away on purpose
    bool m_operatorScrolls = false;        // the scroll bar moves by the operator's own action
    bool m_newAlarmsBarDue = false;        // an update of the bar waits for the event loop
    QTimer m_resort;                       // the summary's next sort, when one is due
    // The title and the markers follow the alarms once per pass of the event loop: a flood's
    // thousand transitions a second would retitle the window a thousand times.
    QTimer m_titleDue;
    QElapsedTimer m_sinceResort;                       // since the summary was last sorted
    std::vector<QPersistentModelIndex> m_arrivedAbove; // arrived while scrolled away
    std::vector<int> m_formSummaryColumns;
    QLabel* m_status = nullptr;
    bool m_blinkOn = true;
    FramePacer* m_pacer = nullptr;
};

} // namespace merv::panel
