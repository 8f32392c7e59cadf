#include <mervgauge/MervGaugeWidget.h>

#include "ElementInputs.h"
#include "MervGaugeAccessible.h"
#include "MervGaugeWidget_p.h"
#include <mervgauge/MervGaugePropertySheet.h>
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
#include <mervgauge/control/GaugePropertyList.h>
#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/control/StagedRestore.h>
#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/HitTest.h>
#include <mervgauge/platform/PropertyBag.h>
#include <mervgauge/platform/RuntimeError.h>

#include <QAccessible>
#include <QAction>
#include <QCoreApplication>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTransform>

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
// bracket around every call into the control after which the view catches up with it.
class MERVGAUGE_QT_NO_EXPORT MervGaugeWidget::Private : public ContainerSite,
                                                        public ElementObserver {
public:
    explicit Private(MervGaugeWidget& widget);
    ~Private() override;

    // Runs a call into the control. Notices the control sends meanwhile are gathered and the
    // view catches up once the outermost call returns, so a change undone within one call
    // costs nothing.
    template <typename F>
    decltype(auto) call(F&& f) {
        return calls.call(std::forward<F>(f));
    }

    // Runs a call and reports its run-time error through runtimeError; true when it passed.
    template <typename F>
    bool report(const QString& property, F&& f) {
        const qt::CallError error = calls.attempt(std::forward<F>(f));
        if (error.failed())
            emit q.runtimeError(error.number, error.text, property);
        return !error.failed();
    }

    // Runs a property write, a call by name, a lifecycle or bag-file call and keeps its error
    // as the last one; a property write also reports it through runtimeError.
    enum class Report { Signal, Quietly };
    template <typename F>
    bool attempt(const QString& property, Report how, F&& f) {
        lastError = calls.attempt(std::forward<F>(f));
        // A bag file's error is no control's run-time error.
        if (how == Report::Signal && lastError.failed() && lastError.number != BagFileError)
            emit q.runtimeError(lastError.number, lastError.text, property);
        return !lastError.failed();
    }

    void start(const std::function<void()>& lifecycle);
    // A property written while the gauge waits for its first observer, kept for restoring.
    void stage(const char* name, Variant value) {
        staged.write(*findProperty(name), std::move(value));
    }
    // Restores a waiting gauge from the properties written to it so far.
    void ensureStarted();
    // What a waiting gauge holds of a property: the value written to it, else the default.
    Variant stagedValue(const char* name) const { return staged.value(*findProperty(name)); }
    // A getter's read of the control: the fallback where the stored text is no number.
    template <typename T, typename F>
    static T readOr(T fallback, F&& f) {
        try {
            return f();
        } catch (const RuntimeError&) {
            // The stored text is no number (say, while the operator types a threshold);
            // the getter answers the fallback, which its documentation names.
            return fallback;
        }
    }
    // The property's value as its Qt property gives it, and its change signals.
    static QVariant valueOf(const MervGaugeWidget& q, Property property);
    static void notify(MervGaugeWidget& q, Property property, const QVariant& value);
    // Marks a property whose value may have changed: the view compares it when it catches up.
    void notifyChanges();
    // What a listener is told a change from: the values as they stand now.
    void primeNotified();
    void raiseResize();
    void catchUp();
    // Tells screen readers of what changed of the gauge's name, value text and alarm state.
    void tellScreenReaders(bool nameMayDiffer, bool valueMayDiffer, bool stateMayDiffer);
    void updateLocale();
    void updateOpaque();

    // ContainerSite.
    std::optional<bool> ambientUserMode() const override;
    std::uint32_t ambientBackColor() const override;
    std::int32_t ambientLocaleID() const override { return lcid; }
    void propertyChanged(std::string_view name) override;
    void statusChanged(std::string_view name, bool status) override;
    void raiseEvent(int dispid, std::string_view name) override;
    const NumberLocale& numberLocale() const override { return numbers; }
    std::int32_t resourceLanguage() const override { return lcid; }
    std::uint32_t systemColor(std::uint32_t index) const override {
        return qt::paletteSystemColor(index, q.palette());
    }

    // ElementObserver.
    void elementChanged(const ElementNotice& notice) override;

    // From control pixels to widget pixels: the control's origin and the zoom.
    QTransform controlToWidget() const;
    // The widget pixels a rectangle of control pixels reaches, whole pixels covering it.
    QRect widgetPixels(const QRectF& controlRect) const;

    MervGaugeWidget& q;
    NumberLocale numbers;
    std::int32_t lcid = 1033;
    bool attached = false;
    bool userMode = true;
    bool isStarted = false;
    // The writes to a gauge that is yet to be restored; none wait once it is, or for a gauge
    // that its host starts itself.
    StagedRestore staged;
    qt::ControlCalls calls;
    // False while a waiting gauge is restored: nobody has seen it yet, so nothing is news.
    bool announcing = true;
    qreal zoom = 1;

    // The clock before the control: the control's timer tells the clock when it goes.
    std::unique_ptr<qt::QtTimerClock> clock;
    std::unique_ptr<MERV_Gauge> control;
    std::unique_ptr<qt::GaugePainter> painter;
    std::unique_ptr<qt::ElementInputs> inputs;

    // What the control reported since the view last caught up.
    std::vector<ElementNotice> pending;
    std::unique_ptr<qt::NoticeRepaints> repaints;
    // What each property's change signal last told, and which may have changed since.
    qt::PropertyNotices told;
    qt::CallError lastError;
    // What screen readers were last told of the gauge.
    struct Spoken {
        QString name;
        QString value;
        QString description;
    } spoken;
    // What may have changed of it while nobody listened, to compare once somebody does.
    struct Unheard {
        bool name = false;
        bool value = false;
        bool state = false;
    } unheard;
};

