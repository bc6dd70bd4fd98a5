#include "app/PacedUpdate.h"

#include <utility>

PacedUpdate::PacedUpdate(std::function<void()> show, std::chrono::milliseconds interval)
    : show_(std::move(show)),
      interval_(interval)
{
    pending_.setSingleShot(true);
    QObject::connect(&pending_, &QTimer::timeout, [this] { showNow(); });
}

void PacedUpdate::request()
{
    // One showing waits at a time; it shows whatever is latest then.
    if (pending_.isActive())
        return;
    const auto since = std::chrono::milliseconds(sinceShown_.isValid() ? sinceShown_.elapsed() : interval_.count());
    if (since >= interval_)
        showNow();
    else
        pending_.start(interval_ - since);
}

void PacedUpdate::cancel()
{
    pending_.stop();
}

void PacedUpdate::showNow()
{
    sinceShown_.start();
    show_();
}
