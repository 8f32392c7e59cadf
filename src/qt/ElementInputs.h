#pragma once

#include "TextFieldEdit.h"

#include <mervgauge/private/ElementKeys.h>
#include <mervgauge/private/InputMirror.h>

#include <mervgauge/platform/ElementTree.h>

#include <QTransform>

#include <functional>
#include <map>
#include <memory>

class QEvent;
class QLineEdit;
class QObject;
class QPushButton;
class QWidget;

namespace merv {
class CommandButton;
class TextField;
} // namespace merv

namespace merv::qt {

class GaugePainter;

// Real Qt inputs standing in for the control's text fields and buttons: each mirrors its
// element (text, selection, focus, colours, font, place, visibility) and hands what a person
// does to the element, whose handlers decide what becomes of it. Nothing typed reaches a line
// edit's own text: the element's text is the one truth, shown back at once. The inputs are
// made when one of them is first shown or focused: a panel of a thousand gauges whose editors
// stay closed makes none.
class ElementInputs final : public InputMirror {
public:
    // Runs a call into the control, reporting its errors.
    using Runner = ControlRunner;

    // The inputs, once made, are children of the host widget.
    ElementInputs(QWidget& host, ElementTree& tree, const GaugePainter& painter, Runner run);
    ~ElementInputs();

    // The control now stands in the host widget where the transform (a translation and a zoom)
    // puts it: each input stands over its element, its text at the zoom.
    void place(const QTransform& controlToHost);
    // Tab or Backtab inside the control: the focus follows the control's focus order. False
    // when the focus is not on one of the control's inputs.
    bool moveFocus(bool next);

private:
    class EventFilter;
    // Makes every input, each set from its element; once.
    void makeInputs();
    void place(const QTransform& controlToHost, bool rezoomed);
    // Handles an event of one of the inputs; true when it was taken.
    bool filter(QObject* watched, QEvent* event);
    void syncField(const TextField& field) override;
    void syncButton(const CommandButton& button) override;
    void syncFocus() override;
    void setInputVisible(const Element& element, bool visible) override;
    void setInputName(const TextField& field, const QString& name) override;
    // The input's font: its element's, or the host's, at the zoom.
    void syncFont(QWidget& input, const Element& element);
    // A person moved the line edit's caret or selection: the field takes it.
    void pushSelection(const TextFieldEdit& bound);

    QWidget& m_host;
    ElementTree& m_tree;
    const GaugePainter& m_painter;
    Runner m_run;
    QTransform m_controlToHost;
    // True while an input is being set from its element, so its own signals are not taken
    // for a person's doing.
    bool m_mirroring = false;
    bool m_made = false;
    std::map<const TextField*, TextFieldEdit> m_fields;
    std::map<const CommandButton*, QPushButton*> m_buttons;
    std::map<QObject*, Element*> m_elementOf;
    std::unique_ptr<EventFilter> m_filter;
};

} // namespace merv::qt
