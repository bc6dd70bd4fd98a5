#include "cli/StandardOutput.h"

#include "platform/posix/FullIo.h"

#include <unistd.h>

#include <cstdio>
#include <system_error>

namespace cli {
namespace {

// stdio's own size for a buffer that no block size chose.
constexpr std::size_t BUFFER_SIZE = BUFSIZ;

std::string& buffered()
{
    static std::string bytes;
    return bytes;
}

// The first failure to write to standard output.
std::error_code& standardOutputFailure()
{
    static std::error_code failure;
    return failure;
}

void writeOut(std::string_view text)
{
    const std::error_code failure = platform::writeFully(STDOUT_FILENO, text);
    if (failure && !standardOutputFailure())
        standardOutputFailure() = failure;
}

} // namespace

bool standardOutputIsTerminal()
{
    static const bool terminal = isatty(STDOUT_FILENO) == 1;
    return terminal;
}

void writeToStandardOutput(std::string_view text)
{
    if (standardOutputIsTerminal()) {
        writeOut(text);
        return;
    }
    std::string& bytes = buffered();
    bytes += text;
    if (bytes.size() >= BUFFER_SIZE)
        flushStandardOutput();
}

void flushStandardOutput()
{
    std::string& bytes = buffered();
    if (bytes.empty())
        return;
    writeOut(bytes);
    bytes.clear();
}

bool standardOutputDelivered()
{
    flushStandardOutput();
    const std::error_code& failure = standardOutputFailure();
    if (!failure)
        return true;
    writeLineToStandardError("telvarin-report: cannot write to standard output: " + failure.message());
    return false;
}

void writeLineToStandardError(const std::string& line)
{
    flushStandardOutput();
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

} // namespace cli
