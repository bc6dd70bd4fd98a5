#include "core/report/ErrorMessages.h"

#include "base/ErrorCodes.h"
#include "core/strings/BasicStringAlgorithmsClass.h"

#include <exception>
#include <utility>

const char* const REPORT_PLACED_MESSAGE = "A report has been placed on the desktop";
const char* const REPORT_CANCELLED_MESSAGE = "The report was cancelled";
const char* const UNEXPECTED_FAILURE_MESSAGE = "An unexpected error occured, no report was made";

std::string messageForErrorCode(int code)
{
    switch (code) {
    case ERROR_FILE_READ:
        return "An error occured while trying to read a file";
    case ERROR_DATA_XML_NOT_LOADED:
        return "Could not find data.xml";
    case ERROR_DATA_XML_DUPLICATE_SECTION:
    case ERROR_DATA_XML_MISSING_SECTION:
    case ERROR_PATH_WITHOUT_DOT:
    case ERROR_WILDCARD_NOT_LAST:
        return "Could not parse data.xml (error code " + BasicStringAlgorithmsClass::convertToString(code) + ")";
    case ERROR_PRINTER_COMMUNICATION:
        return "An error occured while trying to communicate with the printer";
    case ERROR_DRIVER_DIRECTORY:
        return "Could not find driver directory";
    case ERROR_CHECKSUM_WRITE:
        return "Could not write the checksum file beside the report";
    default:
        return "Error code " + BasicStringAlgorithmsClass::convertToString(code) + " occured";
    }
}

UserMessage failureMessage(int code, std::optional<FailureDetail> detail)
{
    return {.kind = UserMessage::Kind::failure,
            .code = code,
            .detail = std::move(detail),
            .text = messageForErrorCode(code)};
}

UserMessage currentFailure()
{
    using Kind = UserMessage::Kind;
    try {
        throw;
    } catch (const CodedFailure& failure) {
        return failureMessage(failure.code, failure.hasDetail() ? std::optional(failure.detail) : std::nullopt);
    } catch (const std::exception& failure) {
        // Not one of the report's own codes (memory exhaustion, a library
        // fault): still the user must learn that nothing was made.
        return {.kind = Kind::unexpectedFailure,
                .quoted = failure.what(),
                .text = std::string(UNEXPECTED_FAILURE_MESSAGE) + " (" + failure.what() + ")"};
    } catch (...) {
        return {.kind = Kind::unexpectedFailure, .text = UNEXPECTED_FAILURE_MESSAGE};
    }
}

UserMessage reportPlacedMessage()
{
    return {.kind = UserMessage::Kind::reportPlaced, .text = REPORT_PLACED_MESSAGE};
}
