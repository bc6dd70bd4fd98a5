#include "app/ReturnKeyButtons.h"

#include <QKeyEvent>

void ReturnKeyButtons::makeDefault(QPushButton* button)
{
    default_ = button;
    for (QPushButton* candidate : candidates_)
        candidate->setDefault(candidate == button);
}

QPushButton* ReturnKeyButtons::current() const
{
    const QPushButton* first = candidates_.front();
    return default_ && default_->isVisibleTo(first->window()) ? default_ : candidates_.front();
}

bool ReturnKeyButtons::pressFor(const QKeyEvent& event, const QWidget* focus) const
{
    // A focused button takes Return and Space itself.
    const bool returnKey = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (!returnKey || (event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier ||
        qobject_cast<const QAbstractButton*>(focus))
        return false;
    current()->click();
    return true;
}
