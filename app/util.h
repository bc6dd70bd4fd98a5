#pragma once
// The two modal message boxes that end a press. Both return once the user has
// dismissed the box; call them on the GUI thread.

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

} // namespace util
