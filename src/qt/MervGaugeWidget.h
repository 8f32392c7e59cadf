#pragma once

#include <mervgauge/mervgauge_qt_export.h>

#include <QColor>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <memory>

namespace merv {
class MERV_Gauge;
class PropertyBag;
class RuntimeError;
} // namespace merv

// One analog gauge as a Qt widget: it hosts one MERV_Gauge, paints its element tree and
// forwards what a person does to it. Properties and events carry the control's own names.
//
// A property write that the control refuses emits runtimeError and leaves the control as the
// failed write left it; putProperty and getProperty throw merv::RuntimeError instead, for code
// that wants to handle the error itself. No error ever escapes into Qt's event loop.
class MERVGAUGE_QT_EXPORT MervGaugeWidget : public QWidget {
    Q_OBJECT
    // Numbers are int and double at the property surface, as form designers, uic and
    // QUiLoader take them; they convert to the control's 16-bit integer and single exactly as
    // an automation host converts (an out-of-range value is refused with an overflow error).
    Q_PROPERTY(QString VariableName READ VariableName WRITE setVariableName)
    Q_PROPERTY(QString EngUnit READ EngUnit WRITE setEngUnit)
    Q_PROPERTY(int Precision READ Precision WRITE setPrecision)
    Q_PROPERTY(bool AlarmHighStatus READ AlarmHighStatus NOTIFY AlarmHighStatusChanged)
    Q_PROPERTY(bool AlarmLowStatus READ AlarmLowStatus NOTIFY AlarmLowStatusChanged)
    Q_PROPERTY(bool WarningHighStatus READ WarningHighStatus NOTIFY WarningHighStatusChanged)
    Q_PROPERTY(bool WarningLowStatus READ WarningLowStatus NOTIFY WarningLowStatusChanged)
    Q_PROPERTY(double AlarmHighVal READ AlarmHighVal WRITE setAlarmHighVal)
    Q_PROPERTY(double AlarmLowVal READ AlarmLowVal WRITE setAlarmLowVal)
    Q_PROPERTY(double WarningHighVal READ WarningHighVal WRITE setWarningHighVal)
    Q_PROPERTY(double WarningLowVal READ WarningLowVal WRITE setWarningLowVal)
    Q_PROPERTY(double Value READ Value WRITE setValue)
    Q_PROPERTY(double MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE setMaxValue)
    // Each colour twice: as a QColor, for a colour chooser, and as the stored value, which
    // also expresses system colours. A QColor write of the colour the stored value already
    // shows keeps the stored value, so a form that lists both, in any order, restores it.
    Q_PROPERTY(QColor backColorTextQColor READ backColorTextQColor WRITE setBackColorTextQColor)
    Q_PROPERTY(quint32 BackColorText READ BackColorText WRITE setBackColorText)
    Q_PROPERTY(
        QColor backColorGraphicQColor READ backColorGraphicQColor WRITE setBackColorGraphicQColor)
    Q_PROPERTY(quint32 BackColorGraphic READ BackColorGraphic WRITE setBackColorGraphic)
    Q_PROPERTY(QColor textQColor READ textQColor WRITE setTextQColor)
    Q_PROPERTY(quint32 TextColor READ TextColor WRITE setTextColor)
    Q_PROPERTY(QColor bordersQColor READ bordersQColor WRITE setBordersQColor)
    Q_PROPERTY(quint32 BordersColor READ BordersColor WRITE setBordersColor)
    Q_PROPERTY(QColor normalQColor READ normalQColor WRITE setNormalQColor)
    Q_PROPERTY(quint32 NormalColor READ NormalColor WRITE setNormalColor)
    Q_PROPERTY(QColor warningQColor READ warningQColor WRITE setWarningQColor)
    Q_PROPERTY(quint32 WarningColor READ WarningColor WRITE setWarningColor)
    Q_PROPERTY(QColor alarmQColor READ alarmQColor WRITE setAlarmQColor)
    Q_PROPERTY(quint32 AlarmColor READ AlarmColor WRITE setAlarmColor)

public:
    // A gauge restored from a property bag, behaving as a control loaded at run time (value
    // writes show at once, colour writes are accepted). The bag holds the properties written
    // before anything could observe the gauge (a read, a connection, polishing or showing it,
    // the event loop), so a gauge that uic or QUiLoader creates comes up exactly as restoring
    // its designed bag would, whatever order the form lists the properties in. No writes: the
    // defaults.
    explicit MervGaugeWidget(QWidget* parent = nullptr);
    // A gauge restored from the bag. Throws merv::RuntimeError when restoring fails.
    explicit MervGaugeWidget(merv::PropertyBag& bag, QWidget* parent = nullptr);
    // A gauge whose control has not started yet: connect to its signals first, then call
    // restore() or createNew(). It paints the design-time layout until then.
    struct Unstarted {};
    MervGaugeWidget(Unstarted, QWidget* parent = nullptr);
    ~MervGaugeWidget() override;

    // Restores the control from the bag (Initialize, ReadProperties, then sizing). Throws
    // merv::RuntimeError from ReadProperties; the control then stays half restored.
    void restore(merv::PropertyBag& bag);
    // The design-time path of a form designer: Initialize, InitProperties with the ambient
    // UserMode given, then sizing. With userMode false the control is in design mode.
    void createNew(bool userMode);
    bool started() const noexcept;

