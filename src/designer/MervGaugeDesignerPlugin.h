#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class QDesignerFormEditorInterface;

// The gauge in Qt Designer's widget box: a gauge dropped on a form is a new control in design
// mode, its task menu opens the property sheet or binds it to a tag, its four status properties
// stay out of the property editor, and every gauge on a form carries its binding (tag and stale
// time) as dynamic properties.
class MervGaugeDesignerPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    explicit MervGaugeDesignerPlugin(QObject* parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QString domXml() const override;
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* core) override;

private:
    bool m_initialized = false;
    // Designer's form editor; none where a form loader creates gauges at run time.
    QDesignerFormEditorInterface* m_core = nullptr;
};
