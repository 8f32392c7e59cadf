#pragma once

#include <mervgauge/MervGaugeWidget.h>

#include <QWidget>

#include <memory>

namespace merv {
class PropertyPage1;
class PropertyPageSite;
} // namespace merv

// The gauge's property page as real widgets: a tab widget with the page's line edits, labels
// and colour swatches, laid out where the page's elements stand. The widgets are views of the
// page's elements: what a person types or clicks goes to the elements, whose handlers decide
// what becomes of it, and the widgets then show what the elements hold. A host embeds the page
// in a sheet of its own and is the page's site.
class MervGaugePropertyPage : public QWidget {
    Q_OBJECT

public:
    explicit MervGaugePropertyPage(merv::PropertyPageSite& site, QWidget* parent = nullptr);
    ~MervGaugePropertyPage() override;

    // The host's two requests to the page. Both throw merv::RuntimeError where the page does:
    // at the first property of the selection that fails.
    void selectionChanged();
    void applyChanges();

    merv::PropertyPage1& page();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A person's input that the page failed (a colour chooser that could not open, say).
    void runtimeError(int number, const QString& description);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};
