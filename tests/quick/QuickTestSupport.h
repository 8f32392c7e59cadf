#pragma once

#include <mervgauge/MervGauge.h>

#include <QByteArray>
#include <QImage>
#include <QQmlEngine>
#include <QQuickWindow>

#include <memory>

// A QML scene in a window of its own, with the build's MERVGauge module on the import path.
class QuickScene {
public:
    // Creates the scene from QML text; root() is null (and errors() says why) when it fails.
    explicit QuickScene(const QByteArray& qml);
    ~QuickScene();

    QObject* root() const { return m_root.get(); }
    QString errors() const { return m_errors; }
    QQmlEngine& engine() { return m_engine; }
    QQuickWindow& window() { return m_window; }
    // The gauge the scene names by its objectName, or its root when that is one.
    MervGauge* gauge(const char* name = nullptr) const;

    // Shows the window at the size and waits until it is exposed.
    bool show(QSize size);
    // The window's pixels as a frame renders them now, at the window's device pixel ratio.
    QImage grab();

private:
    QQmlEngine m_engine;
    QQuickWindow m_window;
    std::unique_ptr<QObject> m_root;
    QString m_errors;
};

// A scene holding one gauge with the QML properties given ("Value: 5; MaxValue: 200").
QByteArray gaugeScene(const QByteArray& properties);
