#include "ColumnSizing.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

namespace merv::panel {
namespace {

constexpr int WidestColumnChars = 40; // a longer text is elided, whole in its tooltip

void setUpColumns(QTableView& view, QHeaderView::ResizeMode mode) {
    QHeaderView& header = *view.horizontalHeader();
    header.setSectionResizeMode(mode);
    header.setMaximumSectionSize(view.fontMetrics().averageCharWidth() * WidestColumnChars);
    header.setStretchLastSection(true);
    view.setWordWrap(false);
    view.setTextElideMode(Qt::ElideRight);
}

} // namespace

void sizeColumnsToContents(QTableView& view) {
    setUpColumns(view, QHeaderView::ResizeToContents);
}

void sizeColumnsTo(QTableView& view, const std::vector<int>& widths) {
    setUpColumns(view, QHeaderView::Interactive);
    QHeaderView& header = *view.horizontalHeader();
    for (int c = 0; c < header.count() && c < int(widths.size()); ++c)
        header.resizeSection(c, widths[std::size_t(c)]);
}

std::vector<int> contentsWidths(const QTableView& view) {
    // What resizing to the contents gives each column: the widest of its texts and its
    // header, within the bounds; the stretched last section's own size says only how much
    // room it was given.
    const QHeaderView& header = *view.horizontalHeader();
    const QAbstractItemView& contents = view; // where the table's own size hint is public
    std::vector<int> widths;
    for (int c = 0; c < header.count(); ++c)
        widths.push_back(
            std::clamp(std::max(contents.sizeHintForColumn(c), header.sectionSizeHint(c)),
                       header.minimumSectionSize(), header.maximumSectionSize()));
    return widths;
}

int framedWidth(const QTableView& view, const std::vector<int>& widths) {
    int width = 0;
    for (const int w : widths)
        width += w;
    return width + 2 * view.frameWidth() + view.verticalScrollBar()->sizeHint().width();
}

} // namespace merv::panel
