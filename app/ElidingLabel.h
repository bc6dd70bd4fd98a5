#pragma once
// A label for text that may hold long names: on one line it shortens its
// text in the middle when it is too narrow, so that the start and the end
// (a file's extension) stay readable; wrapped, it shortens in the middle
// only what cannot be broken across lines and is wider than the label.
// A label with a buddy shows "&" as it stands, not as an Alt letter.

#include <QLabel>
#include <QString>

class ElidingLabel : public QLabel {
    Q_OBJECT

public:
    enum class Fit { oneLine, wrapped };

    explicit ElidingLabel(QWidget* parent = nullptr);

    // The whole text; shownText() is what fits.
    void setFullText(const QString& text, Fit fit = Fit::oneLine);
    QString fullText() const { return fullText_; }
    QString shownText() const { return shown_; }
    bool isElided() const { return shown_ != fullText_; }

    // On one line: one line high even when empty, so that the window does
    // not jump when a text arrives. Narrow enough to be squeezed either way.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitText();
    QSize extraSpace() const;
    bool wraps() const { return fit_ == Fit::wrapped; }

    QString fullText_;
    QString shown_;
    Fit fit_ = Fit::oneLine;
};
