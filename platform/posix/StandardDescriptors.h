#pragma once
// Standard input, output and error that a launcher left closed would be
// taken by the next files opened (the output folder, the archive), and every
// progress line and message would then be written into them.

namespace platform {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. Call
// first thing in main, before anything else opens a file. False when one
// stays closed (no /dev/null): the program must then not go on.
bool openClosedStandardDescriptors();

} // namespace platform
