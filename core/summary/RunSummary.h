#pragma once
// What a report run came to, for a caller that reads it by program: the
// placed archive with its SHA-256 and its entries as read back, the paths the
// log names as missing, whether the printer's report is in it, and the error.

#include "ReportPress.h"

#include <optional>
#include <string>
#include <vector>

struct RunError {
    // 0 for a failure that has no code of its own.
    int code = 0;
    std::string message;
};

struct RunSummary {
    bool placed = false;
    // Absolute; only for a placed archive.
    std::optional<std::string> archivePath;
    std::optional<std::string> sha256;
    std::optional<std::string> checksumFilePath;
    // Read back from the placed archive; empty when nothing was placed.
    std::vector<std::string> entries;
    // Every path not found and every wildcard that added no file, in the
    // order of the run's log; also after a failure, as far as the run got.
    std::vector<std::string> missing;
    // Whether the placed archive holds the printer's device report.
    bool printer = false;
    std::optional<RunError> error;
};

struct SummaryChoices {
    // Writes NAME.zip.sha256 beside the placed archive.
    bool writeChecksumFile = false;
    // Computes the SHA-256 and reads the entries back.
    bool readArchiveBack = false;
};

// Completes a run: a placed archive is checked as chosen. A failure on the
// way (the archive cannot be read back: code 15; the checksum file cannot be
// written: code 16) becomes the summary's error and is shown on the reporter;
// the archive stays placed.
RunSummary summarizeRun(const PressResult& press, const SummaryChoices& choices);

// The summary as one JSON object on one line, ended by a line feed: placed,
// archive, sha256, checksum_file, entries, missing, printer and error
// (null or {code, message}). Bytes that are not UTF-8 become U+FFFD.
std::string runSummaryJson(const RunSummary& summary);
