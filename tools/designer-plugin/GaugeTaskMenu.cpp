#include "GaugeTaskMenu.h"

#include "FormWindowSelection.h"

#include "qt/MervGaugePropertySheet.h"
#include "qt/MervGaugeWidget.h"

#include <QAction>
#include <QDesignerFormWindowCursorInterface>
#include <QDesignerFormWindowInterface>
#include <QLocale>

#include <memory>
#include <vector>

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
    std::vector<MervGaugeWidget*> gauges{m_gauge};
    QDesignerFormWindowCursorInterface* cursor = form->cursor();
    for (int i = 0; i < cursor->selectedWidgetCount(); ++i) {
        auto* other = qobject_cast<MervGaugeWidget*>(cursor->selectedWidget(i));
        if (other && other != m_gauge)
            gauges.push_back(other);
    }
    std::vector<std::unique_ptr<FormWindowSelection>> objects;
    std::vector<merv::SelectedObject*> selection;
    for (MervGaugeWidget* gauge : gauges) {
        objects.push_back(std::make_unique<FormWindowSelection>(*form, *gauge));
        selection.push_back(objects.back().get());
    }
    MervGaugePropertySheet sheet(form);
    sheet.setLocale(m_gauge->locale());
    sheet.setSelection(std::move(selection));
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
