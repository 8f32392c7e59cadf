#pragma once

#include "qt/MervGaugeWidgetSelection.h"

#include "platform/NumberLocale.h"

#include <QPointer>

class QDesignerFormWindowInterface;

// A gauge on a form as an object of the property sheet's selection. Puts go through the form
// window's cursor, so that each is a step of Designer's undo stack and reaches the saved form,
// as an edit in the property editor does.
class FormWindowSelection : public MervGaugeWidgetSelection {
public:
    FormWindowSelection(QDesignerFormWindowInterface& form, MervGaugeWidget& gauge);

    // Errors: those of a widget selection; a text that is no number for a numeric property
    // raises what the control's own conversion raises.
    void putProperty(std::string_view name, const merv::Variant& value) override;

private:
    QPointer<QDesignerFormWindowInterface> m_form;
    merv::NumberLocale m_locale;
};
