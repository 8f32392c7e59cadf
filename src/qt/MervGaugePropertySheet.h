#pragma once

#include <mervgauge/MervGaugeWidget.h>

#include <QDialog>

#include <functional>
#include <memory>

class QPushButton;

// The gauge's property sheet: the property page with OK, Cancel and Apply, over a selection
// of one or several gauges of which the first is loaded and written. The sheet is the page's
// design-time host: it raises SelectionChanged when it is shown and when its selection
// changes, and ApplyChanges on Apply and OK. Captions and numbers follow the sheet's locale.
class MERVGAUGE_QT_EXPORT MervGaugePropertySheet : public QDialog {
    Q_OBJECT

public:
    // The swatches open a QColorDialog.
    explicit MervGaugePropertySheet(QWidget* parent = nullptr);
    ~MervGaugePropertySheet() override;

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
    // The in-tree seams of <mervgauge/private/MervGaugePropertySheet_p.h>.
    friend struct MervGaugePropertySheetAccess;
    class Private;
    std::unique_ptr<Private> d;
};
