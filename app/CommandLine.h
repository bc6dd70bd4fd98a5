#pragma once
// The options the window's program answers itself, before any display is
// needed: --help and --version.

#include <cstdio>
#include <optional>

// The exit status when the command line asked for help or the version (the
// answer is written to `out`), nothing when the window is to start. Other
// arguments are left to Qt.
std::optional<int> answerInformationOptions(int argc, char** argv, std::FILE* out = stdout);
