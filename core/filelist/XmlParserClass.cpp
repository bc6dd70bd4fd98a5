#include "XmlParserClass.h"

#include "BoundedRead.h"
#include "ErrorCodes.h"
#include "FileDescriptor.h"

#include <tinyxml2.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

namespace {

const char ELEMENT_ITEM = 'E';
const char TEXT_ITEM = 'T';

bool isWhiteSpace(char character)
{
    // The characters the XML library condenses, so that every text follows
    // one rule whatever construct it came from.
    switch (character) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
        return true;
    default:
        return false;
    }
}

// White space dropped at both ends and every inner run made one blank. The
// library does this for ordinary text already, but leaves CDATA as written
// and keeps a text that an entity made of white space alone.
std::string condenseWhiteSpace(const char* text)
{
    std::string condensed;
    bool pendingBlank = false;
    for (const char* at = text; *at != '\0'; ++at) {
        if (isWhiteSpace(*at)) {
            pendingBlank = !condensed.empty();
            continue;
        }
        if (pendingBlank)
            condensed += ' ';
        pendingBlank = false;
        condensed += *at;
    }
    return condensed;
}

void appendItemOfNode(const tinyxml2::XMLNode* node, unsigned int depth, std::list<XmlItem>* items)
{
    // Depths beyond an int cannot come from a parsed document (the library
    // refuses deep nesting); clamp rather than wrap for any other caller.
    constexpr int DEEPEST = std::numeric_limits<int>::max();
    const int itemDepth = depth > static_cast<unsigned int>(DEEPEST) ? DEEPEST : static_cast<int>(depth);
    if (const tinyxml2::XMLElement* element = node->ToElement()) {
        items->push_back({{ELEMENT_ITEM, itemDepth}, element->Name()});
    } else if (const tinyxml2::XMLText* text = node->ToText()) {
        std::string value = condenseWhiteSpace(text->Value());
        // White space alone is layout, not a value.
        if (!value.empty())
            items->push_back({{TEXT_ITEM, itemDepth}, std::move(value)});
    }
}

// The whole file, when it is a regular file of at most `limit` bytes; code 5
// otherwise. O_NONBLOCK keeps a FIFO at the path from stalling the run.
std::string readDocumentFile(const char* path, std::size_t limit)
{
    platform::FileDescriptor file(::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!file || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        throw ERROR_DATA_XML_NOT_LOADED;
    platform::BoundedRead contents = platform::readAtMost(file.get(), limit);
    if (contents.outcome != platform::BoundedReadOutcome::complete)
        throw ERROR_DATA_XML_NOT_LOADED;
    return std::move(contents.data);
}

} // namespace

void XmlParserClass::getItemsRecursively(const tinyxml2::XMLNode* node, std::list<XmlItem>* items,
                                         unsigned int depth)
{
    if (node == nullptr)
        return;
    // Pre-order walk with a stack of the nodes still to visit instead of a
    // call per level, so that no tree, however deep, can exhaust the stack.
    appendItemOfNode(node, depth, items);
    std::vector<std::pair<const tinyxml2::XMLNode*, unsigned int>> pending;
    if (const tinyxml2::XMLNode* child = node->FirstChild())
        pending.emplace_back(child, depth + 1);
    while (!pending.empty()) {
        auto [current, level] = pending.back();
        pending.pop_back();
        appendItemOfNode(current, level, items);
        // The sibling waits below the children, which are visited first.
        if (const tinyxml2::XMLNode* sibling = current->NextSibling())
            pending.emplace_back(sibling, level);
        if (const tinyxml2::XMLNode* child = current->FirstChild())
            pending.emplace_back(child, level + 1);
    }
}

XmlDictionary XmlParserClass::foldItemsIntoDictionary(const std::list<XmlItem>& items)
{
    XmlDictionary dictionary;
    std::string sectionName;
    std::list<std::string> texts;
    bool firstSection = true;

    auto storeCurrentSection = [&] {
        if (dictionary.count(sectionName) != 0)
            throw ERROR_DATA_XML_DUPLICATE_SECTION;
        dictionary.emplace(sectionName, std::move(texts));
        texts.clear();
    };

    for (const auto& [kindAndDepth, text] : items) {
        const auto [kind, depth] = kindAndDepth;
        if (kind == ELEMENT_ITEM && depth == 2) {
            // Texts met before the first section belong to it.
            if (firstSection)
                firstSection = false;
            else
                storeCurrentSection();
            sectionName = text;
        } else if (kind == TEXT_ITEM) {
            texts.push_back(text);
        }
    }
    storeCurrentSection();
    return dictionary;
}

XmlDictionary XmlParserClass::getSingleLevelDepthXmlDictFromBuffer(const char* data,
                                                                                                    std::size_t size)
{
    if (data == nullptr || size == 0 || size > MAXIMUM_DOCUMENT_SIZE)
        throw ERROR_DATA_XML_NOT_LOADED;
    // The library stops at a NUL byte and would take what stands before it
    // for the whole document; a NUL has no place in XML.
    if (std::memchr(data, '\0', size) != nullptr)
        throw ERROR_DATA_XML_NOT_LOADED;

    tinyxml2::XMLDocument document(true, tinyxml2::COLLAPSE_WHITESPACE);
    // Also refuses nesting deeper than the library's limit.
    if (document.Parse(data, size) != tinyxml2::XML_SUCCESS)
        throw ERROR_DATA_XML_NOT_LOADED;

    std::list<XmlItem> items;
    getItemsRecursively(&document, &items, 0);
    return foldItemsIntoDictionary(items);
}

XmlDictionary XmlParserClass::getSingleLevelDepthXmlDict(const char* path)
{
    if (path == nullptr)
        throw ERROR_DATA_XML_NOT_LOADED;
    const std::string contents = readDocumentFile(path, MAXIMUM_DOCUMENT_SIZE);
    return getSingleLevelDepthXmlDictFromBuffer(contents.data(), contents.size());
}
