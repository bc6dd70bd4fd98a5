#include "app/ElidingLabel.h"

#include "app/DisplayText.h"

#include <QEvent>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

ElidingLabel::ElidingLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidingLabel::setFullText(const QString& text, Fit fit)
{
    fullText_ = text;
    if (fit != fit_) {
        fit_ = fit;
        // A wrapped text is as high as its lines at the label's width.
        setSizePolicy(QSizePolicy::Preferred, wraps() ? QSizePolicy::Preferred : QSizePolicy::Fixed);
        setWordWrap(wraps());
    }
    fitText();
    updateGeometry();
}

QSize ElidingLabel::extraSpace() const
{
    const QMargins margins = contentsMargins();
    const int around = 2 * margin();
    return {margins.left() + margins.right() + around, margins.top() + margins.bottom() + around};
}

QSize ElidingLabel::sizeHint() const
{
    if (wraps())
        return QLabel::sizeHint();
    // The exact advance rounded up, and one pixel more: a selectable label
    // lays its text out in a document that rounds up, and eliding measures
    // in fractions of a pixel.
    const int advance = static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(fullText_)));
    return QSize(advance + 1, fontMetrics().height()) + extraSpace();
}

QSize ElidingLabel::minimumSizeHint() const
{
    // Wrapped, the text is fitted to whatever width the label gets: its
    // longest word must not hold the label at the width it has now.
    const QFontMetrics metrics = fontMetrics();
    const int height = wraps() ? QLabel::minimumSizeHint().height() : metrics.height() + extraSpace().height();
    return {metrics.horizontalAdvance(QStringLiteral("MMM\u2026MMM")) + extraSpace().width(), height};
}

void ElidingLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fitText();
}

void ElidingLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitText();
        updateGeometry();
    }
}

void ElidingLabel::fitText()
{
    const int room = std::max(contentsRect().width() - 2 * margin() - 1, 0);
    const QString shown = wraps() ? displayText::fittedToWidth(fullText_, fontMetrics(), room)
                                  : fontMetrics().elidedText(fullText_, Qt::ElideMiddle, room);
    // setText() drops a selection and tells assistive technology of a new
    // name; only when the text really changes.
    if (shown == shown_)
        return;
    shown_ = shown;
    QLabel::setText(buddy() ? displayText::withoutMnemonic(shown) : shown);
    if (wraps())
        updateGeometry();
}
