#pragma once

class QTableView;

namespace merv::panel {

// The panel's tables size each column to its widest text, its header's included, up to a
// sensible width; past that a text is elided and its cell's tooltip shows it whole.
void sizeColumnsToContents(QTableView& view);

// The width that shows every column of the view whole beside a vertical scroll bar, each
// column as wide as the texts it holds now need.
int wholeColumnsWidth(const QTableView& view);

} // namespace merv::panel
