#pragma once

#include <mervgauge/platform/ElementTree.h>

#include <QString>

#include <set>
#include <vector>

namespace merv {
class CommandButton;
class TextField;
} // namespace merv

namespace merv::qt {

// What every view's real inputs for the control's text fields and buttons follow of their
// elements: which input a change reaches, what shows and hides, the names screen readers
// read, and the hidden fields whose inputs are brought up to date only once shown. A view
// makes one input for every field and button of the tree and says how each is set.
class InputMirror {
public:
    InputMirror(const InputMirror&) = delete;
    InputMirror& operator=(const InputMirror&) = delete;

    // The element changed: the input that shows it follows.
    void elementChanged(const Element& element, ElementChange change);
    // Whether the element is one a view makes an input for: a text field or a button.
    static bool hasInput(const Element& element) noexcept;
    // Whether an element with an input shows now (a form's own inputs, an open editor's): a
    // view makes its inputs only then.
    static bool anyInputShown(const ElementTree& tree) noexcept;
    // The elements with an input that show now, as the focus walks them (by tab index, those
    // of one index in the tree's order): the order screen readers list the inputs in.
    static std::vector<const Element*> shownInFocusOrder(const ElementTree& tree);

protected:
    explicit InputMirror(const ElementTree& tree) noexcept : m_tree(tree) {}
    ~InputMirror() = default;

    // Shows or hides every input as its element is shown, a field's text brought up to date
    // first where it fell behind while hidden.
    void syncVisibility();
    // Names each field after the label that captions it; only the fields that label captions
    // when one label changed.
    void syncCaptions(const Element* recaptioned = nullptr);

    virtual void syncField(const TextField& field) = 0;
    virtual void syncButton(const CommandButton& button) = 0;
    virtual void syncFocus() = 0;
    virtual void setInputVisible(const Element& element, bool visible) = 0;
    virtual void setInputName(const TextField& field, const QString& name) = 0;

private:
    const ElementTree& m_tree;
    // Hidden fields whose inputs no longer show their text.
    std::set<const TextField*> m_stale;
};

} // namespace merv::qt
