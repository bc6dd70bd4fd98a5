#pragma once
// A one-line label that shortens its text in the middle when it is too
// narrow, so that the start and the end (a file's extension) stay readable.

#include <QLabel>
#include <QString>

class ElidingLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidingLabel(QWidget* parent = nullptr);

    // The whole text; text() is what fits.
    void setFullText(const QString& text);
    QString fullText() const { return fullText_; }
    bool isElided() const { return text() != fullText_; }

    // One line high even when empty, so that the window does not jump when
    // a text arrives; narrow enough to be squeezed.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitText();
    QSize extraSpace() const;

    QString fullText_;
};
