#include <mervgauge/MervGauge.h>

#include <mervgauge/private/ControlCalls.h>
#include <mervgauge/private/GaugePainter.h>
#include <mervgauge/private/GaugeSpeech.h>
#include <mervgauge/private/NoticeRepaints.h>
#include <mervgauge/private/OleColor.h>
#include <mervgauge/private/PropertyNotices.h>
#include <mervgauge/private/QtLocale.h>
#include <mervgauge/private/QtTimerClock.h>
#include <mervgauge/private/QtVariant.h>

#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/BagFile.h>
#include <mervgauge/control/GaugeEvents.h>
#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/control/StagedRestore.h>
#include <mervgauge/layout/SurfaceLayout.h>
#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/HitTest.h>
#include <mervgauge/platform/PropertyBag.h>
#include <mervgauge/platform/RuntimeError.h>

#include "MervGaugeQuickAccessible.h"
#include "QuickElementInputs.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScopeGuard>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

using namespace merv;

namespace {

// The control's fixed extent in whole pixels, rounded as the control rounds twips.
QSize controlPixelSize() {
    return {int(std::lround(double(Layout::ControlWidth) / Layout::TwipsPerPixel)),
            int(std::lround(double(Layout::ControlHeight) / Layout::TwipsPerPixel))};
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

using Property = qt::GaugeProperty;

} // namespace

// The host side of one gauge: the container services, the clock and the observer, and the
// bracket around every call into the control after which the item catches up with it.
class MERVGAUGE_QUICK_NO_EXPORT MervGauge::Private : public QObject,
                                                     public ContainerSite,
                                                     public ElementObserver {
public:
    using Error = qt::CallError;

    explicit Private(MervGauge& item);
    ~Private() override;

    // Runs a call into the control; the item catches up once the outermost call returns.
    template <typename F>
    decltype(auto) call(F&& f) {
        return calls.call(std::forward<F>(f));
    }

    // Runs a property write or a call and keeps its error as the last one; a property write
    // (named) also reports it through runtimeError. True when it passed.
    template <typename F>
    bool attempt(const QString& property, F&& f) {
        const Error error = calls.attempt(std::forward<F>(f));
        setLastError(error);
        if (error.failed() && !property.isEmpty())
            emit q.runtimeError(error.number, error.text, property);
        return !error.failed();
    }
    // Runs a call from the event loop (a tick, a click), reporting its error.
    void report(const std::function<void()>& f) {
        if (const Error error = calls.attempt(f); error.failed())
            emit q.runtimeError(error.number, error.text, QString());
    }

    void setLastError(const Error& error);
    void stage(const char* name, Variant value) {
        staged.write(*findProperty(name), std::move(value));
        told.mayHaveChanged(name);
    }
    Variant stagedValue(const char* name) const { return staged.value(*findProperty(name)); }
    // Restores a waiting gauge from the properties declared so far, in the persisted order.
    void ensureStarted();
    // Starts the gauge from the bag (Initialize, ReadProperties, then sizing).
    void start(PropertyBag& bag);
    // Makes the real inputs for the control's fields and buttons, by the item's engine or,
    // for an item made outside any, one of its own, when first one is needed: most gauges
    // never open their editor. False where the engine could not make them.
    bool ensureInputs();
    template <typename T, typename F>
    static T readOr(T fallback, F&& f) {
        try {
            return f();
        } catch (const RuntimeError&) {
            // The stored text is no number: the getter answers the documented fallback.
            return fallback;
        }
    }
    static QVariant valueOf(const MervGauge& q, Property property);
    static void notify(MervGauge& q, Property property);
    void notifyChanges();
    void catchUp();
    // Tells screen readers, and the text properties, what changed of the name, the value
    // text and the alarm state.
    void tellScreenReaders(bool nameMayDiffer, bool valueMayDiffer, bool stateMayDiffer);
    QRect itemPixels(const QRectF& controlRect) const {
        return controlRect.translated(q.controlOrigin()).toAlignedRect();
    }
    QPalette palette() const { return QGuiApplication::palette(); }

    // ContainerSite.
    std::optional<bool> ambientUserMode() const override {
        // Before the host attaches the control, the ambient query fails.
        if (!attached)
            return std::nullopt;
        return true;
    }
    std::uint32_t ambientBackColor() const override {
        return qt::toOleColor(palette().color(QPalette::Window));
    }
    std::int32_t ambientLocaleID() const override { return lcid; }
    void propertyChanged(std::string_view name) override { told.mayHaveChanged(name); }
    void statusChanged(std::string_view name, bool) override { told.mayHaveChanged(name); }
    void raiseEvent(int dispid, std::string_view name) override;
    const NumberLocale& numberLocale() const override { return numbers; }
    std::int32_t resourceLanguage() const override { return lcid; }
    std::uint32_t systemColor(std::uint32_t index) const override {
        return qt::paletteSystemColor(index, palette());
    }

    // ElementObserver.
    void elementChanged(const ElementNotice& notice) override;

    // The application's palette is the item's: a change is an ambient BackColor change, and
    // system colours follow it everywhere, the face's pixels included.
    bool eventFilter(QObject* watched, QEvent* event) override;

    MervGauge& q;
    QLocale locale;
    NumberLocale numbers;
    std::int32_t lcid = 1033;
    bool attached = false;
    bool isStarted = false;
    // The declared properties, waiting for the scene to be complete.
    StagedRestore staged;
    qt::ControlCalls calls;
    // False while a waiting gauge is restored: the events of restoring go unheard.
    bool announcing = true;

    std::unique_ptr<qt::QtTimerClock> clock;
    std::unique_ptr<MERV_Gauge> control;
    std::unique_ptr<qt::GaugePainter> painter;
    // The engine that made the inputs, where the item has none of its own.
    std::unique_ptr<QQmlEngine> ownEngine;
    // Null until an input is first needed, and where the engine could not make them (inputsError
    // says why; the editor then stays closed).
    std::unique_ptr<qt::QuickElementInputs> inputs;
    QString inputsError;

    std::vector<ElementNotice> pending;
    std::unique_ptr<qt::NoticeRepaints> repaints;
    // What each property's change signal last told, and which may have changed since.
    qt::PropertyNotices told;
    Error lastError;
    // The window whose palette changes the item follows.
    QPointer<QQuickWindow> watchedWindow;
    // What screen readers and the text properties were last told of the gauge.
    struct Spoken {
        QString name;
        QString value;
        QString state;
    } spoken;
};

MervGauge::Private::Private(MervGauge& item)
    : q(item), numbers(qt::numberLocaleOf(locale)), lcid(qt::lcidOf(locale)), staged(numbers),
      calls(item, [this] { catchUp(); }) {
    clock = std::make_unique<qt::QtTimerClock>(
        [this](const RuntimeError& error) {
            emit q.runtimeError(error.number(), qs(error.description()), QString());
        },
        [this](const std::function<void()>& tick) { call(tick); });
    control = std::make_unique<MERV_Gauge>(*this);
    ElementTree& tree = control->elements();
    calls.setTree(tree);
    tree.setTimerClock(clock.get());
    tree.addObserver(*this);
    // The host answers every extent change the control makes with another Resize.
    tree.root().onExtentChanged = [this] { control->Resize(); };
    painter = std::make_unique<qt::GaugePainter>(tree, *this);
    painter->setFace(control->ui().Sfondo, control->face());
    repaints = std::make_unique<qt::NoticeRepaints>(*painter, tree);
    spoken = {qt::spokenName(*control), qt::spokenValue(*control), qt::spokenState(*control)};
}

MervGauge::Private::~Private() {
    control->elements().removeObserver(*this);
    inputs.reset();
    control.reset();
}

bool MervGauge::Private::eventFilter(QObject* watched, QEvent* event) {
    // The application tells each window of a palette change; the item watches its own.
    if (watched == q.window() && event->type() == QEvent::ApplicationPaletteChange && isStarted) {
        report([this] { control->AmbientChanged("BackColor"); });
        painter->systemColorsChanged();
        q.update();
    }
    return false;
}

void MervGauge::Private::setLastError(const Error& error) {
    if (std::exchange(lastError, error) != error)
        emit q.lastErrorChanged();
}

bool MervGauge::Private::ensureInputs() {
    if (inputs || !inputsError.isEmpty())
        return bool(inputs);
    QQmlEngine* engine = qmlEngine(&q);
    if (!engine) {
        ownEngine = std::make_unique<QQmlEngine>();
        engine = ownEngine.get();
    }
    inputs = qt::QuickElementInputs::create(
        q, *engine, control->elements(), *painter,
        [this](const std::function<void()>& f) { report(f); }, inputsError);
    if (!inputs)
        return false;
    inputs->place(q.controlOrigin());
    return true;
}

void MervGauge::Private::start(PropertyBag& bag) {
    call([&] {
        control->Initialize();
        attached = true;
        isStarted = true;
        control->ReadProperties(bag);
        control->Resize();
    });
    // An element shown from the start (a form's own inputs) needs its input at once.
    if (qt::InputMirror::anyInputShown(control->elements()))
        ensureInputs();
}

void MervGauge::Private::ensureStarted() {
    if (!staged.isWaiting())
        return;
    MemoryPropertyBag bag = staged.take();
    announcing = false;
    const auto announceAgain = qScopeGuard([this] { announcing = true; });
    try {
        start(bag);
    } catch (const RuntimeError& error) {
        emit q.runtimeError(error.number(), qs(error.description()), QString());
    }
}

void MervGauge::Private::raiseEvent(int dispid, std::string_view) {
    if (!announcing)
        return;
    switch (dispid) {
    case GaugeEvent::OnAlarmHigh.dispid:
        emit q.onAlarmHigh();
        break;
    case GaugeEvent::OnAlarmLow.dispid:
        emit q.onAlarmLow();
        break;
    case GaugeEvent::OnWarningHigh.dispid:
        emit q.onWarningHigh();
        break;
    case GaugeEvent::OnWarningLow.dispid:
        emit q.onWarningLow();
        break;
    default:
        Q_ASSERT_X(false, "raiseEvent", "the control raises only its four events");
    }
}

void MervGauge::Private::elementChanged(const ElementNotice& notice) {
    // An element with an input shown or focused for the first time needs the inputs.
    if (!inputs &&
        (notice.change == ElementChange::Visible || notice.change == ElementChange::Focus) &&
        qt::InputMirror::anyInputShown(control->elements()))
        ensureInputs();
    // Real inputs mirror their elements at once, so what a person sees in them never lags.
    if (inputs)
        inputs->elementChanged(*notice.element, notice.change);
    pending.push_back(notice);
    calls.noticed();
}

void MervGauge::Private::catchUp() {
    const auto notices = std::move(pending);
    pending.clear();
    const GaugeElements& ui = control->ui();
    const bool valueCaptioned = std::any_of(notices.begin(), notices.end(), [&](const auto& n) {
        return n.change == ElementChange::Caption && n.element == &ui.Val;
    });
    const auto repaint = repaints->take(
        notices, [this](const QRectF& controlRect) { return itemPixels(controlRect); });
    if (repaint.whole)
        q.update();
    for (const QRect& rect : repaint.region)
        q.update(rect);

    told.fieldsChanged(ui, notices);
    const bool nameCaptioned = std::any_of(notices.begin(), notices.end(), [&](const auto& n) {
        return n.change == ElementChange::Caption && n.element == &ui.Variabile;
    });
    const bool statusChanged = told.statusMayHaveChanged();
    notifyChanges();
    tellScreenReaders(nameCaptioned, valueCaptioned, statusChanged);
}

void MervGauge::Private::tellScreenReaders(bool nameMayDiffer, bool valueMayDiffer,
                                           bool stateMayDiffer) {
    // The texts are kept for the item's own properties; events are built only where a
    // screen reader (or a test's sink) hears them.
    const auto told = [this] { return announcing && qt::accessibleEventsHeard(); };
    // What was told is compared too: a caption changed and changed back within one call
    // tells nothing new.
    if (QString name = nameMayDiffer ? qt::spokenName(*control) : spoken.name;
        name != spoken.name) {
        spoken.name = std::move(name);
        if (told()) {
            QAccessibleEvent event(&q, QAccessible::NameChanged);
            qt::sendAccessibleEvent(&event);
        }
    }
    if (QString value = valueMayDiffer ? qt::spokenValue(*control) : spoken.value;
        value != spoken.value) {
        spoken.value = std::move(value);
        emit q.shownValueTextChanged();
        if (told()) {
            QAccessibleValueChangeEvent event(&q, spoken.value);
            qt::sendAccessibleEvent(&event);
        }
    }
    if (QString state = stateMayDiffer ? qt::spokenState(*control) : spoken.state;
        state != spoken.state) {
        spoken.state = std::move(state);
        emit q.shownStateChanged();
        if (told()) {
            QAccessibleEvent event(&q, QAccessible::DescriptionChanged);
            qt::sendAccessibleEvent(&event);
        }
    }
}

void MervGauge::Private::notifyChanges() {
    told.tellChanges([this](Property property) { return valueOf(q, property); },
                     [this](Property property, const QVariant&) { notify(q, property); });
}

QVariant MervGauge::Private::valueOf(const MervGauge& q, Property property) {
    switch (property) {
#define MERV_PROPERTY_VALUE(Kind, Name, ...)                                                       \
    case Property::Name:                                                                           \
        return QVariant::fromValue(q.Name());
        MERV_GAUGE_PROPERTIES(MERV_PROPERTY_VALUE)
#undef MERV_PROPERTY_VALUE
    }
    Q_UNREACHABLE();
    return {};
}

void MervGauge::Private::notify(MervGauge& q, Property property) {
#define MERV_NOTIFY_Text(Name, qtColor) emit q.Name##Changed();
#define MERV_NOTIFY_Integer(Name, qtColor) emit q.Name##Changed();
#define MERV_NOTIFY_Boolean(Name, qtColor) emit q.Name##Changed();
#define MERV_NOTIFY_Single(Name, qtColor) emit q.Name##Changed();
#define MERV_NOTIFY_Color(Name, qtColor)                                                           \
    emit q.Name##Changed();                                                                        \
    emit q.qtColor##Changed();
#define MERV_NOTIFY(Kind, Name, help, browsable, storeOrder, bagDefault, qtColor, setQtColor)      \
    case Property::Name:                                                                           \
        MERV_NOTIFY_##Kind(Name, qtColor) break;
    switch (property) { MERV_GAUGE_PROPERTIES(MERV_NOTIFY) }
#undef MERV_NOTIFY
#undef MERV_NOTIFY_Text
#undef MERV_NOTIFY_Integer
#undef MERV_NOTIFY_Boolean
#undef MERV_NOTIFY_Single
#undef MERV_NOTIFY_Color
}

// ---------------------------------------------------------------------------------------------

MervGauge::MervGauge(QQuickItem* parent) : QQuickPaintedItem(parent) {
    // Screen readers reach every gauge through the library's own interface.
    [[maybe_unused]] static const bool accessible =
        (QAccessible::installFactory(&MervGaugeQuickAccessible::create), true);
    d = std::make_unique<Private>(*this);
    d->told.prime([this](Property property) { return Private::valueOf(*this, property); });
    const QSize extent = controlPixelSize();
    setImplicitSize(extent.width(), extent.height());
    setAcceptedMouseButtons(Qt::LeftButton);
    // An item made in code, outside any scene, starts from the event loop.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isComponentComplete())
                d->ensureStarted();
        },
        Qt::QueuedConnection);
}

