#include "app/WindowSizing.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QWindow>

#include <algorithm>
#include <limits>

WindowSizing::WindowSizing(QMainWindow& window)
    : window_(window),
      content_(window.centralWidget()),
      scrollArea_(new QScrollArea(&window)),
      designed_(window.minimumSize())
{
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setWidgetResizable(true);
    // Text wraps and names elide: only the height may need to scroll.
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setWidget(window_.takeCentralWidget());
    window_.setCentralWidget(scrollArea_);
    window_.installEventFilter(this);
    content_->installEventFilter(this);
    fit();
}

void WindowSizing::openWideEnoughFor(int width)
{
    const QMargins margins = content_->layout()->contentsMargins();
    // Wider than the screen would hide the window's end; the name is
    // elided instead.
    const int wanted = std::min(width + margins.left() + margins.right(), screenRoom().width());
    if (window_.width() < wanted)
        window_.resize(wanted, window_.height());
    fit();
}

bool WindowSizing::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched == &window_ && window_.windowHandle() && !watchingScreen_) {
        // Moved to another screen, the window has another room.
        connect(window_.windowHandle(), &QWindow::screenChanged, this, &WindowSizing::fit);
        watchingScreen_ = true;
    }
    const bool resized = event->type() == QEvent::Resize && watched == &window_;
    const bool relaid = event->type() == QEvent::LayoutRequest && watched == content_;
    if (resized || relaid)
        fit();
    return false;
}

QSize WindowSizing::screenRoom() const
{
    const QScreen* screen = window_.screen();
    if (!screen)
        return {std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};
    // The frame (the title bar) comes off the screen's room once the
    // window has one.
    const QSize frame = window_.frameGeometry().size() - window_.size();
    return screen->availableGeometry().size() - frame.expandedTo({0, 0});
}

void WindowSizing::fit()
{
    // Setting the minimum may resize the window, which asks again.
    if (fitting_)
        return;
    fitting_ = true;
    QLayout* layout = content_->layout();
    layout->activate();
    const QSize least = layout->totalMinimumSize();
    const int width = std::max(designed_.width(), least.width());
    // The height the text needs at the width the window has, not at its
    // narrowest, where the explanation would take the most lines.
    const int heightForWidth = layout->totalHeightForWidth(std::max(window_.width(), width));
    const int needed = std::max({designed_.height(), least.height(), heightForWidth});
    // The content's own minimum, which the scroll area keeps it at, is the
    // same: left to its layout, it would be the height at the narrowest width.
    content_->setMinimumSize(least.width(), heightForWidth);
    const QSize room = screenRoom();
    // Beyond the screen's room the content scrolls. Only there: the scroll
    // bar takes width, the text wraps to more lines, and a scroll bar that
    // came up once would stay for good.
    scrollArea_->setVerticalScrollBarPolicy(needed > room.height() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    window_.setMinimumSize(std::min(width, room.width()), std::min(needed, room.height()));
    fitting_ = false;
}
