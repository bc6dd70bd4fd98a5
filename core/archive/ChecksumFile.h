#pragma once
// NAME.zip.sha256 beside a placed archive, in the format of sha256sum, so
// that `sha256sum -c NAME.zip.sha256` checks the archive after a transfer.

#include <optional>
#include <string>

// The one line of the file: the digits, two blanks (sha256sum's text mode)
// and the archive's file name without its directory.
std::string checksumFileLine(const std::string& sha256, const std::string& archiveName);

// Writes the checksum file of the archive `archiveName` in the open folder
// `folder` and returns its name. The text goes into a fresh file under a
// temporary name, made without following links and removed should a signal
// end the run, and is then renamed into place: whatever held the name
// before (a planted link, the checksum of an archive this one replaced) is
// replaced as a name and never written through or into. Nothing, with errno
// set, when it cannot be written; no temporary file is left behind then.
std::optional<std::string> writeChecksumFileIn(int folder, const std::string& archiveName, const std::string& sha256);
