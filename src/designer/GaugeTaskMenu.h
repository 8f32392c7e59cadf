#pragma once

#include <QDesignerTaskMenuExtension>
#include <QExtensionFactory>

class MervGaugeWidget;
class QAction;

// The gauge's entry in Designer's context menu: "Edit Gauge Properties…" opens the property
// sheet on the selected gauges, the one clicked first, and "Bind to Tag…" the tag and stale
// time of the gauge clicked; both write through the form window.
class GaugeTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    GaugeTaskMenu(MervGaugeWidget* gauge, QObject* parent);

    QAction* preferredEditAction() const override;
    QList<QAction*> taskActions() const override;

private:
    void editProperties();
    void bindToTag();

    MervGaugeWidget* m_gauge;
    QAction* m_edit;
    QAction* m_bind;
};

// Gives every gauge on a form its task menu.
class GaugeTaskMenuFactory : public QExtensionFactory {
    Q_OBJECT

public:
    explicit GaugeTaskMenuFactory(QExtensionManager* parent = nullptr);

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};
