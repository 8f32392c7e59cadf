#pragma once

#include <QScrollArea>

#include <optional>
#include <set>
#include <vector>

class QGridLayout;

namespace merv::panel {

class GaugeCell;

// How large the panel draws its gauges: by a fixed factor, or as large as lets the whole grid
// fit the room it has (Fit to Window).
struct Zoom {
    std::optional<qreal> factor; // none: fit to the room

    static Zoom fit() { return {}; }
    static Zoom by(qreal factor) { return {factor}; }
    // "fit", or a factor within the gauge's zoom range ("1.5"); none for anything else.
    static std::optional<Zoom> fromText(const QString& text);

    bool operator==(const Zoom&) const = default;
};

// The form's gauge cells on their grid, centred, every gauge at one zoom; a grid larger than
// the room scrolls.
class GaugeBoard : public QScrollArea {
    Q_OBJECT
public:
    explicit GaugeBoard(QWidget* parent = nullptr);

    // Takes the cell (with its gauge) into the grid.
    void addCell(GaugeCell* cell, int row, int column);
    void setZoom(Zoom zoom);
    Zoom zoom() const { return m_zoom; }
    // The factor the gauges are drawn at now, the fitted one under Fit to Window.
    qreal gaugeZoom() const { return m_gaugeZoom; }

    // The grid whole at the fixed factor, or at 100 % under Fit to Window.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The grid's size with its gauges at the zoom.
    QSize gridSize(qreal zoom) const;
    // The largest zoom at which the grid fits the room; never below half size, where the grid
    // scrolls instead, nor beyond the gauge's largest zoom.
    qreal fittingZoom() const;
    void applyZoom();

    QWidget* m_grid;
    QGridLayout* m_layout;
    std::vector<GaugeCell*> m_cells;
    std::set<int> m_rows, m_columns; // the grid's rows and columns that hold a cell
    QSizeF m_gaugeSize;              // a gauge's own size, unzoomed
    Zoom m_zoom = Zoom::fit();
    qreal m_gaugeZoom = 1;
    qreal m_appliedZoom = 1; // the zoom the cells were last given, before the gauge's bounds
};

} // namespace merv::panel
