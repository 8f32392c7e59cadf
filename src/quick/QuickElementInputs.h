#pragma once

#include <mervgauge/private/ElementKeys.h>
#include <mervgauge/private/InputMirror.h>

#include <mervgauge/platform/ElementTree.h>

#include <QList>
#include <QPointF>
#include <QQuickItem>
#include <QString>

#include <map>
#include <memory>

class QObject;
class QQmlEngine;

namespace merv {
class CommandButton;
class TextField;
} // namespace merv

namespace merv::qt {

class GaugePainter;

// Real Qt Quick inputs standing in for the control's text fields and buttons: a TextInput for
// each field, a Button for each command button, children of the host item. They draw nothing
// (the painter draws fields and buttons, as in every view) and take the keys, clicks and
// focus: each mirrors its element (text, selection, focus, font, place, visibility) and hands
// what a person does to the element through the seam every view shares (FieldText.h,
// ElementKeys.h), whose handlers decide what becomes of it.
class QuickElementInputs final : public InputMirror {
public:
    // The inputs for every field and button of the tree, made by the engine; null, with the
    // engine's complaint in `error`, when it could not make them.
    static std::unique_ptr<QuickElementInputs> create(QQuickItem& host, QQmlEngine& engine,
                                                      ElementTree& tree,
                                                      const GaugePainter& painter,
                                                      ControlRunner run, QString& error);
    ~QuickElementInputs();
    // The control's top left corner now stands at the point of the host: each input stands
    // over its element.
    void place(QPointF controlOrigin);
    // Tab or Backtab inside the control: the focus follows the control's focus order. False
    // when the focus is not on the host or one of the control's inputs.
    bool moveFocus(bool next);
    // The inputs of the elements shown now, in the control's focus order: what takes the focus
    // of each.
    QList<QQuickItem*> shownInputs() const;

private:
    class Hooks;
    struct Input {
        Element* element;
        QQuickItem* item;  // what stands over the element: the field's holder, the button
        QObject* focusing; // what takes the focus and the keys: the TextInput, the button
    };
    QuickElementInputs(QQuickItem& host, ElementTree& tree, const GaugePainter& painter,
                       ControlRunner run);
    bool filter(QObject* watched, QEvent* event);
    void syncField(const TextField& field) override;
    void syncButton(const CommandButton& button) override;
    void syncFocus() override;
    void setInputVisible(const Element& element, bool visible) override;
    void setInputName(const TextField& field, const QString& name) override;
    // The element's font, or the application's where it has none.
    void syncFont(QObject& input, const Element& element);
    // A person moved the input's caret or selection: the field takes it.
    void pushSelection(QObject* input);
    const Input* inputOf(const QObject* object) const;

    QQuickItem& m_host;
    ElementTree& m_tree;
    const GaugePainter& m_painter;
    ControlRunner m_run;
    QPointF m_origin;
    // True while an input is being set from its element, so its own signals are not taken
    // for a person's doing.
    bool m_mirroring = false;
    std::map<const Element*, Input> m_inputs;
    std::map<const QObject*, const Element*> m_elementOf;
    std::unique_ptr<Hooks> m_hooks;
};

} // namespace merv::qt
