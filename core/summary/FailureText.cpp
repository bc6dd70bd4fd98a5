#include "core/summary/FailureText.h"

#include "core/summary/FailureWording.h"

#include <string_view>
#include <system_error>

namespace {

// The text with the file or folder in place of its "“%1”", between plain
// double quotes, which every terminal shows and a script can find.
std::string withPath(std::string_view text, const std::string& path)
{
    constexpr std::string_view PLACEHOLDER = "“%1”";
    const auto at = text.find(PLACEHOLDER);
    if (at == std::string_view::npos)
        return std::string(text);
    return std::string(text.substr(0, at)) + "\"" + path + "\"" + std::string(text.substr(at + PLACEHOLDER.size()));
}

// ": REASON." after what failed, or only the full stop when the system gave
// no reason.
std::string because(int errorNumber)
{
    if (errorNumber == 0)
        return ".";
    return ": " + std::error_code(errorNumber, std::system_category()).message() + ".";
}

} // namespace

std::string failureDetailText(const FailureDetail& detail)
{
    const auto wording = failureWording(detail);
    if (!wording)
        return {};
    std::string text = withPath(wording->what, detail.path);
    if (!wording->isWholeSentence)
        text += because(detail.errorNumber);
    return text + " " + (wording->commandLineAdvice ? wording->commandLineAdvice : wording->advice);
}
