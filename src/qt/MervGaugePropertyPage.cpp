#include "MervGaugePropertyPage.h"

#include "TextFieldEdit.h"
#include <mervgauge/private/OleColor.h>

#include <mervgauge/layout/SurfaceLayout.h>
#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/propertypage/PropertyPage1.h>

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace merv;

namespace {

// A rectangle in twips as widget pixels.
QRect pixelsOf(const TwipsRect& r) {
    constexpr int T = Layout::TwipsPerPixel;
    return {r.left / T, r.top / T, r.width / T, r.height / T};
}

QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Room between a caption and what stands beside it, and between the page's last widget and
// the edge of its tab, in pixels.
constexpr int CaptionGap = 4;
constexpr int TabMargin = 6;

// A widget of one tab and where it stands, in page pixels.
struct Box {
    QWidget* view;
    QRect rect;
};

// Whether two ranges [a0, a1] and [b0, b1] share a pixel.
bool overlaps(int a0, int a1, int b0, int b1) {
    return a0 <= b1 && b0 <= a1;
}

// Moves boxes apart until none reaches into another: a box that reaches into one standing to
// its right on the same row moves that one, and everything from its left edge on, to the
// right; then the same downwards for boxes of one column. The design's order of rows and
// columns stays, and where nothing overlaps nothing moves.
void pushApart(std::vector<Box>& boxes) {
    const auto push = [&](bool across) {
        // Each push moves boxes strictly away from the one pushing, so this ends.
        for (bool moved = true; moved;) {
            moved = false;
            for (const Box& a : boxes) {
                for (const Box& b : boxes) {
                    const QRect& r = a.rect;
                    const QRect& o = b.rect;
                    const bool inLine = across ? overlaps(r.top(), r.bottom(), o.top(), o.bottom())
                                               : overlaps(r.left(), r.right(), o.left(), o.right());
                    const int start = across ? r.left() : r.top();
                    // Side by side a caption keeps a gap to what follows; stacked, it may touch.
                    const int end = across ? r.right() + 1 + CaptionGap : r.bottom() + 1;
                    const int other = across ? o.left() : o.top();
                    if (&a == &b || !inLine || other <= start || end <= other)
                        continue;
                    for (Box& c : boxes) {
                        if ((across ? c.rect.left() : c.rect.top()) >= other)
                            c.rect.translate(across ? end - other : 0, across ? 0 : end - other);
                    }
                    moved = true;
                    break;
                }
                if (moved)
                    break;
            }
        }
    };
    push(true);
    push(false);
}

// A colour swatch: a square filled with its picture box's colour, which a click or the space
// bar hands to the box's Click.
class Swatch : public QWidget {
public:
    Swatch(const PictureBox& box, std::function<void()> click, QWidget* parent)
        : QWidget(parent), m_box(box), m_click(std::move(click)) {
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), merv::qt::toQColor(m_box.backColor(), palette()));
        painter.setPen(hasFocus() ? palette().color(QPalette::Highlight)
                                  : palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_click();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Space)
            m_click();
        else
            QWidget::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override {
        update();
        QWidget::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        update();
        QWidget::focusOutEvent(event);
    }

private:
    const PictureBox& m_box;
    std::function<void()> m_click;
};

} // namespace

class MervGaugePropertyPage::Private {
public:
    Private(MervGaugePropertyPage& q, PropertyPageSite& site);

    // Runs a person's input on the page, reports its failure, then shows what the page holds.
    void input(const std::function<void()>& f);
    // Every widget shows its element again. The page changes only inside the calls made
    // here, so showing it after each of them keeps the view whole.
    void show();
    void showField(const merv::qt::TextFieldEdit& bound);
    // Where each widget stands in page pixels: where its element stands, widened and moved
    // where its caption or the font needs more room than the design gave, so every caption
    // reads in full in any language; and the page's growth that this takes.
    void fit();
    // Places the widgets on their tabs: the elements stand relative to the page, the widgets
    // in the tab widget's pages.
    void place();

    MervGaugePropertyPage& q;
    PropertyPage1 page;
    QTabWidget* tabs;
    std::vector<std::pair<const Label*, QLabel*>> labels;
    std::map<QObject*, merv::qt::TextFieldEdit> fields;
    // The same, in the page's order.
    std::vector<const merv::qt::TextFieldEdit*> edits;
    std::vector<QWidget*> swatches;
    std::map<QWidget*, const Element*> placed;
    std::map<QWidget*, QRect> fitted;
    QSize growth; // beyond the page's designed size
    // True while the widgets are set from the elements, so their signals are not taken for a
    // person's doing.
    bool showing = false;
};

