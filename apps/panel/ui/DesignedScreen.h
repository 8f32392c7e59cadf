#pragma once

#include <QScrollArea>

#include <string>
#include <utility>
#include <vector>

namespace merv::panel {

class GaugeCell;
struct DesignedForm;

// A designed form's screen as its designer drew it: labels, frames, group boxes, pictures and
// layouts as the .ui gives them, each gauge's place held until the panel puts its gauge, in
// its cell, there. A screen larger than the room scrolls.
class DesignedScreen : public QScrollArea {
    Q_OBJECT
public:
    // Builds the screen with Qt's form loader; throws merv::BagError naming the file when the
    // loader refuses it.
    DesignedScreen(const DesignedForm& form, const std::string& file, QWidget* parent = nullptr);

    // The screen's top-level widget, which the gauges' cells are made in.
    QWidget* screen() const { return widget(); }
    // Puts each cell where the gauge of its object name was drawn: in its place in a layout,
    // or centred where it stood on a screen without one. Throws merv::BagError for a name
    // that has no place.
    void place(const std::vector<std::pair<GaugeCell*, std::string>>& cells);

    // The whole screen, as drawn.
    QSize sizeHint() const override;

private:
    void placeOne(GaugeCell* cell, const std::string& objectName);
};

} // namespace merv::panel
