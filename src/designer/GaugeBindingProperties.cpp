#include "GaugeBindingProperties.h"

#include <mervgauge/MervGaugeBinding.h>
#include <mervgauge/MervGaugeWidget.h>

#include <QDesignerDynamicPropertySheetExtension>
#include <QDesignerFormEditorInterface>
#include <QDesignerPropertySheetExtension>
#include <QExtensionManager>

bool addMissingBindingProperties(QDesignerFormEditorInterface* core, QWidget* widget) {
    if (!core || !qobject_cast<MervGaugeWidget*>(widget))
        return false;
    QExtensionManager* manager = core->extensionManager();
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(manager, widget);
    auto* dynamic = qt_extension<QDesignerDynamicPropertySheetExtension*>(manager, widget);
    if (!sheet || !dynamic || !dynamic->dynamicPropertiesAllowed())
        return false;
    const struct {
        const char* name;
        QVariant defaultValue;
    } binding[] = {
        {MervGaugeBinding::TagProperty, QString()},
        {MervGaugeBinding::StaleMsProperty, MervGaugeBinding::DefaultStaleMs},
    };
    bool complete = true;
    for (const auto& [name, defaultValue] : binding) {
        const QString property = QString::fromLatin1(name);
        // A dynamic property removed in the property editor stays in the sheet, hidden.
        const int index = sheet->indexOf(property);
        if (index >= 0 && dynamic->isDynamicProperty(index) && sheet->isVisible(index))
            continue;
        const int added = dynamic->addDynamicProperty(property, defaultValue);
        if (added < 0) {
            complete = false;
            continue;
        }
        // The sheet keeps the value as its own (a text as Designer's string value) but leaves
        // the gauge without the property, which the task menu reads; the gauge gets it here.
        widget->setProperty(name, defaultValue);
    }
    return complete;
}
