#pragma once

#include <mervgauge/control/GaugePropertyList.h>
#include <mervgauge/mervgauge_quick_export.h>

#include <QColor>
#include <QList>
#include <QLocale>
#include <QQuickPaintedItem>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>

class QAccessibleEvent;

namespace merv {
class MERV_Gauge;
class PropertyBag;
} // namespace merv

// The item's side of each row of control/GaugePropertyList.h, by the row's kind, as the
// widget has them: numbers are int and real in QML and convert to the control's 16-bit integer
// and single as an automation host converts; each colour is there as the stored value
// 0x00BBGGRR and as a `color`; the status flags are read-only.
#define MERV_QUICK_PROPERTY_Text(Name, qtColor, setQtColor)                                        \
    Q_PROPERTY(QString Name READ Name WRITE set##Name NOTIFY Name##Changed)
#define MERV_QUICK_PROPERTY_Integer(Name, qtColor, setQtColor)                                     \
    Q_PROPERTY(int Name READ Name WRITE set##Name NOTIFY Name##Changed)
#define MERV_QUICK_PROPERTY_Boolean(Name, qtColor, setQtColor)                                     \
    Q_PROPERTY(bool Name READ Name NOTIFY Name##Changed)
#define MERV_QUICK_PROPERTY_Single(Name, qtColor, setQtColor)                                      \
    Q_PROPERTY(double Name READ Name WRITE set##Name NOTIFY Name##Changed)
#define MERV_QUICK_PROPERTY_Color(Name, qtColor, setQtColor)                                       \
    Q_PROPERTY(QColor qtColor READ qtColor WRITE setQtColor NOTIFY qtColor##Changed)               \
    Q_PROPERTY(quint32 Name READ Name WRITE set##Name NOTIFY Name##Changed)
#define MERV_QUICK_PROPERTY(Kind, Name, help, browsable, storeOrder, bagDefault, qtColor,          \
                            setQtColor)                                                            \
    MERV_QUICK_PROPERTY_##Kind(Name, qtColor, setQtColor)

#define MERV_QUICK_ACCESSORS_Text(Name, qtColor, setQtColor)                                       \
    QString Name() const;                                                                          \
    void set##Name(const QString& value);
#define MERV_QUICK_ACCESSORS_Integer(Name, qtColor, setQtColor)                                    \
    int Name() const;                                                                              \
    void set##Name(int value);
#define MERV_QUICK_ACCESSORS_Boolean(Name, qtColor, setQtColor) bool Name() const;
#define MERV_QUICK_ACCESSORS_Single(Name, qtColor, setQtColor)                                     \
    double Name() const;                                                                           \
    void set##Name(double value);
#define MERV_QUICK_ACCESSORS_Color(Name, qtColor, setQtColor)                                      \
    quint32 Name() const;                                                                          \
    void set##Name(quint32 value);                                                                 \
    QColor qtColor() const;                                                                        \
    void setQtColor(const QColor& color);
#define MERV_QUICK_ACCESSORS(Kind, Name, help, browsable, storeOrder, bagDefault, qtColor,         \
                             setQtColor)                                                           \
    MERV_QUICK_ACCESSORS_##Kind(Name, qtColor, setQtColor)

#define MERV_QUICK_SIGNALS_Text(Name, qtColor, setQtColor) void Name##Changed();
#define MERV_QUICK_SIGNALS_Integer(Name, qtColor, setQtColor) void Name##Changed();
#define MERV_QUICK_SIGNALS_Boolean(Name, qtColor, setQtColor) void Name##Changed();
#define MERV_QUICK_SIGNALS_Single(Name, qtColor, setQtColor) void Name##Changed();
#define MERV_QUICK_SIGNALS_Color(Name, qtColor, setQtColor)                                        \
    void Name##Changed();                                                                          \
    void qtColor##Changed();
#define MERV_QUICK_SIGNALS(Kind, Name, help, browsable, storeOrder, bagDefault, qtColor,           \
                           setQtColor)                                                             \
    MERV_QUICK_SIGNALS_##Kind(Name, qtColor, setQtColor)

// One analog gauge as a Qt Quick item (`import MERVGauge`, `MervGauge { }`): it hosts one
// MERV_Gauge, paints its element tree as the widget paints it and forwards what a person does
// to it. Properties and events carry the control's own names.
//
// The properties a scene declares wait until the scene is complete and are then restored in
// the persisted order, whatever order the scene lists them in; the gauge starts then. A write
// that the control refuses never throws into the engine: it emits runtimeError and leaves the
// control as the failed write left it.
class MERVGAUGE_QUICK_EXPORT MervGauge : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    MERV_GAUGE_PROPERTIES(MERV_QUICK_PROPERTY)
    // A QML declaration binds only a property whose name starts in lower case (an upper-case
    // name there is taken for an attached object), so each property is also there under its
    // name with the first letter lowered, for `value: sensor.reading`; both names share one
    // getter, setter and change signal.
    Q_PROPERTY(
        QString variableName READ VariableName WRITE setVariableName NOTIFY VariableNameChanged)
    Q_PROPERTY(QString engUnit READ EngUnit WRITE setEngUnit NOTIFY EngUnitChanged)
    Q_PROPERTY(int precision READ Precision WRITE setPrecision NOTIFY PrecisionChanged)
    Q_PROPERTY(bool alarmHighStatus READ AlarmHighStatus NOTIFY AlarmHighStatusChanged)
    Q_PROPERTY(bool alarmLowStatus READ AlarmLowStatus NOTIFY AlarmLowStatusChanged)
    Q_PROPERTY(bool warningHighStatus READ WarningHighStatus NOTIFY WarningHighStatusChanged)
    Q_PROPERTY(bool warningLowStatus READ WarningLowStatus NOTIFY WarningLowStatusChanged)
    Q_PROPERTY(
        double alarmHighVal READ AlarmHighVal WRITE setAlarmHighVal NOTIFY AlarmHighValChanged)
    Q_PROPERTY(double alarmLowVal READ AlarmLowVal WRITE setAlarmLowVal NOTIFY AlarmLowValChanged)
    Q_PROPERTY(double warningHighVal READ WarningHighVal WRITE setWarningHighVal NOTIFY
                   WarningHighValChanged)
    Q_PROPERTY(
        double warningLowVal READ WarningLowVal WRITE setWarningLowVal NOTIFY WarningLowValChanged)
    Q_PROPERTY(double value READ Value WRITE setValue NOTIFY ValueChanged)
    Q_PROPERTY(double minValue READ MinValue WRITE setMinValue NOTIFY MinValueChanged)
    Q_PROPERTY(double maxValue READ MaxValue WRITE setMaxValue NOTIFY MaxValueChanged)
    Q_PROPERTY(
        quint32 backColorText READ BackColorText WRITE setBackColorText NOTIFY BackColorTextChanged)
    Q_PROPERTY(quint32 backColorGraphic READ BackColorGraphic WRITE setBackColorGraphic NOTIFY
                   BackColorGraphicChanged)
    Q_PROPERTY(quint32 textColor READ TextColor WRITE setTextColor NOTIFY TextColorChanged)
    Q_PROPERTY(
        quint32 bordersColor READ BordersColor WRITE setBordersColor NOTIFY BordersColorChanged)
    Q_PROPERTY(quint32 normalColor READ NormalColor WRITE setNormalColor NOTIFY NormalColorChanged)
    Q_PROPERTY(
        quint32 warningColor READ WarningColor WRITE setWarningColor NOTIFY WarningColorChanged)
    Q_PROPERTY(quint32 alarmColor READ AlarmColor WRITE setAlarmColor NOTIFY AlarmColorChanged)
    // The locale numbers and captions follow; the application's default unless set.
    Q_PROPERTY(QLocale locale READ locale WRITE setLocale NOTIFY localeChanged)
    // The value text the gauge shows ("31,6 bar") and its alarm state in words ("high
    // alarm", "normal"), as a screen reader reads them.
    Q_PROPERTY(QString shownValueText READ shownValueText NOTIFY shownValueTextChanged)
    Q_PROPERTY(QString shownState READ shownState NOTIFY shownStateChanged)
    // The error of the last property write or call, NoError (0) when it passed.
    Q_PROPERTY(int lastErrorNumber READ lastErrorNumber NOTIFY lastErrorChanged)
    Q_PROPERTY(QString lastErrorString READ lastErrorString NOTIFY lastErrorChanged)

public:
    explicit MervGauge(QQuickItem* parent = nullptr);
    ~MervGauge() override;

    // What lastErrorNumber holds after a call that passed, and after a bag file that could
    // not be read or written; any other number is the control's run-time error number.
    static constexpr int NoError = 0;
    static constexpr int BagFileError = -1;
    int lastErrorNumber() const;
    QString lastErrorString() const;

    // Single getters answer NaN while the stored text is no number (the operator is typing
    // it in the threshold editor); colours are OLE_COLOR values, 0x00BBGGRR.
    MERV_GAUGE_PROPERTIES(MERV_QUICK_ACCESSORS)

    QLocale locale() const;
    void setLocale(const QLocale& locale);
    QString shownValueText() const;
    QString shownState() const;

    // Starts the gauge restored from the bag instead of from its declared properties (a gauge
    // made in code, before the event loop starts it); false, with the error kept, when the
    // control refused the bag. A started gauge reads the bag again.
    bool restore(merv::PropertyBag& bag);
    // Property access by name, converted as an automation host converts ("12,5" in an Italian
    // locale): false, or an invalid value, when it failed (438 for a name the control does
    // not have). The error is kept, not signalled.
    Q_INVOKABLE bool putProperty(const QString& name, const QVariant& value);
    Q_INVOKABLE QVariant getProperty(const QString& name);

    // Restores the control from a property-bag file (a local file URL or path), read and
    // checked whole first: a bad file fails with BagFileError and leaves the gauge as it was.
    Q_INVOKABLE bool loadBag(const QUrl& url);
    // Stores the control's properties into a bag file, atomically.
    Q_INVOKABLE bool saveBag(const QUrl& url);

    // Whether the threshold editor panel is open: a double-click where the control says
    // opens it, with real text inputs for its fields and a button for OK.
    Q_INVOKABLE bool editorOpen() const;
    // Opens the threshold editor as a double-click on the dial does.
    Q_INVOKABLE void openEditor();
    // The real inputs standing in for the fields and buttons the control shows now (the open
    // editor's), in the control's order, as screen readers reach them.
    QList<QQuickItem*> shownInputs() const;
    // Whether the control has started (the scene that declares it is complete).
    bool started() const noexcept;
    // Whether the dial face has been drawn: it is drawn from a timer tick after the start,
    // so a host that takes a picture waits for this first.
    Q_INVOKABLE bool isFaceDrawn() const;
    // Where the control's top left corner lies in the item: the gauge keeps its fixed size
    // and stands centred in whatever room the item is given.
    QPoint controlOrigin() const;

    // Where gauges send their accessibility events: QAccessible::updateAccessibility unless
    // replaced (an empty sink restores it). Events are seen nowhere else while no screen
    // reader is active, so tests look at them here.
    static void setAccessibleEventSink(std::function<void(QAccessibleEvent*)> sink);

    void paint(QPainter* painter) override;

signals:
    // The control's four events. QML finds a signal's handler by the signal's name with its
    // first letter lowered, so these carry the events' names so lowered: the handlers are the
    // events' names after "on" (onOnAlarmHigh), as a form's event handlers are.
    void onAlarmHigh();
    void onAlarmLow();
    void onWarningHigh();
    void onWarningLow();
    // A property write, tick or input that the control refused; the property is empty where
    // no property call failed.
    void runtimeError(int number, const QString& description, const QString& property);
    void localeChanged();
    void shownValueTextChanged();
    void shownStateChanged();
    void lastErrorChanged();
    // Each property's change, emitted only when the value differs from the one last notified,
    // once the call that changed it returns.
    MERV_GAUGE_PROPERTIES(MERV_QUICK_SIGNALS)

protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    class Private;
    friend class Private;
    std::unique_ptr<Private> d;
};

#undef MERV_QUICK_PROPERTY
#undef MERV_QUICK_PROPERTY_Text
#undef MERV_QUICK_PROPERTY_Integer
#undef MERV_QUICK_PROPERTY_Boolean
#undef MERV_QUICK_PROPERTY_Single
#undef MERV_QUICK_PROPERTY_Color
#undef MERV_QUICK_ACCESSORS
#undef MERV_QUICK_ACCESSORS_Text
#undef MERV_QUICK_ACCESSORS_Integer
#undef MERV_QUICK_ACCESSORS_Boolean
#undef MERV_QUICK_ACCESSORS_Single
#undef MERV_QUICK_ACCESSORS_Color
#undef MERV_QUICK_SIGNALS
#undef MERV_QUICK_SIGNALS_Text
#undef MERV_QUICK_SIGNALS_Integer
#undef MERV_QUICK_SIGNALS_Boolean
#undef MERV_QUICK_SIGNALS_Single
#undef MERV_QUICK_SIGNALS_Color
