#pragma once

#include <mervgauge/MervGaugeWidget.h>

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class MervGaugePropertyPage;
class QPushButton;

namespace merv {
class ColorDialog;
class SelectedObject;
} // namespace merv

// The gauge's property sheet: the property page with OK, Cancel and Apply, over a selection
// of one or several gauges of which the first is loaded and written. The sheet is the page's
// design-time host: it raises SelectionChanged when it is shown and when its selection
// changes, and ApplyChanges on Apply and OK. Captions and numbers follow the sheet's locale.
class MERVGAUGE_QT_EXPORT MervGaugePropertySheet : public QDialog {
    Q_OBJECT

public:
    // `chooser` is the colour chooser the swatches open, kept by the caller; without one the
    // sheet opens a QColorDialog.
    explicit MervGaugePropertySheet(QWidget* parent = nullptr,
                                    merv::ColorDialog* chooser = nullptr);
    ~MervGaugePropertySheet() override;

    // The objects the sheet edits, item 0 first, reached by property name; the caller keeps
    // them alive while they are selected. A shown sheet loads item 0 at once.
    void setSelection(std::vector<merv::SelectedObject*> selection);
    // How the sheet writes a property of a gauge, the value in the Qt property's type: a form
    // designer writes through its undo stack. Returns why it could not write, empty when it
    // wrote.
    using PropertyWriter =
        std::function<QString(MervGaugeWidget& gauge, const QString& name, const QVariant& value)>;
    // The gauges the sheet edits, the first loaded and written: through the writer when there
    // is one, else through each gauge's own property puts.
    void setGauges(const QList<MervGaugeWidget*>& gauges, PropertyWriter writer = {});

    // Whether the page holds edits that are not applied yet; Apply is enabled exactly then.
    bool isChanged() const;

    // Applies the page to item 0. A failure shows one message that names the property and the
    // error; the sheet then stays as it is, so the user can correct the field.
    bool apply();

    MervGaugePropertyPage& page();
    QPushButton* applyButton() const;

public slots:
    // OK: applies, and closes only when that succeeded.
    void accept() override;

signals:
    // The page was applied to item 0 without an error.
    void applied();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};
