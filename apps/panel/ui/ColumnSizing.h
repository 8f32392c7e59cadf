#pragma once

#include <vector>

class QTableView;

namespace merv::panel {

// The panel's tables size each column to its widest text, its header's included, up to a
// sensible width; past that a text is elided and its cell's tooltip shows it whole.
void sizeColumnsToContents(QTableView& view);

// As sizeColumnsToContents, but each column as wide as given once and for all (the last one
// stretched), where a view whose rows change many times a second would measure its texts at
// every change; the operator may still widen a column.
void sizeColumnsTo(QTableView& view, const std::vector<int>& widths);

// What each column needs to show the texts it holds now whole, its header's included, within
// the bounds.
std::vector<int> contentsWidths(const QTableView& view);

// The width of the view whose columns are these widths wide, beside a vertical scroll bar.
int framedWidth(const QTableView& view, const std::vector<int>& widths);

} // namespace merv::panel
