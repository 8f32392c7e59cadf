#pragma once

#include "panel/Form.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A screen drawn in a form designer (a .ui file) as a panel form: its gauges, each with the
// binding the designer gave it (MervGaugeBinding.h), make the form; everything else on the
// screen shows as it was drawn. The source may stand on the screen's top-level widget as the
// dynamic properties "source", "sourceCaFile", "sourceCertFile", "sourceKeyFile", "sourceUser"
// and "sourcePasswordFile".
namespace merv::panel {

struct DesignedForm {
    Form form;    // every gauge named by its object name, in the order the file lists them
    QString text; // the file as read: a save edits it in place
};

// Whether the file is a designed form (.ui) rather than a grid form (.json).
bool isDesignedForm(const std::filesystem::path& path);

// Reads and checks a designed form as loadForm does a grid form. Every fault throws BagError
// naming the file, the gauge by its object name and the property
// ("gauge drumLevel (Drum level): AlarmHighVal"); nothing of a bad form is returned.
DesignedForm loadDesignedForm(const std::filesystem::path& path);
DesignedForm readDesignedForm(const QString& text, const std::string& file);

// The designed form's text with each gauge's properties as `now` holds them (now's gauges are
// the designed ones, in their order). Only properties whose value changed are written; the
// value a gauge shows is left out, a live value being no design. Every other character of the
// file stays as it was. Throws BagError when `now` does not match the designed gauges.
QString designedFormText(const DesignedForm& designed, const Form& now, const std::string& file);
// Writes that text atomically; the old file stays whole when the save fails. Returns the form
// as saved, for the next save to compare with.
DesignedForm saveDesignedForm(const std::filesystem::path& path, const DesignedForm& designed,
                              const Form& now);

// A form whose pages may be screens drawn in a form designer: a page {"title": ..., "ui":
// "boiler.ui"} shows the screen of that file (beside the form where the path is relative), and
// the designed gauges of the file are the page's. The screen's own title and source give way
// to the form's.
struct PagedForm {
    Form form; // every gauge of every page, page by page
    // By page, the designed form of each designed page as read or last saved; none for a grid
    // page. Empty for a form without designed pages.
    std::vector<std::optional<DesignedForm>> designedPages;
};

// A designed form alone as a form of one designed page, shown without tabs.
PagedForm asPagedForm(DesignedForm designed);
// Where the designed page's .ui is for the form at formPath.
std::filesystem::path designedPageFile(const std::filesystem::path& formPath, const FormPage& page);

// Reads and checks a grid form with the screens of its designed pages, as loadForm does. A
// fault in a screen throws BagError naming that .ui file; one between the pages (a tag two
// pages read) names the form.
PagedForm loadPagedForm(const std::filesystem::path& path);
// Writes each designed page's .ui (beside the form at path) with its gauges' properties as
// `now` holds them, as saveDesignedForm does against the page as read or last saved, then the
// form; each file is written atomically.
// Returns the form as saved.
PagedForm savePagedForm(const std::filesystem::path& path,
                        const std::vector<std::optional<DesignedForm>>& designedPages,
                        const Form& now);

// A grid form as a designed one: a grid layout of gauges in their rows and columns, each bound
// to its tag, under a top-level widget that names the form's source.
QString designedFormOf(const Form& form);
// Writes that atomically, as saveForm. A .ui holds one screen: a form of pages is refused.
void exportDesignedForm(const std::filesystem::path& path, const Form& form);

} // namespace merv::panel
