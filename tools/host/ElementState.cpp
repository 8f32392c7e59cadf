#include "host/ElementState.h"

#include "host/CommandArguments.h"

#include "host/UsageError.h"

#include <mervgauge/platform/CommandButton.h>
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Image.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/Line.h>
#include <mervgauge/platform/PictureBox.h>
#include <mervgauge/platform/Shape.h>
#include <mervgauge/platform/TabControl.h>
#include <mervgauge/platform/TextField.h>
#include <mervgauge/platform/Timer.h>
#include <mervgauge/platform/UserControl.h>

namespace merv::host {

namespace {

const char* alignmentName(Alignment alignment) {
    switch (alignment) {
    case Alignment::Left:
        return "left";
    case Alignment::Right:
        return "right";
    case Alignment::Center:
        return "center";
    }
    return "left";
}

// Where the element stands, in twips of its container, and how it writes its text.
void addPlace(Json& out, const Element& element) {
    if (const Container* container = element.container())
        out["container"] = container->element().name();
    // Lines place themselves by their points, and timers have no place.
    if (element.kind() == ElementKind::Line || element.kind() == ElementKind::Timer)
        return;
    const TwipsRect& r = element.bounds();
    out["left"] = r.left;
    out["top"] = r.top;
    out["width"] = r.width;
    out["height"] = r.height;
    if (const auto& font = element.font())
        out["font"] = Json{{"name", font->name},           {"size", font->points},
                           {"weight", font->weight},       {"italic", font->italic},
                           {"underline", font->underline}, {"strikeout", font->strikeout},
                           {"charset", font->charset}};
    if (element.kind() == ElementKind::Label)
        out["alignment"] = alignmentName(static_cast<const Label&>(element).alignment());
}

} // namespace

Json describe(const Element& element) {
    Json out{{"kind", kindName(element.kind())}};
    switch (element.kind()) {
    case ElementKind::UserControl: {
        const auto& surface = static_cast<const UserControl&>(element);
        out["width"] = surface.width();
        out["height"] = surface.height();
        out["backcolor"] = surface.backColor();
        out["visible"] = surface.visible();
        break;
    }
    case ElementKind::TextField: {
        const auto& field = static_cast<const TextField&>(element);
        out["text"] = field.text();
        out["visible"] = field.visible();
        out["forecolor"] = field.foreColor();
        out["backcolor"] = field.backColor();
        out["selstart"] = field.selStart();
        out["sellength"] = field.selLength();
        break;
    }
    case ElementKind::Label: {
        const auto& label = static_cast<const Label&>(element);
        out["caption"] = label.caption();
        out["visible"] = label.visible();
        out["forecolor"] = label.foreColor();
        break;
    }
    case ElementKind::PictureBox: {
        const auto& box = static_cast<const PictureBox&>(element);
        out["visible"] = box.visible();
        out["backcolor"] = box.backColor();
        break;
    }
    case ElementKind::Line: {
        const auto& line = static_cast<const Line&>(element);
        out["x1"] = singleToJson(line.x1());
        out["y1"] = singleToJson(line.y1());
        out["x2"] = singleToJson(line.x2());
        out["y2"] = singleToJson(line.y2());
        out["visible"] = line.visible();
        break;
    }
    case ElementKind::Image:
        out["visible"] = element.visible();
        break;
    case ElementKind::Shape: {
        const auto& shape = static_cast<const Shape&>(element);
        out["fillcolor"] = shape.fillColor();
        out["bordercolor"] = shape.borderColor();
        break;
    }
    case ElementKind::CommandButton: {
        const auto& button = static_cast<const CommandButton&>(element);
        out["caption"] = button.caption();
        out["visible"] = button.visible();
        break;
    }
    case ElementKind::Timer: {
        const auto& timer = static_cast<const Timer&>(element);
        out["enabled"] = timer.enabled();
        out["interval"] = timer.interval();
        break;
    }
    case ElementKind::TabControl: {
        const auto& tabs = static_cast<const TabControl&>(element);
        out["tab"] = tabs.tab();
        out["visible"] = tabs.visible();
        Json captions = Json::array();
        for (int i = 0; i < tabs.tabCount(); ++i)
            captions.push_back(tabs.tabCaption(i));
        out["captions"] = captions;
        break;
    }
    case ElementKind::CommonDialog:
        break;
    }
    addPlace(out, element);
    return out;
}

Element& elementNamed(const ElementTree& tree, std::string_view name) {
    Element* element = tree.find(name);
    if (!element)
        throw UsageError("unknown element " + quotedInput(name));
    return *element;
}

} // namespace merv::host
