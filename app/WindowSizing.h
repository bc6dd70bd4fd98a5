#pragma once
// Keeps a main window's minimum size at what its content needs at the width
// the window has, never below the size it was designed with: wrapped text
// takes fewer lines on a wider window, so a large font still fits a small
// screen.

#include <QObject>
#include <QSize>

class QMainWindow;

class WindowSizing : public QObject {
public:
    // Watches `window` (its size and its central widget's layout) from now
    // on; it must outlive this object.
    explicit WindowSizing(QMainWindow& window);

    // Opens the window wide enough for content `width` wide, as far as its
    // screen allows.
    void openWideEnoughFor(int width);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();

    QMainWindow& window_;
    QSize designed_;
    bool fitting_ = false;
};
