#pragma once
// What a report run came to, for a caller that reads it by program: the
// archive it left with its SHA-256 and entries, the paths that named
// nothing, whether the printer's report is in it, and the error. All of it
// as the run knew it; nothing is read back from the archive or the log.

#include "core/report/ReportPress.h"

#include <optional>
#include <string>
#include <vector>

struct RunSummary {
    // Whether `archivePath` is a placed report; false for the valid archive
    // of the entries written before a failure.
    bool placed = false;
    // Absolute; any file the run left, nothing when it left none.
    std::optional<std::string> archivePath;
    std::optional<std::string> sha256;
    std::optional<std::string> checksumFilePath;
    // The entries written into that file, in order.
    std::vector<std::string> entries;
    // Every path not found and every wildcard that added no file, in the
    // order the collection met them; also after a failure, as far as the
    // run got.
    std::vector<std::string> missing;
    // Every plain path that names something other than a regular file, passed over.
    std::vector<SkippedPath> skipped;
    // Whether that file holds the printer's device report.
    bool printer = false;
    // Code 0 for a failure that has no code of its own, and for a cancelled run.
    std::optional<UserMessage> error;
};

// The summary of a press. A placed report whose checksum file could not be
// written is an error (code 16), shown on the reporter with the file it
// concerns; the archive stays placed. A cancelled run is an error of code 0
// with the message that says so.
RunSummary summarizeRun(const PressResult& press);

// The summary as one JSON object on one line, ended by a line feed: placed,
// archive, sha256, checksum_file, entries, missing, skipped ({path, type}
// each), printer and error (null or {code, message, detail}, detail being
// null or the text of failureDetailText). Names are given as nameJson gives
// them, so that a name that is not UTF-8 keeps its bytes.
std::string runSummaryJson(const RunSummary& summary);
