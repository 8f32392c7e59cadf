#include <mervgauge/MervGaugePropertySheet.h>

#include "MervGaugePropertySheet_p.h"

#include "MervGaugePropertyPage.h"
#include "MervGaugeWidgetSelection.h"
#include "QtColorDialog.h"
#include <mervgauge/private/QtLocale.h>

#include <mervgauge/platform/PropertyPageSite.h>
#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/propertypage/PropertyPage1.h>

#include <QDialogButtonBox>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <functional>
#include <memory>
#include <optional>
#include <string>

using namespace merv;

namespace {

// Item 0 as the page reaches it, remembering the property it was last asked for, so that a
// failure can name it.
class TracedObject : public SelectedObject {
public:
    SelectedObject* inner = nullptr;
    std::string property;

    Variant getProperty(std::string_view name) override {
        property = name;
        return inner->getProperty(name);
    }
    void putProperty(std::string_view name, const Variant& value) override {
        property = name;
        inner->putProperty(name, value);
    }
};

// The chooser the page is given once, handing each call to whichever chooser the sheet has
// now: a host may set its own after the page was built.
class ChosenColorDialog : public ColorDialog {
public:
    explicit ChosenColorDialog(std::function<ColorDialog&()> current)
        : m_current(std::move(current)) {}
    void setFlags(std::int32_t flags) override { m_current().setFlags(flags); }
    std::uint32_t Color() const override { return m_current().Color(); }
    void setColor(std::uint32_t color) override { m_current().setColor(color); }
    void ShowColor() override { m_current().ShowColor(); }

private:
    std::function<ColorDialog&()> m_current;
};

} // namespace

// The sheet's internals, not part of the library's interface.
class MERVGAUGE_QT_NO_EXPORT MervGaugePropertySheet::Private : public PropertyPageSite {
public:
    explicit Private(MervGaugePropertySheet& q);

    SelectedObject* selectedControl(int index) override;
    void setChanged(bool changed) override;
    const NumberLocale& numberLocale() const override { return numbers; }
    std::int32_t resourceLanguage() const override { return language; }
    ColorDialog& colorDialog() override { return chosen; }

    void load();
    // Shows one message for a failure at the traced property.
    void report(const QString& what, const RuntimeError& error);

    MervGaugePropertySheet& q;
    qt::QtColorDialog ownChooser;
    ColorDialog* chooser = nullptr;
    ChosenColorDialog chosen{[this]() -> ColorDialog& { return chooser ? *chooser : ownChooser; }};
    NumberLocale numbers;
    std::int32_t language;
    std::vector<SelectedObject*> selection;
    std::vector<std::unique_ptr<MervGaugeWidgetSelection>> gauges; // for setGauges
    TracedObject traced;
    bool changed = false;
    MervGaugePropertyPage* page = nullptr;
    QDialogButtonBox* buttons = nullptr;
};

MervGaugePropertySheet::Private::Private(MervGaugePropertySheet& sheet)
    : q(sheet), ownChooser(sheet), numbers(qt::numberLocaleOf(sheet.locale())),
      language(qt::lcidOf(sheet.locale())) {}

SelectedObject* MervGaugePropertySheet::Private::selectedControl(int index) {
    if (index < 0 || std::size_t(index) >= selection.size())
        return nullptr;
    if (index > 0)
        return selection[std::size_t(index)];
    traced.inner = selection.front();
    return &traced;
}

void MervGaugePropertySheet::Private::setChanged(bool value) {
    changed = value;
    if (buttons)
        buttons->button(QDialogButtonBox::Apply)->setEnabled(value);
}

void MervGaugePropertySheet::Private::load() {
    try {
        page->selectionChanged();
    } catch (const RuntimeError& error) {
        report(MervGaugePropertySheet::tr("%1 could not be read: run-time error %2, %3."), error);
    }
}

void MervGaugePropertySheet::Private::report(const QString& what, const RuntimeError& error) {
    QMessageBox::warning(&q, q.windowTitle(),
                         what.arg(QString::fromStdString(traced.property))
                             .arg(error.number())
                             .arg(QString::fromStdString(error.description())));
}

MervGaugePropertySheet::MervGaugePropertySheet(QWidget* parent)
    : QDialog(parent), d(std::make_unique<Private>(*this)) {
    // The sheet is the window; the page keeps its own caption as the page's title, as a sheet
    // of several pages would show it on the page's tab.
    setWindowTitle(tr("Gauge Properties"));
    d->page = new MervGaugePropertyPage(*d, this);
    d->page->setWindowTitle(
        QString::fromUtf8(PropertyPage1::Caption.data(), qsizetype(PropertyPage1::Caption.size())));
    d->buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(d->page);
    layout->addWidget(d->buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    d->setChanged(false);
    connect(d->buttons, &QDialogButtonBox::accepted, this, &MervGaugePropertySheet::accept);
    connect(d->buttons, &QDialogButtonBox::rejected, this, &MervGaugePropertySheet::reject);
    connect(d->buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &MervGaugePropertySheet::apply);
    connect(d->page, &MervGaugePropertyPage::runtimeError, this,
            [this](int number, const QString& description) {
                QMessageBox::warning(this, windowTitle(),
                                     tr("Run-time error %1, %2.").arg(number).arg(description));
            });
}

MervGaugePropertySheet::~MervGaugePropertySheet() = default;

void MervGaugePropertySheetAccess::setSelection(MervGaugePropertySheet& sheet,
                                                std::vector<SelectedObject*> selection) {
    sheet.d->selection = std::move(selection);
    if (sheet.isVisible())
        sheet.d->load();
}

void MervGaugePropertySheetAccess::setColorChooser(MervGaugePropertySheet& sheet,
                                                   ColorDialog* chooser) {
    sheet.d->chooser = chooser;
}

MervGaugePropertyPage& MervGaugePropertySheetAccess::page(MervGaugePropertySheet& sheet) {
    return *sheet.d->page;
}

void MervGaugePropertySheet::setGauges(const QList<MervGaugeWidget*>& gauges,
                                       PropertyWriter writer) {
    std::vector<std::unique_ptr<MervGaugeWidgetSelection>> objects;
    std::vector<SelectedObject*> selection;
    for (MervGaugeWidget* gauge : gauges) {
        objects.push_back(std::make_unique<MervGaugeWidgetSelection>(*gauge, writer));
        selection.push_back(objects.back().get());
    }
    MervGaugePropertySheetAccess::setSelection(*this, std::move(selection));
    d->gauges = std::move(objects);
}

bool MervGaugePropertySheet::isChanged() const {
    return d->changed;
}

bool MervGaugePropertySheet::apply() {
    try {
        d->page->applyChanges();
    } catch (const RuntimeError& error) {
        d->report(tr("%1 could not be set: run-time error %2, %3.\n"
                     "The properties before it were applied; %1 and those after it were not."),
                  error);
        return false;
    }
    // The page leaves the flag to its host: what was applied is no longer an edit.
    d->setChanged(false);
    emit applied();
    return true;
}

QPushButton* MervGaugePropertySheet::applyButton() const {
    return d->buttons->button(QDialogButtonBox::Apply);
}

void MervGaugePropertySheet::accept() {
    if (apply())
        QDialog::accept();
}

void MervGaugePropertySheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        d->load();
}

void MervGaugePropertySheet::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        // Numbers follow at once; captions at the next load, as the page loads them.
        d->numbers = qt::numberLocaleOf(locale());
        d->language = qt::lcidOf(locale());
    }
    QDialog::changeEvent(event);
}
