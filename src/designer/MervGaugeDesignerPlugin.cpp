#include "MervGaugeDesignerPlugin.h"

#include "GaugeBindingProperties.h"
#include "GaugeTaskMenu.h"

#include <mervgauge/MervGaugeWidget.h>

#include <QDesignerFormEditorInterface>
#include <QDesignerFormWindowInterface>
#include <QDesignerFormWindowManagerInterface>
#include <QDesignerPropertySheetExtension>
#include <QExtensionManager>
#include <QMetaProperty>
#include <QPainter>
#include <QPixmap>

namespace {

// The widget box picture: 16 by 15 pixels, as the control's own toolbox picture.
constexpr int IconWidth = 16;
constexpr int IconHeight = 15;

// A small gauge: a grey half dial with a red, yellow and green scale and a black needle.
QIcon gaugeIcon() {
    QPixmap pixmap(IconWidth, IconHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF dial(1.5, 2.5, 13, 13); // the half ring's circle, centre (8, 9)
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(QColor(192, 192, 192));
    p.drawChord(dial, 0, 180 * 16);
    // Qt angles are sixteenths of a degree, counter-clockwise from the right.
    const struct {
        int start, span;
        QColor color;
    } zones[] = {{135, 45, Qt::red}, {45, 90, QColor(0, 176, 0)}, {0, 45, Qt::red}};
    for (const auto& z : zones) {
        p.setPen(QPen(z.color, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(dial.adjusted(1.5, 1.5, -1.5, -1.5), z.start * 16, z.span * 16);
    }
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 9), QPointF(11.5, 4.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(8, 9), 1.3, 1.3);
    p.fillRect(QRectF(1, 11, 14, 3), Qt::white);
    p.setPen(QColor(96, 96, 96));
    p.drawRect(QRectF(1.5, 10.5, 13, 4));
    return QIcon(pixmap);
}

// Whether the property is one of the gauge's own, not one of QWidget's.
bool isGaugeProperty(const QString& name) {
    const QMetaObject& meta = MervGaugeWidget::staticMetaObject;
    return meta.indexOfProperty(name.toUtf8().constData()) >= meta.propertyOffset();
}

// The status properties are not browsable: Designer's property editor leaves them out.
void hideNonBrowsable(QDesignerFormEditorInterface* core, QWidget* widget) {
    if (!qobject_cast<MervGaugeWidget*>(widget))
        return;
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(core->extensionManager(), widget);
    if (!sheet)
        return;
    for (int i = 0; i < sheet->count(); ++i) {
        const QString name = sheet->propertyName(i);
        if (!isGaugeProperty(name))
            continue;
        if (!MervGaugeWidget::isBrowsableProperty(name))
            sheet->setVisible(i, false);
    }
}

} // namespace

MervGaugeDesignerPlugin::MervGaugeDesignerPlugin(QObject* parent) : QObject(parent) {}

QString MervGaugeDesignerPlugin::name() const {
    return QStringLiteral("MervGaugeWidget");
}

QString MervGaugeDesignerPlugin::group() const {
    return QStringLiteral("MERVGauge");
}

QString MervGaugeDesignerPlugin::toolTip() const {
    return tr("Analog gauge for one process variable");
}

QString MervGaugeDesignerPlugin::whatsThis() const {
    return tr("An analog gauge: one process variable on a half-ring dial with five coloured "
              "zones, a needle, scale labels and the value with its unit. It raises an event "
              "when the value enters an alarm or warning range. Right-click it and choose "
              "\"Edit Gauge Properties…\" for its property page, or \"Bind to Tag…\" for "
              "the tag that feeds it on the operator panel.");
}

QString MervGaugeDesignerPlugin::includeFile() const {
    return QStringLiteral("<mervgauge/MervGaugeWidget.h>");
}

QIcon MervGaugeDesignerPlugin::icon() const {
    return gaugeIcon();
}

bool MervGaugeDesignerPlugin::isContainer() const {
    return false;
}

QString MervGaugeDesignerPlugin::domXml() const {
    // The property editor's tooltips: the help strings of the property table, and for each
    // colour how its two properties relate.
    QString tooltips;
    auto addTooltip = [&](const QString& name, const QString& text) {
        tooltips += QStringLiteral("        <tooltip name=\"%1\">%2</tooltip>\n")
                        .arg(name, text.toHtmlEscaped());
    };
    const QMetaObject& meta = MervGaugeWidget::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        const QString name = QString::fromLatin1(property.name());
        if (property.typeId() == QMetaType::QColor) {
            addTooltip(name, tr("The colour as a colour chooser shows it; system colours show "
                                "as the palette gives them."));
            continue;
        }
        if (!MervGaugeWidget::isBrowsableProperty(name))
            continue;
        if (property.typeId() == QMetaType::UInt) {
            addTooltip(name, tr("The stored colour value, 0x00BBGGRR (red in the low byte); "
                                "0x80000000 plus an index is a system colour, such as "
                                "2147483663 (0x8000000F) for the button face."));
        } else if (const QString help = MervGaugeWidget::propertyHelpString(name);
                   !help.isEmpty()) {
            addTooltip(name, help);
        }
    }
    return QStringLiteral("<ui language=\"c++\" displayname=\"MERVGauge\">\n"
                          "  <widget class=\"MervGaugeWidget\" name=\"gauge\"/>\n"
                          "  <customwidgets>\n"
                          "    <customwidget>\n"
                          "      <class>MervGaugeWidget</class>\n"
                          "      <propertyspecifications>\n"
                          "%1"
                          "      </propertyspecifications>\n"
                          "    </customwidget>\n"
                          "  </customwidgets>\n"
                          "</ui>\n")
        .arg(tooltips);
}

QWidget* MervGaugeDesignerPlugin::createWidget(QWidget* parent) {
    // A form loaded at run time (QUiLoader) gets restored gauges: the designed properties the
    // loader then sets are restored together, in the persisted order, as from a bag.
    if (!m_core)
        return new MervGaugeWidget(parent);
    // A new instance on a form: Initialize, then InitProperties with ambient UserMode false.
    auto* gauge = new MervGaugeWidget(MervGaugeWidget::Unstarted{}, parent);
    gauge->createNew(false);
    return gauge;
}

bool MervGaugeDesignerPlugin::isInitialized() const {
    return m_initialized;
}

void MervGaugeDesignerPlugin::initialize(QDesignerFormEditorInterface* core) {
    if (m_initialized)
        return;
    m_initialized = true;
    m_core = core;
    if (!core)
        return;
    if (QExtensionManager* manager = core->extensionManager())
        manager->registerExtensions(new GaugeTaskMenuFactory(manager),
                                    Q_TYPEID(QDesignerTaskMenuExtension));
    QDesignerFormWindowManagerInterface* windows = core->formWindowManager();
    if (!windows)
        return;
    connect(windows, &QDesignerFormWindowManagerInterface::formWindowAdded, this,
            [core](QDesignerFormWindowInterface* form) {
                connect(form, &QDesignerFormWindowInterface::widgetManaged, form,
                        [core](QWidget* widget) {
                            hideNonBrowsable(core, widget);
                            // Here rather than in the widget box's XML: a form is managed
                            // both when a gauge is dropped and when a form saved before the
                            // binding is opened, and Designer saves dynamic properties even
                            // at their defaults, so every saved gauge then has its binding.
                            addMissingBindingProperties(core, widget);
                        });
            });
}