MervGauge::~MervGauge() = default;

int MervGauge::lastErrorNumber() const {
    return d->lastError.number;
}

QString MervGauge::lastErrorString() const {
    return d->lastError.text;
}

void MervGauge::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickPaintedItem::itemChange(change, value);
    if (change != ItemSceneChange)
        return;
    if (d->watchedWindow)
        d->watchedWindow->removeEventFilter(d.get());
    d->watchedWindow = value.window;
    if (d->watchedWindow)
        d->watchedWindow->installEventFilter(d.get());
}

void MervGauge::componentComplete() {
    QQuickPaintedItem::componentComplete();
    d->ensureStarted();
}

bool MervGauge::editorOpen() const {
    return d->control->editor().isOpen();
}

void MervGauge::openEditor() {
    d->ensureStarted();
    if (d->ensureInputs())
        d->report([this] { d->control->editor().openPanel(); });
}

QList<QQuickItem*> MervGauge::shownInputs() const {
    return d->inputs ? d->inputs->shownInputs() : QList<QQuickItem*>();
}

bool MervGauge::started() const noexcept {
    return d->isStarted;
}

bool MervGauge::isFaceDrawn() const {
    return d->control->face().bandsDrawn();
}

QPoint MervGauge::controlOrigin() const {
    const QSize extent = controlPixelSize();
    return {std::max(0, (int(width()) - extent.width()) / 2),
            std::max(0, (int(height()) - extent.height()) / 2)};
}

