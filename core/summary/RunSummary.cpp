#include "core/summary/RunSummary.h"

#include "base/ErrorCodes.h"
#include "core/report/ErrorMessages.h"
#include "core/summary/FailureText.h"
#include "platform/Services.h"

#include <nlohmann/json.hpp>

namespace {

template <typename Value>
nlohmann::ordered_json valueOrNull(const std::optional<Value>& value)
{
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

} // namespace

RunSummary summarizeRun(const PressResult& press)
{
    RunSummary summary;
    summary.placed = press.reportPlaced;
    if (!press.archivePath.empty())
        summary.archivePath = press.archivePath;
    summary.sha256 = press.sha256;
    summary.checksumFilePath = press.checksumFilePath;
    for (const WrittenEntry& entry : press.entries)
        summary.entries.push_back(entry.name);
    summary.missing = press.missing;
    summary.printer = press.deviceReportStored;
    if (!press.reportPlaced) {
        summary.error = press.failure ? *press.failure : platform::Message{.text = press.message};
    } else if (press.checksumFileError != 0) {
        summary.error = failureMessage(
            ERROR_CHECKSUM_WRITE,
            FailureDetail{FailedStep::writeChecksumFile, press.archivePath + ".sha256", press.checksumFileError});
        platform::reporter().showError(*summary.error);
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
    nlohmann::ordered_json error(nullptr);
    if (summary.error) {
        const std::string detail = summary.error->detail ? failureDetailText(*summary.error->detail) : "";
        error = {{"code", summary.error->code},
                 {"message", summary.error->text},
                 {"detail", detail.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(detail)}};
    }
    document["error"] = error;
    // File names are bytes; a strict dump would throw on the first name
    // that is not UTF-8 and leave no answer at all.
    return document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
