#pragma once
// Small expectations shared by the suites.

#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testing_support {

// Expects `action` to throw exactly the code `code`.
template <typename Action>
void expectCode(int code, Action action, const std::string& what = {})
{
    try {
        action();
        ADD_FAILURE() << what << ": no error, expected code " << code;
    } catch (const CodedFailure& thrown) {
        EXPECT_EQ(thrown.code, code) << what << ": " << thrown.detail.path;
    }
}

// The code `call` throws; 0 when it throws none.
template <typename Call>
int codeThrownBy(Call call)
{
    try {
        call();
    } catch (const CodedFailure& failure) {
        return failure.code;
    }
    return 0;
}

// The lines of a report text, split at each CRLF; a text ending in CRLF
// ends with an empty line.
inline std::vector<std::string> splitReportLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace testing_support
