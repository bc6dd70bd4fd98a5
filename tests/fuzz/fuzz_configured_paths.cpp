// Arbitrary path texts and directory entry names: the two path splits, the
// form of a path text and the wildcard match must keep their promises and
// raise no other code than 8 or 9.
//
// Input: the path text, then optionally a line feed and an entry name.
#include "base/ErrorCodes.h"
#include "core/filelist/ConfiguredPaths.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool startsWith(const std::string& text, const std::string& test)
{
    return text.size() >= test.size() && text.compare(0, test.size(), test) == 0;
}

bool endsWith(const std::string& text, const std::string& test)
{
    return text.size() >= test.size() && text.compare(text.size() - test.size(), test.size(), test) == 0;
}

void checkForm(const std::string& text, const ConfiguredPathText& parts)
{
    if (!parts.hasDestinationFolder) {
        require(parts.sourcePath == text);
        const auto comma = text.find(',');
        require(comma == std::string::npos || comma + 1 == text.size());
        return;
    }
    require(parts.sourcePath.find(',') == std::string::npos);
    require(startsWith(text, parts.sourcePath + ","));
    require(text.size() > parts.sourcePath.size() + 1);
    require(endsWith(text, parts.destinationFolder));
    require(parts.destinationFolder.empty() ||
            std::string(" \t\r\n").find(parts.destinationFolder.front()) == std::string::npos);
}

void checkWildcard(const std::string& lastElement, const std::string& name)
{
    WildcardPattern pattern;
    try {
        pattern = WildcardPattern::split(lastElement);
    } catch (const CodedFailure& failure) {
        const int code = failure.code;
        require(code == ERROR_WILDCARD_NOT_LAST);
        require(lastElement.find('*') == std::string::npos);
        return;
    }
    require(pattern.prefix.find('*') == std::string::npos);
    require(pattern.prefix.size() + pattern.suffix.size() < lastElement.size());
    if (pattern.matches(name)) {
        require(name.find('.') != std::string::npos);
        require(startsWith(name, pattern.prefix));
        require(endsWith(name, pattern.suffix));
    }
    // A pattern matches its own text, stars taken as themselves.
    if (lastElement.find('.') != std::string::npos)
        require(pattern.matches(lastElement));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto lineEnd = input.find('\n');
    const std::string text = input.substr(0, lineEnd);
    const std::string name = lineEnd == std::string::npos ? std::string() : input.substr(lineEnd + 1);

    const ConfiguredPathText parts = ConfiguredPathText::split(text);
    checkForm(text, parts);

    const std::string path = parts.sourcePath;
    const std::string directory = pathWithoutLastElement(path);
    require(startsWith(path, directory));
    require(directory.empty() == (path.find('/') == std::string::npos));
    std::string lastElement;
    try {
        lastElement = lastElementOfPath(path);
    } catch (const CodedFailure& failure) {
        const int code = failure.code;
        require(code == ERROR_PATH_WITHOUT_DOT);
        require(!directory.empty() && path.substr(directory.size()).find('.') == std::string::npos);
        return 0;
    }
    require(directory + lastElement == path);
    require(lastElement.find('/') == std::string::npos);
    checkWildcard(lastElement, name);
    return 0;
}
