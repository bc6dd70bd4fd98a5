#pragma once
// The window's modal message boxes: the two that end a press, and the question
// asked when the window is closed during one. Each returns once the user has
// answered; call them on the GUI thread.

#include <QString>

#include <string>

class QWidget;

namespace util {

// An information box with the message and a single OK button, centred on
// `parent` (the active window when none is given).
void showMessageBox(std::string message, QWidget* parent = nullptr);
// The same in the critical style, for failures; `explanation`, plain text,
// stands under the message when given.
void showErrorMessage(std::string message, QWidget* parent = nullptr, const QString& explanation = {});

// Asks, over `window`, whether to stop the run going on and close the
// window; true only when the user chose to.
bool askToStopTheRunAndClose(QWidget* window);

} // namespace util