QString MervGauge::shownValueText() const {
    return qt::spokenValue(*d->control);
}

void MervGauge::setAccessibleEventSink(std::function<void(QAccessibleEvent*)> sink) {
    qt::setAccessibleEventSink(std::move(sink));
}

QString MervGauge::shownState() const {
    return qt::spokenState(*d->control);
}

QLocale MervGauge::locale() const {
    return d->locale;
}

void MervGauge::setLocale(const QLocale& locale) {
    if (locale == d->locale)
        return;
    d->locale = locale;
    d->numbers = qt::numberLocaleOf(locale);
    d->lcid = qt::lcidOf(locale);
    if (d->isStarted)
        d->report([this] { d->control->AmbientChanged("LocaleID"); });
    emit localeChanged();
}

#define MERV_QUICK_Text(Name, qtColor, setQtColor)                                                 \
    QString MervGauge::Name() const {                                                              \
        if (d->staged.isWaiting())                                                                 \
            return qs(d->stagedValue(#Name).toText(d->numbers));                                   \
        return qs(d->control->Name());                                                             \
    }                                                                                              \
    void MervGauge::set##Name(const QString& value) {                                              \
        d->attempt(QStringLiteral(#Name), [&] {                                                    \
            if (d->staged.isWaiting())                                                             \
                return d->stage(#Name, Variant::text(value.toStdString()));                        \
            d->control->set##Name(value.toStdString());                                            \
        });                                                                                        \
    }
#define MERV_QUICK_Integer(Name, qtColor, setQtColor)                                              \
    int MervGauge::Name() const {                                                                  \
        return Private::readOr<int>(0, [&] {                                                       \
            return d->staged.isWaiting() ? d->stagedValue(#Name).toInteger(d->numbers)             \
                                         : d->control->Name();                                     \
        });                                                                                        \
    }                                                                                              \
    void MervGauge::set##Name(int value) {                                                         \
        d->attempt(QStringLiteral(#Name), [&] {                                                    \
            const std::int16_t integer = convert::toInteger(double(value));                        \
            if (d->staged.isWaiting())                                                             \
                return d->stage(#Name, Variant::integer(integer));                                 \
            d->control->set##Name(integer);                                                        \
        });                                                                                        \
    }
#define MERV_QUICK_Boolean(Name, qtColor, setQtColor)                                              \
    bool MervGauge::Name() const {                                                                 \
        return d->control->Name();                                                                 \
    }
#define MERV_QUICK_Single(Name, qtColor, setQtColor)                                               \
    double MervGauge::Name() const {                                                               \
        return Private::readOr<double>(qQNaN(), [&] {                                              \
            return d->staged.isWaiting() ? d->stagedValue(#Name).toSingle(d->numbers)              \
                                         : d->control->Name();                                     \
        });                                                                                        \
    }                                                                                              \
    void MervGauge::set##Name(double value) {                                                      \
        d->attempt(QStringLiteral(#Name), [&] {                                                    \
            const float single = convert::toSingle(value);                                         \
            if (d->staged.isWaiting())                                                             \
                return d->stage(#Name, Variant::single(single));                                   \
            d->control->set##Name(single);                                                         \
        });                                                                                        \
    }
/* A colour the stored value already shows keeps that value, so a scene that lists both */
/* properties restores it in either order. */
#define MERV_QUICK_Color(Name, qtColor, setQtColor)                                                \
    quint32 MervGauge::Name() const {                                                              \
        if (d->staged.isWaiting())                                                                 \
            return d->stagedValue(#Name).toColor(d->numbers);                                      \
        return d->control->stored##Name();                                                         \
    }                                                                                              \
    void MervGauge::set##Name(quint32 value) {                                                     \
        d->attempt(QStringLiteral(#Name), [&] {                                                    \
            if (d->staged.isWaiting())                                                             \
                return d->stage(#Name, Variant::color(value));                                     \
            d->control->set##Name(value);                                                          \
        });                                                                                        \
    }                                                                                              \
    QColor MervGauge::qtColor() const {                                                            \
        return qt::toQColor(Name(), d->palette());                                                 \
    }                                                                                              \
    void MervGauge::setQtColor(const QColor& color) {                                              \
        if (qtColor() == color.toRgb())                                                            \
            return d->setLastError({});                                                            \
        set##Name(qt::toOleColor(color));                                                          \
    }
#define MERV_QUICK(Kind, Name, help, browsable, storeOrder, bagDefault, qtColor, setQtColor)       \
    MERV_QUICK_##Kind(Name, qtColor, setQtColor)
MERV_GAUGE_PROPERTIES(MERV_QUICK)
#undef MERV_QUICK
#undef MERV_QUICK_Text
#undef MERV_QUICK_Integer
#undef MERV_QUICK_Boolean
#undef MERV_QUICK_Single
#undef MERV_QUICK_Color

bool MervGauge::restore(PropertyBag& bag) {
    if (!d->staged.isWaiting())
        return d->attempt(QString(), [&] { d->control->ReadProperties(bag); });
    // The declared properties give way to the bag.
    d->staged.take();
    return d->attempt(QString(), [&] { d->start(bag); });
}

bool MervGauge::putProperty(const QString& name, const QVariant& value) {
    const PropertyInfo* property = findProperty(name.toStdString());
    d->ensureStarted();
    return d->attempt(QString(), [&] {
        if (!property)
            throw RuntimeError(ErrorNumber::PropertyNotSupported);
        property->put(*d->control, qt::variantOf(value), d->numbers);
    });
}

QVariant MervGauge::getProperty(const QString& name) {
    const PropertyInfo* property = findProperty(name.toStdString());
    d->ensureStarted();
    QVariant result;
    d->attempt(QString(), [&] {
        if (!property)
            throw RuntimeError(ErrorNumber::PropertyNotSupported);
        result = qt::qvariantOf(property->get(*d->control));
    });
    return result;
}

namespace {

// A bag file's path: a local file URL, or a URL with no scheme taken as a path.
std::optional<QString> bagPath(const QUrl& url) {
    if (url.isLocalFile())
        return url.toLocalFile();
    if (url.scheme().isEmpty())
        return url.path();
    return std::nullopt;
}

BagError notALocalFile(const QUrl& url) {
    return BagError(url.toString().toStdString(), "", "not a local file");
}

} // namespace

bool MervGauge::loadBag(const QUrl& url) {
    std::optional<MemoryPropertyBag> bag;
    if (!d->attempt(QString(), [&] {
            const auto path = bagPath(url);
            if (!path)
                throw notALocalFile(url);
            bag.emplace(merv::loadBag(path->toStdString(), d->numbers));
        }))
        return false;
    d->ensureStarted();
    return d->attempt(QString(), [&] { d->control->ReadProperties(*bag); });
}

bool MervGauge::saveBag(const QUrl& url) {
    d->ensureStarted();
    MemoryPropertyBag bag(d->numbers);
    return d->attempt(QString(), [&] {
        const auto path = bagPath(url);
        if (!path)
            throw notALocalFile(url);
        d->control->WriteProperties(bag);
        merv::saveBag(path->toStdString(), bag);
    });
}

void MervGauge::paint(QPainter* painter) {
    // The hints a widget's painter starts with, so both views make the same pixels.
    painter->setRenderHints(painter->renderHints(), false);
    painter->setRenderHint(QPainter::TextAntialiasing);
    const QPoint origin = controlOrigin();
    painter->translate(origin);
    const QRect whole(QPoint(), controlPixelSize());
    const QRegion region = painter->hasClipping()
                               ? QRegion(painter->clipBoundingRect().toAlignedRect()) & whole
                               : QRegion(whole);
    d->painter->paint(*painter, region);
}

namespace {

// The element a point of the item reaches, by the control's own hit test.
Element* elementUnder(MERV_Gauge& control, QPointF position) {
    if (position.x() < 0 || position.y() < 0)
        return nullptr;
    return elementAt(control.elements().root(), int(position.x() * Layout::TwipsPerPixel),
                     int(position.y() * Layout::TwipsPerPixel));
}

} // namespace

void MervGauge::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QQuickPaintedItem::mousePressEvent(event);
    d->ensureStarted();
    if (Element* element = elementUnder(*d->control, event->position() - controlOrigin());
        element && element->onClick)
        d->report([&] { element->onClick(); });
}

void MervGauge::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QQuickPaintedItem::mouseDoubleClickEvent(event);
    d->ensureStarted();
    // Without inputs an open editor would cover the dial with fields no one can edit.
    if (!d->ensureInputs())
        return;
    if (Element* element = elementUnder(*d->control, event->position() - controlOrigin());
        element && element->onDblClick)
        d->report([&] { element->onDblClick(); });
}

void MervGauge::keyPressEvent(QKeyEvent* event) {
    // Tab and Backtab reach the item from the inputs, which leave them, and where the item
    // itself holds the focus (the control's focus is on an element without an input).
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && d->inputs &&
        d->inputs->moveFocus(event->key() == Qt::Key_Tab &&
                             !(event->modifiers() & Qt::ShiftModifier)))
        return;
    QQuickPaintedItem::keyPressEvent(event);
}

void MervGauge::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (d->inputs && newGeometry.size() != oldGeometry.size())
        d->inputs->place(controlOrigin());
}
