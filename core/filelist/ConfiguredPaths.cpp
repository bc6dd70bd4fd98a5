#include "core/filelist/ConfiguredPaths.h"

#include "base/ErrorCodes.h"
#include "core/strings/BasicStringAlgorithmsClass.h"

ConfiguredPathText ConfiguredPathText::split(const std::string& text)
{
    ConfiguredPathText parts;
    const auto comma = text.find(',');
    if (comma == std::string::npos || comma + 1 == text.size()) {
        parts.sourcePath = text;
        return parts;
    }
    parts.sourcePath = text.substr(0, comma);
    parts.hasDestinationFolder = true;
    parts.destinationFolder = BasicStringAlgorithmsClass::getStringStrippedFromTheBeginning(text.substr(comma + 1));
    return parts;
}

WildcardPattern WildcardPattern::split(const std::string& lastElement)
{
    const auto star = lastElement.find('*');
    if (star == std::string::npos)
        throw CodedFailure{ERROR_WILDCARD_NOT_LAST};
    WildcardPattern pattern{lastElement.substr(0, star), lastElement.substr(star + 1)};
    // "*.*" and "printer*.*" mean every name with an extension, as everyone
    // reads them; taken literally the second "*" would match only names
    // ending in ".*". The name's "." is required anyway.
    if (pattern.suffix == ".*")
        pattern.suffix.clear();
    return pattern;
}

bool WildcardPattern::matches(const std::string& name) const
{
    return name.find('.') != std::string::npos &&
           BasicStringAlgorithmsClass::doesStringStartWithTestString(name, prefix) &&
           BasicStringAlgorithmsClass::doesStringEndWithTestString(name, suffix);
}

std::string lastElementOfPath(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return path;
    std::string lastElement = path.substr(slash + 1);
    if (lastElement.find('.') == std::string::npos)
        throw CodedFailure{ERROR_PATH_WITHOUT_DOT};
    return lastElement;
}

std::string pathWithoutLastElement(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return path.substr(0, slash + 1);
}
