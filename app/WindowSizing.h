#pragma once
// Keeps a main window's minimum size at what its content needs at the width
// the window has, never below the size it was designed with: wrapped text
// takes fewer lines on a wider window, so a large font still fits a small
// screen. Where the content needs more than the screen has (a large font at
// twice the scale on a small screen), the window stays within the screen
// and the content scrolls.

#include <QObject>
#include <QSize>

class QMainWindow;
class QScrollArea;
class QWidget;

class WindowSizing : public QObject {
public:
    // Puts the window's central widget in a scroll area, and watches the
    // window and that content from now on; the window must outlive this
    // object.
    explicit WindowSizing(QMainWindow& window);

    // Opens the window wide enough for content `width` wide, as far as its
    // screen allows.
    void openWideEnoughFor(int width);

    // What scrolls where the screen is too small.
    QScrollArea* scrollArea() const { return scrollArea_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();
    QSize screenRoom() const;

    QMainWindow& window_;
    QWidget* content_;
    QScrollArea* scrollArea_;
    QSize designed_;
    bool fitting_ = false;
    bool watchingScreen_ = false;
};
