// Arbitrary bytes as data.xml: the parse and the fold must end in sections or
// in code 5 or 6, never in a crash, a hang or a sanitizer report, and every
// text they give must follow the white-space rules.
#include "base/ErrorCodes.h"
#include "core/filelist/XmlParserClass.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool isWhiteSpace(char character)
{
    return character == ' ' || character == '\t' || character == '\n' || character == '\v' || character == '\f' ||
           character == '\r';
}

// Non-empty, trimmed, and inner white space only as single blanks.
bool isCondensed(const std::string& text)
{
    if (text.empty() || isWhiteSpace(text.front()) || isWhiteSpace(text.back()))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isWhiteSpace(text[i]) && text[i] != ' ')
            return false;
        if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::map<std::string, std::list<std::string>> sections;
    try {
        sections = XmlParserClass::getSingleLevelDepthXmlDictFromBuffer(reinterpret_cast<const char*>(data), size);
    } catch (const CodedFailure& failure) {
        const int code = failure.code;
        if (code != ERROR_DATA_XML_NOT_LOADED && code != ERROR_DATA_XML_DUPLICATE_SECTION)
            std::abort();
        return 0;
    }
    // A loaded document always yields at least one section; the empty name
    // only when there is no other.
    if (sections.empty() || (sections.count("") != 0 && sections.size() != 1))
        std::abort();
    for (const auto& [name, texts] : sections)
        for (const auto& text : texts)
            if (!isCondensed(text))
                std::abort();
    return 0;
}
