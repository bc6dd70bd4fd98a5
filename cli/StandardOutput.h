#pragma once
// Standard output carries what a script reads (the progress, the archive's
// path, a listing, one JSON object), standard error what a person reads. On
// a terminal each text goes out as it is written, so that the progress shows
// as the run goes; to a pipe or a file the texts gather in a buffer, as
// stdio's do there, and go out when it is full, before anything is written
// to standard error (so that the two keep their order where they meet) and
// at the end. The first failure to write (a full disk, a reader gone away)
// is kept for the end of the command, so that output cut short is never
// taken for delivered.

#include <string>
#include <string_view>

namespace cli {

// Whether standard output is a terminal; asked once, as it does not change
// while the command writes to it.
bool standardOutputIsTerminal();

void writeToStandardOutput(std::string_view text);
// Writes out what the buffer holds.
void flushStandardOutput();
// Whether everything written to standard output got there, the buffer
// written out first; when not, says on standard error why.
bool standardOutputDelivered();

// One line on standard error, after what standard output holds.
void writeLineToStandardError(const std::string& line);

} // namespace cli
