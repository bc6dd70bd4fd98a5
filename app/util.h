#pragma once
// The two modal message boxes that end a press. Both return once the user has
// dismissed the box; call them on the GUI thread.

#include <string>

namespace util {

// An information box with the message and a single OK button.
void showMessageBox(std::string message);
// The same in the critical style, for failures.
void showErrorMessage(std::string message);

} // namespace util
