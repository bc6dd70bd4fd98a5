#pragma once
// One press of the button, whatever the front end: the system-log line, the
// busy indicator, one report run, and the one message that ends it, or, when
// the front end cancelled the run, no message and no file.

#include "base/CodedFailure.h"
#include "base/RunProgress.h"
#include "base/UserMessage.h"
#include "core/archive/WrittenEntry.h"
#include "core/filelist/CollectedFileSink.h"

#include <optional>
#include <string>
#include <vector>

class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void startAnimation() = 0;
    virtual void stopAnimation() = 0;
};

struct ReportRequest {
    // The file list; nothing when the tool ships none (the run ends with code 5).
    std::optional<std::string> dataXmlPath;
    // Where to put the archive; nothing for the dated name on the desktop.
    std::optional<std::string> archivePath;
    // The archive's SHA-256, taken before it is named.
    bool computeSha256 = false;
    // NAME.zip.sha256 beside a placed archive (the SHA-256 is then taken too).
    bool writeChecksumFile = false;
    // Hears how the run goes, on the run's thread; nothing for no one.
    RunProgress* progress = nullptr;
    // Once requested, the run stops at its next checkpoint and leaves no
    // archive; nothing for a run that cannot be stopped.
    const CancellationFlag* cancellation = nullptr;
    // Lines the front end has for the run's log, written first: what it
    // could not read of the tool's own files.
    std::vector<std::string> logLines{};
};

// What a press came to, as the run knew it; nothing here is read back from
// the archive or the log.
struct PressResult {
    // A finished report was placed at archivePath.
    bool reportPlaced = false;
    // The run was stopped on request: no box was shown and no file is left.
    bool cancelled = false;
    // The sentence that ended the press, whatever its outcome.
    std::string message;
    // The failure that ended the run, as it was shown; nothing after success
    // or a cancellation.
    std::optional<UserMessage> failure;
    // The file the run left, absolute, as its folder is named now: the
    // placed report, or after a failure the valid archive of the entries
    // written so far; empty when it left none.
    std::string archivePath;
    std::optional<std::string> sha256;
    std::optional<std::string> checksumFilePath;
    // The errno when the checksum file of a placed report could not be
    // written, or an earlier archive's could not be removed.
    int checksumFileError = 0;
    // The entries written into the archive, in order, with their sizes.
    std::vector<WrittenEntry> entries;
    // Every configured path that named nothing (plain paths not found,
    // wildcards that added no file), in order, as far as the run got.
    std::vector<std::string> missing;
    // Every plain configured path that names something other than a regular
    // file, passed over, in order, as far as the run got.
    std::vector<SkippedPath> skipped;
    // Whether the archive holds the printer's device report.
    bool deviceReportStored = false;
    // The run's log as it stood when the run ended, placed or not.
    std::string log;
};

// The first line a press writes to the system log.
std::string currentDateLogLine();

PressResult runReportPress(BusyIndicator& indicator, const ReportRequest& request);
