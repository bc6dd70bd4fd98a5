#include "base/RunLog.h"

#include "base/WindowsNewline.h"

void RunLog::addLine(std::string line)
{
    text_ += line;
    text_ += WINDOWS_NEWLINE;
}
