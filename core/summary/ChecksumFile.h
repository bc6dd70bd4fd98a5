#pragma once
// NAME.zip.sha256 beside a placed archive, in the format of sha256sum, so
// that `sha256sum -c NAME.zip.sha256` checks the archive after a transfer.

#include <optional>
#include <string>

// The one line of the file: the digits, two blanks (sha256sum's text mode)
// and the archive's file name without its directory.
std::string checksumFileLine(const std::string& sha256, const std::string& archiveName);

// Writes the checksum file of the archive at `archivePath` and returns its
// path. The text goes into a fresh file under a temporary name, made without
// following links, and is then renamed into place: whatever held the name
// before (a planted link, another file) is replaced as a name and never
// written through. Nothing, with errno set, when it cannot be written; no
// temporary file is left behind then.
std::optional<std::string> writeChecksumFile(const std::string& archivePath, const std::string& sha256);
