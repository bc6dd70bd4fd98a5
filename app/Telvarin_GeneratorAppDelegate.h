#pragma once
// The application delegate: how the application behaves as a whole.

#include <QObject>
#include <QPointer>
#include <QWidget>

class QApplication;

class Telvarin_GeneratorAppDelegate : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // The application's one window; not owned.
    QWidget* window() const { return window_; }
    void setWindow(QWidget* window) { window_ = window; }

    void applicationDidFinishLaunching();
    bool applicationShouldTerminateAfterLastWindowClosed() const;

    // Puts the delegate's answers into effect for `application`.
    void attachTo(QApplication& application);

private:
    QPointer<QWidget> window_;
};
