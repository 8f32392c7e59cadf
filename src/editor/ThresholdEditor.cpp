#include <mervgauge/editor/ThresholdEditor.h>

#include <mervgauge/platform/Conversions.h>
#include <mervgauge/platform/Keyboard.h>

#include <optional>

namespace merv {

namespace {
// The interval of the redraw that an accepted OK schedules, in milliseconds.
constexpr int AcceptedRedrawInterval = 5;
} // namespace

ThresholdEditor::ThresholdEditor(const GaugeElements& ui, const ContainerSite& site)
    : m_ui(ui), m_site(site) {
    for (Element* source : std::initializer_list<Element*>{
             &m_ui.Sfondo, &m_ui.Centro, &m_ui.Minimo, &m_ui.Venti, &m_ui.Quaranta, &m_ui.Sessanta,
             &m_ui.Ottanta, &m_ui.Massimo, &m_ui.userControl})
        source->onDblClick = [this] { openPanel(); };

    struct Field {
        TextField& field;
        const float& saved;
    };
    for (const Field& f :
         {Field{m_ui.AlarmH, m_SavedAlarmHigh}, Field{m_ui.WarningH, m_SavedWarningHigh},
          Field{m_ui.WarningL, m_SavedWarningLow}, Field{m_ui.AlarmL, m_SavedAlarmLow}}) {
        TextField* field = &f.field;
        const float* saved = &f.saved;
        field->onGotFocus = [field] { field->selectAll(); };
        field->onKeyPress = [this, field](int& keyAscii) { field_KeyPress(*field, keyAscii); };
        field->onChange = [this, field, saved] { field_Change(*field, *saved); };
    }
    m_ui.OKAl.onClick = [this] { OKAl_Click(); };
}

bool ThresholdEditor::isOpen() const noexcept {
    return m_ui.SfondoAl.visible();
}

void ThresholdEditor::capture(const TextField& field, float& saved) const {
    // A numeric text beyond the single range: the field keeps its earlier restore target.
    if (const std::optional<float> value =
            convert::tryTextToSingle(field.text(), m_site.numberLocale()))
        saved = *value;
}

void ThresholdEditor::openPanel() {
    m_ui.InitTimer.setEnabled(false);
    for (Label* caption : {&m_ui.AH, &m_ui.AL, &m_ui.WH, &m_ui.WL})
        caption->setVisible(true);
    for (TextField* field : {&m_ui.AlarmH, &m_ui.AlarmL, &m_ui.WarningH, &m_ui.WarningL})
        field->setVisible(true);
    m_ui.SfondoAl.setVisible(true);
    m_ui.OKAl.setVisible(true);
    m_ui.LineValore.setVisible(false);
    m_ui.Centro.setVisible(false);
    capture(m_ui.AlarmL, m_SavedAlarmLow);
    capture(m_ui.AlarmH, m_SavedAlarmHigh);
    capture(m_ui.WarningL, m_SavedWarningLow);
    capture(m_ui.WarningH, m_SavedWarningHigh);
    m_ui.AlarmH.setFocus();
}

void ThresholdEditor::field_KeyPress(TextField& field, int keyAscii) {
    // Enter moves the focus to the next field.
    if (keyAscii != KeyAscii::Enter)
        return;
    if (&field == &m_ui.AlarmH)
        m_ui.WarningH.setFocus();
    else if (&field == &m_ui.WarningH)
        m_ui.WarningL.setFocus();
    else if (&field == &m_ui.WarningL)
        m_ui.AlarmL.setFocus();
    else if (&field == &m_ui.AlarmL)
        m_ui.OKAl.setFocus();
}

void ThresholdEditor::field_Change(TextField& field, const float& saved) {
    // A text that is not a number never stays: the field goes back to its saved value, and
    // the write runs this guard again, which then finds a number.
    if (!convert::isNumeric(field.text(), m_site.numberLocale()))
        field.setText(convert::singleToText(saved, m_site.numberLocale()));
}

bool ThresholdEditor::thresholdsInOrder() const {
    const NumberLocale& locale = m_site.numberLocale();
    // A number beyond the single range cannot be placed on the scale: out of order.
    const auto single = [&](const std::string& text) {
        return convert::tryTextToSingle(text, locale);
    };
    const auto alarmHigh = single(m_ui.AlarmH.text());
    const auto warningHigh = single(m_ui.WarningH.text());
    const auto warningLow = single(m_ui.WarningL.text());
    const auto alarmLow = single(m_ui.AlarmL.text());
    const auto minimum = single(m_ui.Minimo.caption());
    const auto maximum = single(m_ui.Massimo.caption());
    if (!alarmHigh || !warningHigh || !warningLow || !alarmLow || !minimum || !maximum)
        return false;
    return *alarmHigh <= *maximum && *warningHigh <= *alarmHigh && *warningLow <= *warningHigh &&
           *alarmLow <= *warningLow && *minimum <= *alarmLow;
}

void ThresholdEditor::restoreFields() {
    const NumberLocale& locale = m_site.numberLocale();
    m_ui.AlarmL.setText(convert::singleToText(m_SavedAlarmLow, locale));
    m_ui.AlarmH.setText(convert::singleToText(m_SavedAlarmHigh, locale));
    m_ui.WarningL.setText(convert::singleToText(m_SavedWarningLow, locale));
    m_ui.WarningH.setText(convert::singleToText(m_SavedWarningHigh, locale));
}

void ThresholdEditor::OKAl_Click() {
    if (!thresholdsInOrder()) {
        restoreFields();
        return;
    }
    m_ui.OKAl.setVisible(false);
    m_ui.Sfondo.cls();
    m_ui.InitTimer.setInterval(AcceptedRedrawInterval);
    m_ui.InitTimer.setEnabled(true);
    m_ui.LineValore.setVisible(true);
    m_ui.Centro.setVisible(true);
    m_ui.SfondoAl.setVisible(false);
}

} // namespace merv
