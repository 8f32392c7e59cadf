#pragma once

#include <mervgauge/platform/Font.h>
#include <mervgauge/platform/PixelRect.h>

#include <functional>
#include <optional>
#include <string>

namespace merv {

class Container;
class ElementTree;

enum class ElementKind {
    UserControl,
    TextField,
    Label,
    PictureBox,
    Line,
    Image,
    Shape,
    CommandButton,
    Timer,
    TabControl,
    CommonDialog,
};

const char* kindName(ElementKind kind);

// What part of an element's visible state changed, for views that repaint or mirror it.
enum class ElementChange {
    Text,
    Caption,
    ForeColor,
    BackColor,
    FillColor,
    FillStyle,
    BorderColor,
    Alignment,
    Font,
    Picture, // what an image shows, or whether it is stretched
    Visible,
    Stacking, // the element's place in its container's front-to-back order
    Points,
    Surface,
    Focus, // the element took or lost the keyboard focus
    Selection,
    Bounds,
    Tab, // the tab a tab control shows, and with it which of its children are shown
};

// The name a change goes by in host output, in lower case ("text", "surface").
const char* changeName(ElementChange change);

class Element;

// One real change of one element. A view repaints what it names; nothing is told when a put
// leaves the state as it was.
struct ElementNotice {
    const Element* element = nullptr;
    ElementChange change = ElementChange::Text;
    // For Surface: the pixels of the drawing surface that now differ from what was last
    // presented. Empty for every other change.
    PixelRect dirty;
};

// A view's window onto the model: told of every change of an element's visible state.
// Observers run synchronously inside the change and must not throw.
class ElementObserver {
public:
    virtual ~ElementObserver() = default;
    virtual void elementChanged(const ElementNotice& notice) = 0;
};

// A place and size in twips, relative to the element's container.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// One standard user-interface element. Elements belong to an ElementTree, which owns them,
// and stand in a Container (the control itself, a picture box or a tab control).
class Element {
public:
    Element(ElementTree& tree, std::string name, ElementKind kind);
    virtual ~Element() = default;
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    const std::string& name() const noexcept { return m_name; }
    ElementKind kind() const noexcept { return m_kind; }

    // Picture boxes, text fields and buttons own a window: they always stack in front of the
    // windowless elements of their container.
    // Inline: every restacking asks it of the container's children in front.
    bool ownsWindow() const noexcept {
        return m_kind == ElementKind::PictureBox || m_kind == ElementKind::TextField ||
               m_kind == ElementKind::CommandButton || m_kind == ElementKind::UserControl ||
               m_kind == ElementKind::TabControl;
    }
    // Shapes, lines, timers and dialogs take no mouse input: a click falls through to what is
    // beneath.
    bool takesMouseInput() const noexcept;

    bool visible() const noexcept { return m_visible; }
    void setVisible(bool visible);
    // Visible here and in every container up to the control, and shown by each container
    // (a tab control shows only the children on its shown tab).
    bool shown() const noexcept;

    Container* container() const noexcept { return m_container; }
    const TwipsRect& bounds() const noexcept { return m_bounds; }
    void setBounds(const TwipsRect& bounds);
    // The element's own font; none where it uses the host's default.
    const std::optional<Font>& font() const noexcept { return m_font; }
    void setFont(std::optional<Font> font);
    int tabIndex() const noexcept { return m_tabIndex; }
    void setTabIndex(int index) noexcept { m_tabIndex = index; }

    // ZOrder 0 brings the element to the front of its layer, 1 sends it to the back.
    void zOrder(int position);

    // Text fields, buttons and picture boxes take the keyboard focus when they are shown.
    bool canTakeFocus() const noexcept;
    // Takes the keyboard focus; GotFocus runs when the focus arrives from elsewhere. The element
    // that had it is told first.
    void setFocus();
    bool hasFocus() const noexcept;

    // Event handlers; an element without one ignores the event.
    std::function<void()> onDblClick;
    std::function<void()> onClick;
    std::function<void()> onGotFocus;

    ElementTree& tree() const noexcept { return m_tree; }

protected:
    // Tells the tree's observers of a change of this element.
    void notify(ElementChange change) const;

private:
    friend class Container;
    ElementTree& m_tree;
    std::string m_name;
    ElementKind m_kind;
    bool m_visible = true;
    Container* m_container = nullptr;
    TwipsRect m_bounds;
    int m_tabIndex = -1;
    std::optional<Font> m_font;
};

} // namespace merv