    // Stores the control's properties into the bag (WriteProperties). Throws
    // merv::RuntimeError.
    void store(merv::PropertyBag& bag);

    // Property access by name, converted as an automation host converts; throw
    // merv::RuntimeError (438 for a name the control does not have).
    void putProperty(const QString& name, const QVariant& value);
    QVariant getProperty(const QString& name);

    QString VariableName() const;
    void setVariableName(const QString& vNewName);
    QString EngUnit() const;
    void setEngUnit(const QString& vNewEngUnit);
    int Precision() const;
    void setPrecision(int vNewPrec);
    bool AlarmHighStatus() const;
    bool AlarmLowStatus() const;
    bool WarningHighStatus() const;
    bool WarningLowStatus() const;
    double AlarmHighVal() const;
    void setAlarmHighVal(double vNewAlarmHigh);
    double AlarmLowVal() const;
    void setAlarmLowVal(double vNewAlarmLow);
    double WarningHighVal() const;
    void setWarningHighVal(double vNewWarnHigh);
    double WarningLowVal() const;
    void setWarningLowVal(double vNewWarnLow);
    double Value() const;
    void setValue(double vNewValue);
    double MinValue() const;
    void setMinValue(double vNewMinValue);
    double MaxValue() const;
    void setMaxValue(double vNewMaxValue);
    // Colours are OLE_COLOR values, 0x00BBGGRR. Reading one redraws the dial face, as the
    // control's colour getters do.
    quint32 BackColorText();
    void setBackColorText(quint32 nNewVal);
    quint32 BackColorGraphic();
    void setBackColorGraphic(quint32 nNewVal);
    quint32 TextColor();
    void setTextColor(quint32 nNewVal);
    quint32 BordersColor();
    void setBordersColor(quint32 nNewVal);
    quint32 NormalColor();
    void setNormalColor(quint32 nNewVal);
    quint32 WarningColor();
    void setWarningColor(quint32 nNewVal);
    quint32 AlarmColor();
    void setAlarmColor(quint32 nNewVal);

    // The colour properties as QColors (alpha dropped on writes).
    QColor backColorTextQColor();
    void setBackColorTextQColor(const QColor& color);
    QColor backColorGraphicQColor();
    void setBackColorGraphicQColor(const QColor& color);
    QColor textQColor();
    void setTextQColor(const QColor& color);
    QColor bordersQColor();
    void setBordersQColor(const QColor& color);
    QColor normalQColor();
    void setNormalQColor(const QColor& color);
    QColor warningQColor();
    void setWarningQColor(const QColor& color);
    QColor alarmQColor();
    void setAlarmQColor(const QColor& color);

    // Restores the control from a property-bag file. The whole file is read and checked
    // first: a missing, truncated, non-JSON or wrongly typed file throws merv::BagError
    // (naming the file, the key and what was wrong) and leaves the gauge as it was. Restoring
    // then runs through the setters and may throw merv::RuntimeError.
    void loadBag(const QString& path);
    // Stores the control's properties into a bag file, atomically: a failed save throws
    // merv::BagError and leaves the old file whole.
    void saveBag(const QString& path);

    // What a property browser shows of a gauge property: its help string, empty where it has
    // none, and whether it lists the property at all (not the read-only status flags).
    static QString propertyHelpString(const QString& name);
    static bool isBrowsableProperty(const QString& name);

    // Opens the threshold editor as a double-click on the dial does.
    void openEditor();
    // Whether the threshold editor panel is open.
    bool editorOpen() const;

    // The hosted control, for hosts that reach it through the core's own interfaces.
    merv::MERV_Gauge& control();
    const merv::MERV_Gauge& control() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Where the control's top left corner lies in the widget: the gauge keeps its fixed size
    // and stands centred in whatever room the widget is given.
    QPoint controlOrigin() const;

    // The widget pixels per control pixel the gauge is drawn at, 1 unless set. A zoomed gauge
    // draws as sharply as at that device pixel ratio and takes its input through the zoom; the
    // control's own extent in twips stays as it is. setZoom bounds the factor to the range.
    static constexpr qreal MinimumZoom = 0.25;
    static constexpr qreal MaximumZoom = 8;
    void setZoom(qreal zoom);
    qreal zoom() const;

    // A "Properties…" entry in the gauge's context menu that opens its property sheet; off
    // until an application turns it on.
    void setPropertiesActionEnabled(bool enabled);

public slots:
    // Opens the gauge's property sheet on this gauge, modal, in the gauge's locale.
    void showPropertySheet();

signals:
    void OnAlarmHigh();
    void OnAlarmLow();
    void OnWarningHigh();
    void OnWarningLow();
    // The control reports a changed property, so a host can mark its document dirty.
    void propertyChanged(const QString& name);
    // A property put, a tick or an input that the control failed. The property is empty
    // where no property call failed (a redraw tick, say).
    void runtimeError(int number, const QString& description, const QString& property);
    void AlarmHighStatusChanged(bool status);
    void AlarmLowStatusChanged(bool status);
    void WarningHighStatusChanged(bool status);
    void WarningLowStatusChanged(bool status);

protected:
    bool event(QEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    class Private;
    friend class Private;
    std::unique_ptr<Private> d;
};
