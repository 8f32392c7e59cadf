#include "QuickTestSupport.h"

#include <QQmlComponent>
#include <QQuickItem>
#include <QTest>

QuickScene::QuickScene(const QByteArray& qml) {
    m_engine.addImportPath(QStringLiteral(MERVGAUGE_QML_DIR));
    QQmlComponent component(&m_engine);
    component.setData(qml, QUrl(QStringLiteral("scene.qml")));
    m_root.reset(component.create());
    if (!m_root) {
        m_errors = component.errorString();
        return;
    }
    if (auto* item = qobject_cast<QQuickItem*>(m_root.get()))
        item->setParentItem(m_window.contentItem());
    m_window.setColor(Qt::white);
}

QuickScene::~QuickScene() {
    // The items go before the window whose content item holds them.
    m_root.reset();
}

MervGauge* QuickScene::gauge(const char* name) const {
    if (!name)
        return qobject_cast<MervGauge*>(m_root.get());
    return m_root ? m_root->findChild<MervGauge*>(QString::fromLatin1(name)) : nullptr;
}

bool QuickScene::show(QSize size) {
    m_window.resize(size);
    m_window.show();
    return QTest::qWaitForWindowExposed(&m_window);
}

QImage QuickScene::grab() {
    return m_window.grabWindow().convertToFormat(QImage::Format_RGB32);
}

QByteArray gaugeScene(const QByteArray& properties) {
    return "import QtQuick\nimport MERVGauge\nMervGauge { " + properties + " }\n";
}
