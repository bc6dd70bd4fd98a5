#include "app/WindowSizing.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>

#include <algorithm>

WindowSizing::WindowSizing(QMainWindow& window) : window_(window), designed_(window.minimumSize())
{
    window_.installEventFilter(this);
    window_.centralWidget()->installEventFilter(this);
    fit();
}

void WindowSizing::openWideEnoughFor(int width)
{
    const QMargins margins = window_.centralWidget()->layout()->contentsMargins();
    int wanted = width + margins.left() + margins.right();
    // Wider than the screen would hide the window's end; the name is
    // elided instead.
    if (const QScreen* screen = window_.screen())
        wanted = std::min(wanted, screen->availableGeometry().width());
    if (window_.width() < wanted)
        window_.resize(wanted, window_.height());
    fit();
}

bool WindowSizing::eventFilter(QObject* watched, QEvent* event)
{
    const bool resized = event->type() == QEvent::Resize && watched == &window_;
    const bool relaid = event->type() == QEvent::LayoutRequest && watched != &window_;
    if (resized || relaid)
        fit();
    return false;
}

void WindowSizing::fit()
{
    // Setting the minimum may resize the window, which asks again.
    if (fitting_)
        return;
    fitting_ = true;
    QLayout* layout = window_.centralWidget()->layout();
    layout->activate();
    const QSize least = layout->totalMinimumSize();
    const int width = std::max(designed_.width(), least.width());
    // The height the text needs at the width the window has, not at its
    // narrowest, where the explanation would take the most lines.
    const int heightForWidth = layout->totalHeightForWidth(std::max(window_.width(), width));
    const int height = std::max({designed_.height(), least.height(), heightForWidth});
    window_.setMinimumSize(width, height);
    fitting_ = false;
}
