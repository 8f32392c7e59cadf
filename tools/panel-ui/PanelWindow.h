#pragma once

#include "panel/AlarmHistory.h"
#include "panel/DataSource.h"
#include "panel/Form.h"

#include <QMainWindow>

#include <filesystem>
#include <memory>

class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace merv::panel {

class GaugeCell;
class PanelController;

// The operator panel: the form's gauges in their grid, each in a cell that shows its data
// quality and its unacknowledged alarms, the alarm summary beside them and the source's state
// in the status bar.
class PanelWindow : public QMainWindow {
    Q_OBJECT
public:
    // formPath may be empty for a form built in memory (Save then asks for a file).
    PanelWindow(Form form, std::filesystem::path formPath, std::unique_ptr<DataSource> source,
                AlarmHistory* history, std::string station, QWidget* parent = nullptr);
    ~PanelWindow() override;

    PanelController& controller() { return *m_controller; }
    // Writes the form with every gauge's current properties; throws merv::BagError.
    void saveFormTo(const std::filesystem::path& path);
    // Replaces the form, its gauges and its source in this window and starts the new source;
    // throws (FormError, SourceError) and then leaves the panel as it was.
    void openForm(const std::filesystem::path& path);
    // How openForm opens the new form's source (seed, poll interval); the station stays.
    void setSourceOptions(const SourceOptions& options);

signals:
    // What the current form's controller logs (refused values), whichever form is open.
    void logged(const QString& line);

private:
    void install(Form form, std::filesystem::path formPath, std::unique_ptr<DataSource> source);
    void updateTitle();
    void updateStatus();
    void contextMenuAt(int index, const QPoint& globalPos);
    void save();
    void saveAs();
    void open();
    void showHistory();

    std::filesystem::path m_formPath;
    AlarmHistory* m_history;
    SourceOptions m_sourceOptions; // for the sources of forms opened later
    std::unique_ptr<PanelController> m_controller;
    std::vector<GaugeCell*> m_cells;
    QSortFilterProxyModel* m_summaryModel = nullptr;
    QTableView* m_summary = nullptr;
    QLabel* m_status = nullptr;
    bool m_blinkOn = true;
};

} // namespace merv::panel
