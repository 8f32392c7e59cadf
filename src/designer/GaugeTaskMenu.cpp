#include "GaugeTaskMenu.h"

#include "BindTagDialog.h"
#include "GaugeBindingProperties.h"

#include <mervgauge/MervGaugeBinding.h>
#include <mervgauge/MervGaugePropertySheet.h>
#include <mervgauge/MervGaugeWidget.h>

#include <QAction>
#include <QDesignerFormEditorInterface>
#include <QDesignerFormWindowCursorInterface>
#include <QDesignerFormWindowInterface>
#include <QLocale>
#include <QPointer>

GaugeTaskMenu::GaugeTaskMenu(MervGaugeWidget* gauge, QObject* parent)
    : QObject(parent), m_gauge(gauge), m_edit(new QAction(tr("Edit Gauge Properties…"), this)),
      m_bind(new QAction(tr("Bind to Tag…"), this)) {
    connect(m_edit, &QAction::triggered, this, &GaugeTaskMenu::editProperties);
    connect(m_bind, &QAction::triggered, this, &GaugeTaskMenu::bindToTag);
}

QAction* GaugeTaskMenu::preferredEditAction() const {
    return m_edit;
}

QList<QAction*> GaugeTaskMenu::taskActions() const {
    return {m_edit, m_bind};
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

void GaugeTaskMenu::bindToTag() {
    QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(m_gauge);
    if (!form)
        return; // a gauge in the widget box, not on a form
    // Every gauge on a form has them once it is managed; one that somehow has not gets them
    // here, or the writes below would fall on properties the sheet does not know.
    if (!addMissingBindingProperties(form->core(), m_gauge))
        return;
    BindTagDialog dialog(m_gauge->VariableName(), form);
    dialog.setTag(m_gauge->property(MervGaugeBinding::TagProperty).toString());
    bool known = false;
    const int staleMs = m_gauge->property(MervGaugeBinding::StaleMsProperty).toInt(&known);
    dialog.setStaleMs(known ? staleMs : MervGaugeBinding::DefaultStaleMs);
    QPointer<QDesignerFormWindowInterface> window(form);
    QPointer<MervGaugeWidget> gauge(m_gauge);
    if (dialog.exec() != QDialog::Accepted || !window || !gauge)
        return;
    if (dialog.tag() == gauge->property(MervGaugeBinding::TagProperty).toString() && known &&
        dialog.staleMs() == staleMs)
        return; // an unchanged binding is no step of the undo stack
    // Both through the cursor, as one step: one undo restores the tag and the stale time.
    window->beginCommand(tr("Bind to Tag"));
    QDesignerFormWindowCursorInterface* cursor = window->cursor();
    cursor->setWidgetProperty(gauge, QString::fromLatin1(MervGaugeBinding::TagProperty),
                              dialog.tag());
    cursor->setWidgetProperty(gauge, QString::fromLatin1(MervGaugeBinding::StaleMsProperty),
                              dialog.staleMs());
    window->endCommand();
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
