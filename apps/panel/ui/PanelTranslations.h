#pragma once

class QLocale;

namespace merv::panel {

// Which translations installTranslations found for a locale. English, the language the
// panel's texts are written in, has none and needs none.
struct InstalledTranslations {
    bool panel = false; // the panel's own, built into the program
    bool qt = false;    // Qt's own (its dialogs' buttons and the like), from Qt's installation
};

// Puts the panel's texts and Qt's own in the language of locale, in place of any installed
// before: the program calls it at start with the system's locale.
InstalledTranslations installTranslations(const QLocale& locale);

} // namespace merv::panel
