#include "DesignedScreen.h"

#include "GaugeCell.h"
#include "panel/DesignedForm.h"
#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/bagfile/BagError.h>

#include <QBuffer>
#include <QLayout>
#include <QSplitter>
#include <QUiLoader>

#include <memory>

namespace merv::panel {
namespace {

// Marks a widget that holds a gauge's place.
constexpr auto PlaceProperty = "_mervgauge_place";

// Qt's form loader with a plain widget where the form has a gauge: the panel makes the gauges
// itself, from the bags the form gives, and puts them in those places.
class ScreenLoader : public QUiLoader {
public:
    ScreenLoader() {
        // A panel shows Qt's own widgets and its gauges; it loads no form designer's plugins.
        clearPluginPaths();
    }

    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
        if (className != QLatin1String(MervGaugeWidget::staticMetaObject.className()))
            return QUiLoader::createWidget(className, parent, name);
        auto* place = new QWidget(parent);
        place->setObjectName(name);
        place->setProperty(PlaceProperty, true);
        return place;
    }
};

} // namespace

DesignedScreen::DesignedScreen(const DesignedForm& form, const std::string& file, QWidget* parent)
    : QScrollArea(parent) {
    QByteArray text = form.text.toUtf8();
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    ScreenLoader loader;
    std::unique_ptr<QWidget> screen(loader.load(&buffer));
    if (!screen)
        throw BagError(file, {},
                       "Qt's form loader refused it: " + loader.errorString().toStdString());
    // The top level shows inside the window: no title of its own, no window flags.
    screen->setWindowFlags(Qt::Widget);
    if (!screen->layout())
        screen->setMinimumSize(
            screen->childrenRect().united(QRect(QPoint(), screen->size())).size());
    setWidgetResizable(true);
    setWidget(screen.release());
}

void DesignedScreen::place(const std::vector<std::pair<GaugeCell*, std::string>>& cells) {
    for (const auto& [cell, objectName] : cells)
        placeOne(cell, objectName);
    // The layouts and the items of the widgets in them knew the places' sizes; they learn the
    // cells' now, not at the next event loop, so that the window's first size has room.
    for (QLayout* layout : screen()->findChildren<QLayout*>()) {
        layout->invalidate();
        if (QWidget* owner = layout->parentWidget())
            owner->updateGeometry();
    }
}

void DesignedScreen::placeOne(GaugeCell* cell, const std::string& objectName) {
    QWidget* place = nullptr;
    for (QWidget* candidate : screen()->findChildren<QWidget*>(QString::fromStdString(objectName)))
        if (candidate->property(PlaceProperty).toBool())
            place = candidate;
    if (!place)
        throw BagError({}, "gauge " + objectName, "its place is not on the screen");
    QWidget* parent = place->parentWidget();
    // A widget given a new parent is hidden until shown, and a layout leaves it out till then.
    cell->setParent(parent);
    cell->show();
    // In the parent's layout, or one nested in it: the cell takes the place's item.
    if (QLayout* layout = parent->layout()) {
        if (QLayoutItem* item = layout->replaceWidget(place, cell)) {
            delete item;
            delete place;
            return;
        }
    }
    if (auto* splitter = qobject_cast<QSplitter*>(parent)) {
        splitter->replaceWidget(splitter->indexOf(place), cell);
        delete place;
        return;
    }
    // Drawn at a place of its own: the gauge stays centred where it was drawn.
    cell->resize(cell->sizeHint());
    const QMargins frame = cell->frame();
    const QSize gauge = cell->sizeHint().shrunkBy(frame);
    const QPoint centre = place->geometry().center();
    cell->move(centre - QPoint(frame.left() + gauge.width() / 2, frame.top() + gauge.height() / 2));
    cell->stackUnder(place);
    delete place;
}

QSize DesignedScreen::sizeHint() const {
    const QWidget* drawn = screen();
    const QSize content = drawn->sizeHint().expandedTo(drawn->minimumSize());
    const int frame = 2 * frameWidth();
    return content + QSize(frame, frame);
}

} // namespace merv::panel
