#pragma once
// NAME.zip.sha256 beside a placed archive, in the format of sha256sum, so
// that `sha256sum -c NAME.zip.sha256` checks the archive after a transfer.
// The file always describes the archive beside it: a run that names an
// archive without writing its checksum file removes the one an earlier
// archive of that name left.

#include <string>
#include <system_error>

// The one line of the file: the digits, two blanks (sha256sum's text mode)
// and the archive's file name without its directory.
std::string checksumFileLine(const std::string& sha256, const std::string& archiveName);

// The checksum file's name for the archive `archiveName`.
std::string checksumFileName(const std::string& archiveName);

// Writes the checksum file of the archive `archiveName` in the open folder
// `folder`. The text goes into a fresh file under a temporary name, made
// without following links and removed should a signal end the run, and is
// then renamed into place: whatever held the name before (a planted link,
// the checksum of an archive this one replaced) is replaced as a name and
// never written through or into. The system's reason when it cannot be
// written; no temporary file is left behind then.
std::error_code writeChecksumFileIn(int folder, const std::string& archiveName, const std::string& sha256);

// Removes the checksum file of `archiveName` from the open folder, as a name
// (a link goes, never its target). Nothing there, or a directory of that
// name, which is no checksum file, is no failure.
std::error_code removeChecksumFileIn(int folder, const std::string& archiveName);
