#include "RunSummary.h"

#include "ArchiveEntryNames.h"
#include "ChecksumFile.h"
#include "ConfiguredFileCollection.h"
#include "ErrorCodes.h"
#include "ErrorMessages.h"
#include "Services.h"
#include "Sha256.h"
#include "TelvarinGenerator.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

// The same form as the path printed without --json: absolute, links kept.
std::string absolutePathOf(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

template <typename Value>
nlohmann::ordered_json valueOrNull(const std::optional<Value>& value)
{
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

} // namespace

RunSummary summarizeRun(const PressResult& press, const SummaryChoices& choices)
{
    RunSummary summary;
    summary.missing = ConfiguredFileCollection::pathsNamedMissing(press.log);
    if (!press.reportPlaced) {
        summary.error = RunError{press.errorCode, press.message};
        return summary;
    }
    summary.placed = true;
    summary.archivePath = absolutePathOf(press.archivePath);

    auto fail = [&](int code, std::string message) {
        summary.error = RunError{code, std::move(message)};
        platform::reporter().showError(summary.error->message);
        return summary;
    };
    if (choices.readArchiveBack || choices.writeChecksumFile) {
        summary.sha256 = sha256OfFile(*summary.archivePath);
        if (!summary.sha256)
            return fail(ERROR_ARCHIVE_WRITE, messageForErrorCode(ERROR_ARCHIVE_WRITE));
    }
    if (choices.writeChecksumFile) {
        summary.checksumFilePath = writeChecksumFile(*summary.archivePath, *summary.sha256);
        if (!summary.checksumFilePath)
            return fail(ERROR_CHECKSUM_WRITE,
                        messageForErrorCode(ERROR_CHECKSUM_WRITE) + " (" + std::strerror(errno) + ")");
    }
    if (choices.readArchiveBack) {
        auto entries = readArchiveEntryNames(*summary.archivePath);
        if (!entries)
            return fail(ERROR_ARCHIVE_WRITE, messageForErrorCode(ERROR_ARCHIVE_WRITE));
        summary.entries = std::move(*entries);
        summary.printer = std::find(summary.entries.begin(), summary.entries.end(), DEVICE_REPORT_ENTRY_NAME) !=
                          summary.entries.end();
    }
    return summary;
}

std::string runSummaryJson(const RunSummary& summary)
{
    nlohmann::ordered_json document;
    document["placed"] = summary.placed;
    document["archive"] = valueOrNull(summary.archivePath);
    document["sha256"] = valueOrNull(summary.sha256);
    document["checksum_file"] = valueOrNull(summary.checksumFilePath);
    document["entries"] = summary.entries;
    document["missing"] = summary.missing;
    document["printer"] = summary.printer;
    document["error"] = summary.error ? nlohmann::ordered_json{{"code", summary.error->code},
                                                               {"message", summary.error->message}}
                                      : nlohmann::ordered_json(nullptr);
    // File names are bytes; a strict dump would throw on the first name
    // that is not UTF-8 and leave no answer at all.
    return document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