MervGaugeWidget::Private::Private(MervGaugeWidget& widget)
    : q(widget), numbers(qt::numberLocaleOf(widget.locale())), lcid(qt::lcidOf(widget.locale())),
      calls(widget, [this] { catchUp(); }) {
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
    inputs = std::make_unique<qt::ElementInputs>(
        q, tree, *painter, [this](const std::function<void()>& f) { report(QString(), f); });
    repaints = std::make_unique<qt::NoticeRepaints>(*painter, tree);
    spoken = {MervGaugeAccessible::nameOf(*control), MervGaugeAccessible::valueOf(*control),
              MervGaugeAccessible::descriptionOf(*control)};
}

void MervGaugeWidget::Private::primeNotified() {
    told.prime([this](Property property) { return valueOf(q, property); });
}

MervGaugeWidget::Private::~Private() {
    control->elements().removeObserver(*this);
    inputs.reset();
    control.reset();
}

void MervGaugeWidget::Private::start(const std::function<void()>& lifecycle) {
    call([&] {
        control->Initialize();
        attached = true;
        isStarted = true;
        lifecycle();
        raiseResize();
    });
}

void MervGaugeWidget::Private::ensureStarted() {
    if (!staged.isWaiting())
        return;
    MemoryPropertyBag bag = staged.take();
    // No one could listen before now: what restoring raises goes unheard, as for a gauge
    // restored in its constructor.
    QSignalBlocker quiet(q);
    announcing = false;
    const auto announceAgain = qScopeGuard([this] { announcing = true; });
    try {
        start([&] { control->ReadProperties(bag); });
    } catch (const RuntimeError& error) {
        quiet.unblock();
        emit q.runtimeError(error.number(), qs(error.description()), QString());
    }
}

void MervGaugeWidget::Private::raiseResize() {
    call([&] { control->Resize(); });
}

std::optional<bool> MervGaugeWidget::Private::ambientUserMode() const {
    // Before the host attaches the control, the ambient query fails.
    if (!attached)
        return std::nullopt;
    return userMode;
}

std::uint32_t MervGaugeWidget::Private::ambientBackColor() const {
    return qt::toOleColor(q.palette().color(QPalette::Window));
}

