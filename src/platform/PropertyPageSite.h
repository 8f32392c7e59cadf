#pragma once

#include <mervgauge/platform/ColorDialog.h>
#include <mervgauge/platform/NumberLocale.h>
#include <mervgauge/platform/Variant.h>

#include <cstdint>
#include <string_view>

namespace merv {

// One object of the host's selection, reached only by property name, as late-bound automation
// reaches it. Every failure is a RuntimeError, raised to the caller.
class SelectedObject {
public:
    virtual ~SelectedObject() = default;
    virtual Variant getProperty(std::string_view name) = 0;
    // The object converts the value to the property's type as a host does.
    virtual void putProperty(std::string_view name, const Variant& value) = 0;
};

// What a design-time host offers the property page it shows. The page calls it on the host's
// one user-interface thread; the host delivers SelectionChanged and ApplyChanges to the page.
class PropertyPageSite {
public:
    virtual ~PropertyPageSite() = default;

    // Item `index` of the current selection, null when the selection has no such item (an
    // empty selection has none). Asked afresh at every use: the host owns the selection.
    virtual SelectedObject* selectedControl(int index) = 0;

    // Whether the page holds edits that are not applied yet.
    virtual void setChanged(bool changed) = 0;

    // The user's locale for number conversions.
    virtual const NumberLocale& numberLocale() const = 0;
    // The LCID of the language that resource-string lookups select for the process.
    virtual std::int32_t resourceLanguage() const = 0;

    // The host's colour chooser.
    virtual ColorDialog& colorDialog() = 0;
};

} // namespace merv
