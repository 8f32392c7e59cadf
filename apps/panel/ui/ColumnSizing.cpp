#include "ColumnSizing.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

namespace merv::panel {
namespace {

constexpr int WidestColumnChars = 40; // a longer text is elided, whole in its tooltip

} // namespace

void sizeColumnsToContents(QTableView& view) {
    QHeaderView& header = *view.horizontalHeader();
    header.setSectionResizeMode(QHeaderView::ResizeToContents);
    header.setMaximumSectionSize(view.fontMetrics().averageCharWidth() * WidestColumnChars);
    header.setStretchLastSection(true);
    view.setWordWrap(false);
    view.setTextElideMode(Qt::ElideRight);
}

int wholeColumnsWidth(const QTableView& view) {
    // What resizing to the contents gives each column: the widest of its texts and its
    // header, within the bounds; the stretched last section's own size says only how much
    // room it was given.
    const QHeaderView& header = *view.horizontalHeader();
    const QAbstractItemView& contents = view; // where the table's own size hint is public
    int width = 0;
    for (int c = 0; c < header.count(); ++c)
        width += std::clamp(std::max(contents.sizeHintForColumn(c), header.sectionSizeHint(c)),
                            header.minimumSectionSize(), header.maximumSectionSize());
    return width + 2 * view.frameWidth() + view.verticalScrollBar()->sizeHint().width();
}

} // namespace merv::panel