MervGaugePropertyPage::Private::Private(MervGaugePropertyPage& widget, PropertyPageSite& site)
    : q(widget), page(site), tabs(new QTabWidget(&widget)) {
    const PageElements& ui = page.ui();
    tabs->setObjectName(qs(ui.SSTab1.name()));
    for (int t = 0; t < ui.SSTab1.tabCount(); ++t)
        tabs->addTab(new QWidget, qs(ui.SSTab1.tabCaption(t)));

    for (const auto& element : page.elements().elements()) {
        const int tab = ui.SSTab1.childTab(*element);
        if (tab < 0)
            continue;
        QWidget* parent = tabs->widget(tab);
        QWidget* view = nullptr;
        switch (element->kind()) {
        case ElementKind::Label: {
            auto* label = new QLabel(parent);
            labels.emplace_back(static_cast<const Label*>(element.get()), label);
            view = label;
            break;
        }
        case ElementKind::TextField: {
            auto* field = static_cast<TextField*>(element.get());
            auto* edit = new QLineEdit(parent);
            edit->setTextMargins(0, 0, 0, 0);
            edit->installEventFilter(&q);
            const auto* bound = &fields.try_emplace(edit, *field, *edit).first->second;
            // A person's edit goes to the field, whose handlers decide what becomes of it (a
            // rejected text turns into "0" at once).
            QObject::connect(edit, &QLineEdit::textEdited, &q, [this, bound](const QString& text) {
                if (!showing)
                    input([&] { bound->enterEdit(text); });
            });
            edits.push_back(bound);
            view = edit;
            break;
        }
        case ElementKind::PictureBox: {
            auto* box = static_cast<PictureBox*>(element.get());
            auto* swatch = new Swatch(
                *box,
                [this, box] {
                    input([box] {
                        if (box->onClick)
                            box->onClick();
                    });
                },
                parent);
            swatches.push_back(swatch);
            view = swatch;
            break;
        }
        default:
            break; // the colour dialog has no place; it opens when a swatch asks
        }
        if (view) {
            view->setObjectName(qs(element->name()));
            placed[view] = element.get();
        }
    }
    // Tab order follows the page's focus order.
    QWidget* previous = nullptr;
    const Element* first = page.elements().nextInFocusOrder(nullptr);
    for (const Element* e = first; e; e = page.elements().nextInFocusOrder(e)) {
        for (auto& [view, element] : placed) {
            if (element == e) {
                if (previous)
                    QWidget::setTabOrder(previous, view);
                previous = view;
            }
        }
        if (page.elements().nextInFocusOrder(e) == first)
            break;
    }
    QObject::connect(tabs, &QTabWidget::currentChanged, &q, [this](int tab) {
        if (!showing && tab >= 0)
            input([&] { page.ui().SSTab1.setTab(tab); });
    });
    show();
}

void MervGaugePropertyPage::Private::input(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& error) {
        show();
        emit q.runtimeError(error.number(), qs(error.description()));
        return;
    }
    show();
}

void MervGaugePropertyPage::Private::show() {
    const bool was = showing;
    showing = true;
    const PageElements& ui = page.ui();
    for (int t = 0; t < ui.SSTab1.tabCount(); ++t)
        tabs->setTabText(t, qs(ui.SSTab1.tabCaption(t)));
    tabs->setCurrentIndex(ui.SSTab1.tab());
    for (auto& [label, view] : labels)
        view->setText(qs(label->caption()));
    for (const auto* bound : edits)
        showField(*bound);
    for (QWidget* swatch : swatches)
        swatch->update();
    fit();
    showing = was;
}

void MervGaugePropertyPage::Private::showField(const merv::qt::TextFieldEdit& bound) {
    // The field changed what was typed (a rejected text became "0"), or the page loaded it;
    // otherwise the line edit keeps the caret where the person left it.
    if (bound.showText())
        bound.showSelection();
}

