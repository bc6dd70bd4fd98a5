#pragma once
// Who the program is to the desktop: its command, its name, its version, and
// the menu entry and icon it belongs to.

// The command, which is also the window's X11 class (the menu entry's
// StartupWMClass).
extern const char* const PROGRAM_NAME;
// The menu entry's id without ".desktop": the Wayland app id, the icon's name
// and what notifications name as their sender.
extern const char* const APPLICATION_ID;

// Tells the running application all of the above; call once the
// QApplication exists, before the window is made.
void applyApplicationIdentity();
