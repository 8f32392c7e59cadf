#include "GaugeTaskMenu.h"

#include <mervgauge/MervGaugePropertySheet.h>
#include <mervgauge/MervGaugeWidget.h>

#include <QAction>
#include <QDesignerFormWindowCursorInterface>
#include <QDesignerFormWindowInterface>
#include <QLocale>
#include <QPointer>

GaugeTaskMenu::GaugeTaskMenu(MervGaugeWidget* gauge, QObject* parent)
    : QObject(parent), m_gauge(gauge), m_edit(new QAction(tr("Edit Gauge Properties…"), this)) {
    connect(m_edit, &QAction::triggered, this, &GaugeTaskMenu::editProperties);
}

QAction* GaugeTaskMenu::preferredEditAction() const {
    return m_edit;
}

QList<QAction*> GaugeTaskMenu::taskActions() const {
    return {m_edit};
}

void GaugeTaskMenu::editProperties() {
    QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(m_gauge);
    if (!form)
        return; // a gauge in the widget box, not on a form
    // The gauge clicked comes first; the other selected gauges follow and are not written.
    QList<MervGaugeWidget*> gauges{m_gauge};
    QDesignerFormWindowCursorInterface* cursor = form->cursor();
    for (int i = 0; i < cursor->selectedWidgetCount(); ++i) {
        auto* other = qobject_cast<MervGaugeWidget*>(cursor->selectedWidget(i));
        if (other && other != m_gauge)
            gauges.push_back(other);
    }
    MervGaugePropertySheet sheet(form);
    sheet.setLocale(m_gauge->locale());
    // Puts go through the form window's cursor, so that each is a step of Designer's undo
    // stack and reaches the saved form, as an edit in the property editor does.
    QPointer<QDesignerFormWindowInterface> window(form);
    sheet.setGauges(gauges,
                    [window](MervGaugeWidget& gauge, const QString& name, const QVariant& value) {
                        if (!window)
                            return tr("The form is no longer open.");
                        window->cursor()->setWidgetProperty(&gauge, name, value);
                        return QString();
                    });
    // What the sheet writes while it is open is one step of the undo stack.
    form->beginCommand(tr("Edit Gauge Properties"));
    sheet.exec();
    form->endCommand();
}

GaugeTaskMenuFactory::GaugeTaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}

QObject* GaugeTaskMenuFactory::createExtension(QObject* object, const QString& iid,
                                               QObject* parent) const {
    if (iid != Q_TYPEID(QDesignerTaskMenuExtension))
        return nullptr;
    if (auto* gauge = qobject_cast<MervGaugeWidget*>(object))
        return new GaugeTaskMenu(gauge, parent);
    return nullptr;
}