void MervGaugePropertyPage::Private::fit() {
    std::map<QWidget*, std::vector<Box>> tabsBoxes;
    for (auto& [view, element] : placed) {
        QRect rect = pixelsOf(element->bounds());
        if (qobject_cast<QLabel*>(view) || qobject_cast<QLineEdit*>(view)) {
            const QSize needed = view->sizeHint();
            rect.setHeight(std::max(rect.height(), needed.height()));
            if (qobject_cast<QLabel*>(view))
                rect.setWidth(std::max(rect.width(), needed.width()));
        }
        tabsBoxes[view->parentWidget()].push_back({view, rect});
    }
    const QRect designed = pixelsOf(page.ui().SSTab1.bounds());
    // A taller tab bar (a larger font) moves the tabs' contents down with it.
    const int contentTop = designed.top() + tabs->tabBar()->sizeHint().height() + TabMargin;
    QPoint reach = designed.bottomRight();
    for (auto& [tab, boxes] : tabsBoxes) {
        pushApart(boxes);
        const int top =
            std::min_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
                return a.rect.top() < b.rect.top();
            })->rect.top();
        for (Box& box : boxes)
            box.rect.translate(0, std::max(0, contentTop - top));
        for (const Box& box : boxes) {
            fitted[box.view] = box.rect;
            reach.rx() = std::max(reach.x(), box.rect.right() + TabMargin);
            reach.ry() = std::max(reach.y(), box.rect.bottom() + TabMargin);
        }
    }
    // The tab bar shows every caption at once, without scrolling.
    reach.rx() =
        std::max(reach.x(), designed.left() + tabs->tabBar()->sizeHint().width() + TabMargin);
    const QSize grown(reach.x() - designed.right(), reach.y() - designed.bottom());
    tabs->setGeometry(designed.adjusted(0, 0, grown.width(), grown.height()));
    if (grown != growth) {
        growth = grown;
        q.updateGeometry();
    }
    if (q.isVisible())
        place();
}

void MervGaugePropertyPage::Private::place() {
    for (auto& [view, rect] : fitted) {
        const QPoint offset = view->parentWidget()->mapTo(&q, QPoint(0, 0));
        view->setGeometry(rect.translated(-offset));
    }
}

MervGaugePropertyPage::MervGaugePropertyPage(PropertyPageSite& site, QWidget* parent)
    : QWidget(parent) {
    // d stays null until the page is whole: its widgets send events while they are built.
    d = std::make_unique<Private>(*this, site);
    setMinimumSize(minimumSizeHint());
}

MervGaugePropertyPage::~MervGaugePropertyPage() = default;

void MervGaugePropertyPage::selectionChanged() {
    // A load that fails half way still shows what it loaded.
    struct ShowAfter {
        Private& d;
        ~ShowAfter() { d.show(); }
    } showAfter{*d};
    d->page.SelectionChanged();
}

void MervGaugePropertyPage::applyChanges() {
    struct ShowAfter {
        Private& d;
        ~ShowAfter() { d.show(); }
    } showAfter{*d};
    d->page.ApplyChanges();
}

PropertyPage1& MervGaugePropertyPage::page() {
    return d->page;
}

QSize MervGaugePropertyPage::sizeHint() const {
    return pixelsOf(d->page.ui().page.bounds()).size() + d->growth;
}

QSize MervGaugePropertyPage::minimumSizeHint() const {
    return sizeHint();
}

bool MervGaugePropertyPage::eventFilter(QObject* watched, QEvent* event) {
    // The line edits are polished while the page is still being built, before d is set.
    if (!d)
        return QWidget::eventFilter(watched, event);
    const auto it = d->fields.find(watched);
    if (it != d->fields.end() && event->type() == QEvent::FocusIn && !d->showing) {
        const merv::qt::TextFieldEdit& bound = it->second;
        d->input([&] { bound.field().setFocus(); });
        // A click that brought the focus places the caret after this event; the selection
        // the page made on GotFocus is shown once it has.
        QTimer::singleShot(0, &bound.edit(), [&bound] {
            if (bound.edit().hasFocus())
                bound.showSelection();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void MervGaugePropertyPage::showEvent(QShowEvent* event) {
    d->place();
    QWidget::showEvent(event);
}

void MervGaugePropertyPage::changeEvent(QEvent* event) {
    if (!d)
        return QWidget::changeEvent(event);
    // Captions need the room their font takes.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        d->fit();
    if (event->type() == QEvent::PaletteChange) {
        // System colours follow the palette.
        for (QWidget* swatch : d->swatches)
            swatch->update();
    }
    QWidget::changeEvent(event);
}
