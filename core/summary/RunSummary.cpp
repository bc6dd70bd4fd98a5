#include "core/summary/RunSummary.h"

#include "base/ErrorCodes.h"
#include "core/report/ErrorMessages.h"
#include "core/summary/FailureText.h"
#include "core/summary/NameJson.h"
#include "platform/Services.h"

namespace {

nlohmann::ordered_json valueOrNull(const std::optional<std::string>& value)
{
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json nameOrNull(const std::optional<std::string>& name)
{
    return name ? nameJson(*name) : nlohmann::ordered_json(nullptr);
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
    summary.skipped = press.skipped;
    summary.printer = press.deviceReportStored;
    if (!press.reportPlaced) {
        summary.error = press.failure ? *press.failure : UserMessage{.text = press.message};
    } else if (press.checksumFileError != 0) {
        summary.error =
            failureMessage(ERROR_CHECKSUM_WRITE, FailureDetail{FailedStep::writeChecksumFile,
                                                               press.archivePath + ".sha256", press.checksumFileError});
        platform::reporter().showError(*summary.error);
    }
    return summary;
}

std::string runSummaryJson(const RunSummary& summary)
{
    nlohmann::ordered_json document;
    document["placed"] = summary.placed;
    document["archive"] = nameOrNull(summary.archivePath);
    document["sha256"] = valueOrNull(summary.sha256);
    document["checksum_file"] = nameOrNull(summary.checksumFilePath);
    document["entries"] = namesJson(summary.entries);
    document["missing"] = namesJson(summary.missing);
    nlohmann::ordered_json skipped = nlohmann::ordered_json::array();
    for (const auto& [path, kind] : summary.skipped)
        skipped.push_back({{"path", nameJson(path)}, {"type", fileKindWord(kind)}});
    document["skipped"] = skipped;
    document["printer"] = summary.printer;
    nlohmann::ordered_json error(nullptr);
    if (summary.error) {
        const std::string detail = summary.error->detail ? failureDetailText(*summary.error->detail) : "";
        error = {{"code", summary.error->code},
                 {"message", summary.error->text},
                 {"detail", detail.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(detail)}};
    }
    document["error"] = error;
    return dumpedJson(document);
}
