#pragma once

class QApplication;

// Sets up the desktop's language, the application delegate and the window,
// shows the window and runs the application until it quits; returns its
// exit status.
int runTelvarinGenerator(QApplication& application);
