#include "GaugeBoard.h"

#include "GaugeCell.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QGridLayout>

#include <algorithm>
#include <cmath>

namespace merv::panel {
namespace {

constexpr int CellSpacing = 12; // between neighbouring cells
constexpr int BoardMargin = 8;  // around the grid
constexpr qreal FitStep = 0.01; // fitted zooms go in steps of a hundredth
constexpr qreal LeastFit = 0.5; // smaller, the scale's figures no longer read: the grid scrolls

} // namespace

std::optional<Zoom> Zoom::fromText(const QString& text) {
    if (text == QLatin1String("fit"))
        return fit();
    bool ok = false;
    const qreal factor = text.toDouble(&ok);
    if (!ok || !(factor >= MervGaugeWidget::MinimumZoom && factor <= MervGaugeWidget::MaximumZoom))
        return std::nullopt;
    return by(factor);
}

GaugeBoard::GaugeBoard(QWidget* parent) : QScrollArea(parent), m_grid(new QWidget) {
    m_layout = new QGridLayout(m_grid);
    m_layout->setSpacing(CellSpacing);
    m_layout->setContentsMargins(BoardMargin, BoardMargin, BoardMargin, BoardMargin);
    // Room beyond the grid's own size goes around it, not between the cells.
    m_layout->setAlignment(Qt::AlignCenter);
    setWidget(m_grid);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
}

void GaugeBoard::addCell(GaugeCell* cell, int row, int column) {
    m_layout->addWidget(cell, row, column);
    m_cells.push_back(cell);
    m_rows.insert(row);
    m_columns.insert(column);
    MervGaugeWidget& gauge = *cell->gauge();
    m_gaugeSize = QSizeF(gauge.sizeHint()) / gauge.zoom();
    // The fitted zoom changes only with the grid's rows and columns: the cells already in place
    // are zoomed again only then, so a large form is laid out in time linear in its gauges.
    if (!m_zoom.factor && fittingZoom() != m_appliedZoom)
        applyZoom();
    else
        gauge.setZoom(m_appliedZoom);
}

QSize GaugeBoard::gridSize(qreal zoom) const {
    if (m_cells.empty())
        return {2 * BoardMargin, 2 * BoardMargin};
    const QMargins frame = m_cells.front()->frame();
    const int columns = int(m_columns.size()), rows = int(m_rows.size());
    // A gauge covers whole pixels, as its size hint does.
    const int gaugeWidth = int(std::ceil(m_gaugeSize.width() * zoom));
    const int gaugeHeight = int(std::ceil(m_gaugeSize.height() * zoom));
    return {2 * BoardMargin + columns * (frame.left() + gaugeWidth + frame.right()) +
                (columns - 1) * CellSpacing,
            2 * BoardMargin + rows * (frame.top() + gaugeHeight + frame.bottom()) +
                (rows - 1) * CellSpacing};
}

qreal GaugeBoard::fittingZoom() const {
    if (m_cells.empty())
        return 1;
    // The grid's size is linear in the zoom but for each gauge's last, partly covered pixel.
    const QSize room = contentsRect().size();
    const QSize fixed = gridSize(0);
    const int columns = int(m_columns.size()), rows = int(m_rows.size());
    const qreal across = (room.width() - fixed.width() - columns) / (columns * m_gaugeSize.width());
    const qreal down = (room.height() - fixed.height() - rows) / (rows * m_gaugeSize.height());
    // The epsilon keeps an exact fit from falling a step short through rounding.
    const qreal zoom = std::floor(std::min(across, down) / FitStep + 1e-9) * FitStep;
    return std::clamp(zoom, LeastFit, MervGaugeWidget::MaximumZoom);
}

void GaugeBoard::setZoom(Zoom zoom) {
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    applyZoom();
    updateGeometry();
}

void GaugeBoard::applyZoom() {
    const qreal zoom = m_zoom.factor.value_or(fittingZoom());
    m_appliedZoom = zoom;
    for (GaugeCell* cell : m_cells)
        cell->gauge()->setZoom(zoom);
    m_gaugeZoom = m_cells.empty() ? zoom : m_cells.front()->gauge()->zoom();
}

QSize GaugeBoard::sizeHint() const {
    QSize grid = gridSize(m_zoom.factor.value_or(1));
    // Under Fit to Window the partly covered pixels' room lets 100 % fit exactly.
    if (!m_zoom.factor)
        grid += QSize(int(m_columns.size()), int(m_rows.size()));
    const int frame = 2 * frameWidth();
    return grid + QSize(frame, frame);
}

void GaugeBoard::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (!m_zoom.factor)
        applyZoom();
}

} // namespace merv::panel
