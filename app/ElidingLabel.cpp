#include "app/ElidingLabel.h"

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

void ElidingLabel::setFullText(const QString& text)
{
    fullText_ = text;
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
    // The exact advance rounded up, and one pixel more: a selectable label
    // lays its text out in a document that rounds up, and eliding measures
    // in fractions of a pixel.
    const int advance = static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(fullText_)));
    return QSize(advance + 1, fontMetrics().height()) + extraSpace();
}

QSize ElidingLabel::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(QStringLiteral("MMM\u2026MMM")), metrics.height()) + extraSpace();
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
    const int room = contentsRect().width() - 2 * margin() - 1;
    const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideMiddle, std::max(room, 0));
    // setText() drops a selection and tells assistive technology of a new
    // name; only when the text really changes.
    if (shown != text())
        QLabel::setText(shown);
}
