#include "RunLog.h"

#include "WindowsNewline.h"

void RunLog::addLine(std::string line)
{
    text_ += line;
    text_ += WINDOWS_NEWLINE;
}
