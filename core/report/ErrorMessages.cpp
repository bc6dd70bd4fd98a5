#include "ErrorMessages.h"

#include "BasicStringAlgorithmsClass.h"
#include "ErrorCodes.h"

#include <exception>

const char* const REPORT_PLACED_MESSAGE = "A report has been placed on the desktop";
const char* const REPORT_CANCELLED_MESSAGE = "The report was cancelled";
const char* const UNEXPECTED_FAILURE_MESSAGE = "An unexpected error occured, no report was made";

std::string messageForErrorCode(int code)
{
    switch (code) {
    case 4:
        return "An error occured while trying to read a file";
    case 5:
        return "Could not find data.xml";
    case 6:
    case 7:
    case 8:
    case 9:
        return "Could not parse data.xml (error code " + BasicStringAlgorithmsClass::convertToString(code) + ")";
    case 13:
        return "An error occured while trying to communicate with the printer";
    case 14:
        return "Could not find driver directory";
    case 16:
        return "Could not write the checksum file beside the report";
    default:
        return "Error code " + BasicStringAlgorithmsClass::convertToString(code) + " occured";
    }
}

platform::Message currentFailure()
{
    using Kind = platform::Message::Kind;
    try {
        throw;
    } catch (int code) {
        return {.kind = Kind::failure, .code = code, .text = messageForErrorCode(code)};
    } catch (const CodedFailure& failure) {
        return {.kind = Kind::failure,
                .code = failure.code,
                .detail = failure.detail,
                .text = messageForErrorCode(failure.code)};
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

platform::Message reportPlacedMessage()
{
    return {.kind = platform::Message::Kind::reportPlaced, .text = REPORT_PLACED_MESSAGE};
}
