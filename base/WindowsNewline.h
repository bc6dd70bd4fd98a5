#pragma once

// The line end of the run log, the general report and the device report:
// carriage return, line feed.
inline const char* const WINDOWS_NEWLINE = "\r\n";