void MervGaugeWidget::Private::propertyChanged(std::string_view name) {
    told.mayHaveChanged(name);
    // Every value write names a property: its text is made only for somebody connected.
    static const QMetaMethod signal = QMetaMethod::fromSignal(&MervGaugeWidget::propertyChanged);
    if (q.isSignalConnected(signal))
        emit q.propertyChanged(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

void MervGaugeWidget::Private::statusChanged(std::string_view name, bool) {
    told.mayHaveChanged(name);
}

void MervGaugeWidget::Private::raiseEvent(int dispid, std::string_view) {
    switch (dispid) {
    case GaugeEvent::OnAlarmHigh.dispid:
        emit q.OnAlarmHigh();
        break;
    case GaugeEvent::OnAlarmLow.dispid:
        emit q.OnAlarmLow();
        break;
    case GaugeEvent::OnWarningHigh.dispid:
        emit q.OnWarningHigh();
        break;
    case GaugeEvent::OnWarningLow.dispid:
        emit q.OnWarningLow();
        break;
    default:
        Q_ASSERT_X(false, "raiseEvent", "the control raises only its four events");
    }
}

void MervGaugeWidget::Private::elementChanged(const ElementNotice& notice) {
    // Real inputs mirror their elements at once, so what a person sees in them never lags.
    inputs->elementChanged(*notice.element, notice.change);
    pending.push_back(notice);
    calls.noticed();
}

QTransform MervGaugeWidget::Private::controlToWidget() const {
    const QPoint origin = q.controlOrigin();
    return QTransform(zoom, 0, 0, zoom, origin.x(), origin.y());
}

QRect MervGaugeWidget::Private::widgetPixels(const QRectF& controlRect) const {
    return controlToWidget().mapRect(controlRect).toAlignedRect();
}

void MervGaugeWidget::Private::catchUp() {
    const auto notices = std::move(pending);
    pending.clear();
    const GaugeElements& ui = control->ui();
    bool nameCaptioned = false;
    bool valueCaptioned = false;
    for (const ElementNotice& notice : notices) {
        if (notice.change == ElementChange::Caption) {
            nameCaptioned |= notice.element == &ui.Variabile;
            valueCaptioned |= notice.element == &ui.Val;
        }
    }
    const auto repaint = repaints->take(
        notices, [this](const QRectF& controlRect) { return widgetPixels(controlRect); });
    if (repaint.rootResized)
        q.updateGeometry();
    if (repaint.whole)
        q.update();
    else if (!repaint.region.isEmpty())
        q.update(repaint.region);

    told.fieldsChanged(ui, notices);
    const bool statusChanged = told.statusMayHaveChanged();
    notifyChanges();
    if (nameCaptioned || valueCaptioned || statusChanged)
        tellScreenReaders(nameCaptioned, valueCaptioned, statusChanged);
}

void MervGaugeWidget::Private::notifyChanges() {
    told.tellChanges(
        [this](Property property) { return valueOf(q, property); },
        [this](Property property, const QVariant& value) { notify(q, property, value); });
}

QVariant MervGaugeWidget::Private::valueOf(const MervGaugeWidget& q, Property property) {
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

void MervGaugeWidget::Private::notify(MervGaugeWidget& q, Property property,
                                      const QVariant& value) {
#define MERV_NOTIFY_Text(Name, qtColor) emit q.Name##Changed(value.toString());
#define MERV_NOTIFY_Integer(Name, qtColor) emit q.Name##Changed(value.toInt());
#define MERV_NOTIFY_Boolean(Name, qtColor) emit q.Name##Changed(value.toBool());
#define MERV_NOTIFY_Single(Name, qtColor) emit q.Name##Changed(value.toDouble());
#define MERV_NOTIFY_Color(Name, qtColor)                                                           \
    emit q.Name##Changed(value.toUInt());                                                          \
    emit q.qtColor##Changed(q.qtColor());
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

void MervGaugeWidget::Private::tellScreenReaders(bool nameMayDiffer, bool valueMayDiffer,
                                                 bool stateMayDiffer) {
    // Without a screen reader nobody hears the events: the texts are left unread, which
    // would otherwise cost every value write, until somebody listens.
    unheard.name |= nameMayDiffer;
    unheard.value |= valueMayDiffer;
    unheard.state |= stateMayDiffer;
    if (!qt::accessibleEventsHeard())
        return;
    nameMayDiffer = std::exchange(unheard.name, false);
    valueMayDiffer = std::exchange(unheard.value, false);
    stateMayDiffer = std::exchange(unheard.state, false);
    // What screen readers were told is compared too: a caption changed and changed back
    // within one call tells nothing new.
    if (QString name = nameMayDiffer ? MervGaugeAccessible::nameOf(*control) : spoken.name;
        name != spoken.name) {
        spoken.name = std::move(name);
        QAccessibleEvent event(&q, QAccessible::NameChanged);
        if (announcing)
            MervGaugeAccessible::send(&event);
    }
    if (QString value = valueMayDiffer ? MervGaugeAccessible::valueOf(*control) : spoken.value;
        value != spoken.value) {
        spoken.value = std::move(value);
        QAccessibleValueChangeEvent event(&q, spoken.value);
        if (announcing)
            MervGaugeAccessible::send(&event);
    }
    if (QString description =
            stateMayDiffer ? MervGaugeAccessible::descriptionOf(*control) : spoken.description;
        description != spoken.description) {
        spoken.description = std::move(description);
        QAccessibleEvent event(&q, QAccessible::DescriptionChanged);
        if (announcing)
            MervGaugeAccessible::send(&event);
    }
}

void MervGaugeWidget::Private::updateOpaque() {
    // At its own size the control's back colour (colours carry no alpha) covers every pixel,
    // so Qt need not paint what lies behind the widget first; in a larger widget the margins
    // show the parent, and so does the last row or column that a zoom covers only in part.
    q.setAttribute(Qt::WA_OpaquePaintEvent, QSizeF(q.size()) == QSizeF(controlPixelSize()) * zoom);
}

void MervGaugeWidget::Private::updateLocale() {
    numbers = qt::numberLocaleOf(q.locale());
    lcid = qt::lcidOf(q.locale());
}

// ---------------------------------------------------------------------------------------------

MervGaugeWidget::MervGaugeWidget(QWidget* parent) : MervGaugeWidget(Unstarted{}, parent) {
    // uic and QUiLoader write a form's properties in the form's order; restoring applies them
    // in the persisted order, so the writes wait for the first look at the gauge.
    d->staged = StagedRestore(d->numbers);
    d->primeNotified();
    QMetaObject::invokeMethod(
        this, [this] { d->ensureStarted(); }, Qt::QueuedConnection);
}

MervGaugeWidget::MervGaugeWidget(PropertyBag& bag, QWidget* parent)
    : MervGaugeWidget(Unstarted{}, parent) {
    restore(bag);
}

MervGaugeWidget::MervGaugeWidget(Unstarted, QWidget* parent) : QWidget(parent) {
    // Screen readers reach every gauge through the library's own interface.
    [[maybe_unused]] static const bool accessible =
        (QAccessible::installFactory(&MervGaugeAccessible::create), true);
    // d stays null until the host is whole: its inputs send events while it is being built.
    d = std::make_unique<Private>(*this);
    d->primeNotified();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

MervGaugeWidget::~MervGaugeWidget() = default;

int MervGaugeWidget::lastErrorNumber() const {
    return d->lastError.number;
}

QString MervGaugeWidget::lastErrorString() const {
    return d->lastError.text;
}

bool MervGaugeWidget::restore(PropertyBag& bag) {
    d->ensureStarted();
    return d->attempt(QString(), Private::Report::Quietly,
                      [&] { d->start([&] { d->control->ReadProperties(bag); }); });
}

void MervGaugeWidget::createNew(bool userMode) {
    d->ensureStarted();
    d->userMode = userMode;
    d->start([&] { d->control->InitProperties(); });
}

bool MervGaugeWidget::started() const noexcept {
    return d->isStarted || d->staged.isWaiting();
}

bool MervGaugeWidget::isRestored() const {
    return d->staged.isWaiting() || d->control->loaded();
}

bool MervGaugeWidget::store(PropertyBag& bag) {
    d->ensureStarted();
    return d->attempt(QString(), Private::Report::Quietly,
                      [&] { d->control->WriteProperties(bag); });
}

bool MervGaugeWidget::putProperty(const QString& name, const QVariant& value) {
    const PropertyInfo* property = findProperty(name.toStdString());
    d->ensureStarted();
    return d->attempt(name, Private::Report::Quietly, [&] {
        if (!property)
            throw RuntimeError(ErrorNumber::PropertyNotSupported);
        property->put(*d->control, qt::variantOf(value), d->numbers);
    });
}

QVariant MervGaugeWidget::getProperty(const QString& name) {
    const PropertyInfo* property = findProperty(name.toStdString());
    d->ensureStarted();
    QVariant result;
    d->attempt(name, Private::Report::Quietly, [&] {
        if (!property)
            throw RuntimeError(ErrorNumber::PropertyNotSupported);
        result = qt::qvariantOf(property->get(*d->control));
    });
    return result;
}

// The accessors of each row of the property list, by its kind. A setter converts as an
// automation host does, then writes the control (or stages the value while the gauge waits);
// what changed is notified when the view catches up with the control.
#define MERV_WIDGET_Text(Name, qtColor, setQtColor)                                                \
    QString MervGaugeWidget::Name() const {                                                        \
        if (d->staged.isWaiting())                                                                 \
            return qs(d->stagedValue(#Name).toText(d->numbers));                                   \
        return qs(d->control->Name());                                                             \
    }                                                                                              \
    void MervGaugeWidget::set##Name(const QString& value) {                                        \
        d->attempt(QStringLiteral(#Name), Private::Report::Signal, [&] {                           \
            if (d->staged.isWaiting())                                                             \
                return d->stage(#Name, Variant::text(value.toStdString()));                        \
            d->control->set##Name(value.toStdString());                                            \
        });                                                                                        \
    }
#define MERV_WIDGET_Integer(Name, qtColor, setQtColor)                                             \
    int MervGaugeWidget::Name() const {                                                            \
        return Private::readOr<int>(0, [&] {                                                       \
            return d->staged.isWaiting() ? d->stagedValue(#Name).toInteger(d->numbers)             \
                                         : d->control->Name();                                     \
        });                                                                                        \
    }                                                                                              \
    void MervGaugeWidget::set##Name(int value) {                                                   \
        d->attempt(QStringLiteral(#Name), Private::Report::Signal, [&] {                           \
            const std::int16_t integer = convert::toInteger(double(value));                        \
            if (d->staged.isWaiting())                                                             \
                return d->stage(#Name, Variant::integer(integer));                                 \
            d->control->set##Name(integer);                                                        \
        });                                                                                        \
    }
// The status flags are the control's from the start: false until a value update sets them.
#define MERV_WIDGET_Boolean(Name, qtColor, setQtColor)                                             \
    bool MervGaugeWidget::Name() const {                                                           \
        return d->control->Name();                                                                 \
    }
#define MERV_WIDGET_Single(Name, qtColor, setQtColor)                                              \
    double MervGaugeWidget::Name() const {                                                         \
        return Private::readOr<double>(qQNaN(), [&] {                                              \
            return d->staged.isWaiting() ? d->stagedValue(#Name).toSingle(d->numbers)              \
                                         : d->control->Name();                                     \
        });                                                                                        \
    }                                                                                              \
    void MervGaugeWidget::set##Name(double value) {                                                \
        d->attempt(QStringLiteral(#Name), Private::Report::Signal, [&] {                           \
            const float single = convert::toSingle(value);                                         \
            if (d->staged.isWaiting())                                                             \
                return d->stage(#Name, Variant::single(single));                                   \
            d->control->set##Name(single);                                                         \
        });                                                                                        \
    }
/* A colour the stored value already shows (a system colour as the palette gives it) leaves */
/* that value: a form listing both properties restores it in either order. */
#define MERV_WIDGET_Color(Name, qtColor, setQtColor)                                               \
    quint32 MervGaugeWidget::Name() const {                                                        \
        if (d->staged.isWaiting())                                                                 \
            return d->stagedValue(#Name).toColor(d->numbers);                                      \
        return d->control->stored##Name();                                                         \
    }                                                                                              \
    void MervGaugeWidget::set##Name(quint32 value) {                                               \
        d->attempt(QStringLiteral(#Name), Private::Report::Signal, [&] {                           \
            if (d->staged.isWaiting())                                                             \
                return d->stage(#Name, Variant::color(value));                                     \
            d->control->set##Name(value);                                                          \
        });                                                                                        \
    }                                                                                              \
    QColor MervGaugeWidget::qtColor() const {                                                      \
        return qt::toQColor(Name(), palette());                                                    \
    }                                                                                              \
    void MervGaugeWidget::setQtColor(const QColor& color) {                                        \
        if (qtColor() == color.toRgb()) {                                                          \
            d->lastError = {};                                                                     \
            return;                                                                                \
        }                                                                                          \
        set##Name(qt::toOleColor(color));                                                          \
    }
#define MERV_WIDGET(Kind, Name, help, browsable, storeOrder, bagDefault, qtColor, setQtColor)      \
    MERV_WIDGET_##Kind(Name, qtColor, setQtColor)
MERV_GAUGE_PROPERTIES(MERV_WIDGET)
#undef MERV_WIDGET
#undef MERV_WIDGET_Text
#undef MERV_WIDGET_Integer
#undef MERV_WIDGET_Boolean
#undef MERV_WIDGET_Single
#undef MERV_WIDGET_Color

bool MervGaugeWidget::loadBag(const QString& path) {
    std::optional<MemoryPropertyBag> bag;
    if (!d->attempt(QString(), Private::Report::Quietly,
                    [&] { bag.emplace(merv::loadBag(path.toStdString(), d->numbers)); }))
        return false;
    d->ensureStarted();
    return d->attempt(QString(), Private::Report::Quietly,
                      [&] { d->control->ReadProperties(*bag); });
}

bool MervGaugeWidget::saveBag(const QString& path) {
    MemoryPropertyBag bag(d->numbers);
    if (!store(bag))
        return false;
    return d->attempt(QString(), Private::Report::Quietly,
                      [&] { merv::saveBag(path.toStdString(), bag); });
}

QString MervGaugeWidget::propertyHelpString(const QString& name) {
    const auto description = merv::describeProperty(name.toStdString());
    if (!description)
        return {};
    return QString::fromUtf8(description->helpString.data(),
                             qsizetype(description->helpString.size()));
}

bool MervGaugeWidget::isBrowsableProperty(const QString& name) {
    const auto description = merv::describeProperty(name.toStdString());
    return description && description->browsable;
}

void MervGaugeWidget::openEditor() {
    d->ensureStarted();
    d->report(QString(), [this] { d->control->editor().openPanel(); });
}

QString MervGaugeWidget::shownValueText() const {
    return MervGaugeAccessible::valueOf(*d->control);
}

QString MervGaugeWidget::valueCaption(double value) const {
    try {
        return qs(d->control->valueCaption(convert::toSingle(value)));
    } catch (const RuntimeError&) {
        // No caption to give: the documented answer is an empty text.
        return {};
    }
}

QLineF MervGaugeWidget::needleLine() const {
    const Line& needle = d->control->ui().LineValore;
    return {needle.x1(), needle.y1(), needle.x2(), needle.y2()};
}

bool MervGaugeWidget::isFaceDrawn() const {
    return d->control->face().bandsDrawn();
}

void MervGaugeWidget::showPropertySheet() {
    MervGaugePropertySheet sheet(this);
    sheet.setLocale(locale());
    sheet.setGauges({this});
    sheet.exec();
}

void MervGaugeWidget::setPropertiesActionEnabled(bool enabled) {
    static constexpr auto ActionName = "propertiesAction";
    auto* action = findChild<QAction*>(ActionName, Qt::FindDirectChildrenOnly);
    if (enabled && !action) {
        action = new QAction(tr("Properties…"), this);
        action->setObjectName(ActionName);
        connect(action, &QAction::triggered, this, &MervGaugeWidget::showPropertySheet);
        addAction(action);
        setContextMenuPolicy(Qt::ActionsContextMenu);
    } else if (!enabled && action) {
        delete action;
        setContextMenuPolicy(Qt::DefaultContextMenu);
    }
}

bool MervGaugeWidget::editorOpen() const {
    return d->control->editor().isOpen();
}

MERV_Gauge& mervGaugeControl(MervGaugeWidget& widget) {
    widget.d->ensureStarted();
    return *widget.d->control;
}

const MERV_Gauge& mervGaugeControl(const MervGaugeWidget& widget) {
    return mervGaugeControl(const_cast<MervGaugeWidget&>(widget));
}

QSize MervGaugeWidget::sizeHint() const {
    // Whole pixels covering the zoomed control.
    const QSizeF extent = QSizeF(controlPixelSize()) * d->zoom;
    return {int(std::ceil(extent.width())), int(std::ceil(extent.height()))};
}

QSize MervGaugeWidget::minimumSizeHint() const {
    return sizeHint();
}

QPoint MervGaugeWidget::controlOrigin() const {
    const QSize extent = sizeHint();
    return {std::max(0, (width() - extent.width()) / 2),
            std::max(0, (height() - extent.height()) / 2)};
}

void MervGaugeWidget::setZoom(qreal zoom) {
    zoom = std::clamp(zoom, MinimumZoom, MaximumZoom);
    if (qFuzzyCompare(zoom, d->zoom))
        return;
    d->zoom = zoom;
    updateGeometry();
    d->updateOpaque();
    d->inputs->place(d->controlToWidget());
    update();
}

qreal MervGaugeWidget::zoom() const {
    return d->zoom;
}

bool MervGaugeWidget::event(QEvent* event) {
    // Polishing comes before any painting, grab or show: the gauge is looked at from here on.
    if (d && (event->type() == QEvent::Polish || event->type() == QEvent::Show))
        d->ensureStarted();
    return QWidget::event(event);
}

void MervGaugeWidget::connectNotify(const QMetaMethod& signal) {
    QWidget::connectNotify(signal);
    // A listener hears what the gauge does from here on, not how it was restored.
    if (d)
        d->ensureStarted();
}

void MervGaugeWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // A zoom is a painter scale, which the painter draws through as it draws through a device
    // pixel ratio: the face again at device resolution, texts and lines as vectors.
    const QTransform toWidget = d->controlToWidget();
    painter.setTransform(toWidget, true);
    // The control pixels that any pixel of the region shows, partly covered ones included.
    QRegion region;
    if (toWidget.type() <= QTransform::TxTranslate) { // the origin is in whole pixels
        region = event->region().translated(-controlOrigin());
    } else {
        const QTransform toControl = toWidget.inverted();
        for (const QRect& r : event->region())
            region += toControl.mapRect(QRectF(r)).toAlignedRect();
    }
    d->painter->paint(painter, region);
}

void MervGaugeWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    d->updateOpaque();
    d->inputs->place(d->controlToWidget());
    if (d->isStarted)
        d->report(QString(), [&] { d->control->Resize(); });
}

namespace {

// The element a point of the widget reaches, by the control's own hit test.
Element* elementUnder(MervGaugeWidget& widget, QPointF position) {
    const QPointF p = (position - widget.controlOrigin()) / widget.zoom();
    if (p.x() < 0 || p.y() < 0)
        return nullptr;
    return elementAt(mervGaugeControl(widget).elements().root(), int(p.x() * Layout::TwipsPerPixel),
                     int(p.y() * Layout::TwipsPerPixel));
}

} // namespace

void MervGaugeWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (Element* element = elementUnder(*this, event->position()); element && element->onClick)
        d->report(QString(), [&] { element->onClick(); });
}

void MervGaugeWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    if (Element* element = elementUnder(*this, event->position()); element && element->onDblClick)
        d->report(QString(), [&] { element->onDblClick(); });
}

void MervGaugeWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Qt sends change events while the widget is still being built, before d is set.
    if (!d)
        return;
    // A gauge yet to be restored converts numbers in the locale it will be restored in.
    if (event->type() == QEvent::LocaleChange)
        d->updateLocale();
    if (!d->isStarted)
        return;
    if (event->type() == QEvent::LocaleChange) {
        d->report(QString(), [&] { d->control->AmbientChanged("LocaleID"); });
    } else if (event->type() == QEvent::PaletteChange) {
        d->report(QString(), [&] { d->control->AmbientChanged("BackColor"); });
        // System colours follow the palette everywhere, the face's pixels included.
        d->painter->systemColorsChanged();
        update();
    }
}

bool MervGaugeWidget::focusNextPrevChild(bool next) {
    if (d->inputs->moveFocus(next))
        return true;
    return QWidget::focusNextPrevChild(next);
}
