#include "core/filelist/XmlParserClass.h"

#include "base/CodedFailure.h"
#include "base/ErrorCodes.h"
#include "platform/posix/BoundedRead.h"
#include "platform/posix/FileDescriptor.h"

#include <tinyxml2.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string_view>
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

// Processing instructions and document type declarations are not the file
// list's business and append nothing. The XML library refuses a processing
// instruction anywhere but before the top element, and ends a document type
// declaration at its first ">", taking the rest of an internal subset for
// text. So, before parsing, each of them becomes an empty comment, which
// appends nothing either and still parts the texts around it. Comments,
// CDATA and tags are copied as they stand, so that a "<?" inside them stays
// theirs; the XML declaration is left to the library, which places it.
class MarkupNeutralizer {
public:
    explicit MarkupNeutralizer(std::string_view text) : text_(text) {}

    std::string result()
    {
        while (at_ < text_.size()) {
            const std::size_t open = text_.find('<', at_);
            if (open == std::string_view::npos) {
                copyTo(text_.size());
                break;
            }
            copyTo(open);
            const std::string_view rest = text_.substr(at_);
            if (rest.starts_with("<!--"))
                copyThrough("-->", 4);
            else if (rest.starts_with("<![CDATA["))
                copyThrough("]]>", 9);
            else if (rest.starts_with("<?"))
                processingInstruction();
            else if (rest.starts_with("<!DOCTYPE"))
                documentTypeDeclaration();
            else
                copyTo(endOfTag(at_ + 1));
        }
        return std::move(out_);
    }

private:
    static constexpr std::string_view EMPTY_COMMENT = "<!---->";
    static constexpr std::size_t NOT_FOUND = std::string_view::npos;

    void copyTo(std::size_t end)
    {
        out_.append(text_.substr(at_, end - at_));
        at_ = end;
    }

    // Copies up to and including `terminator`, searched from `skip` bytes on;
    // an unterminated construct is copied whole and left to the library.
    void copyThrough(std::string_view terminator, std::size_t skip)
    {
        const std::size_t end = text_.find(terminator, at_ + skip);
        copyTo(end == NOT_FOUND ? text_.size() : end + terminator.size());
    }

    void replaceThrough(std::size_t end)
    {
        out_ += EMPTY_COMMENT;
        at_ = end;
    }

    void processingInstruction()
    {
        const std::size_t end = text_.find("?>", at_ + 2);
        const std::string_view target = text_.substr(at_ + 2, 4);
        const bool declaration =
            target.starts_with("xml") && (target.size() == 3 || isWhiteSpace(target[3]) || target[3] == '?');
        if (end == NOT_FOUND || declaration)
            copyThrough("?>", 2);
        else
            replaceThrough(end + 2);
    }

    void documentTypeDeclaration()
    {
        const std::size_t end = endOfDocumentType(at_ + 9);
        if (end == NOT_FOUND)
            copyTo(text_.size());
        else
            replaceThrough(end);
    }

    // Past the closing quote of the literal that starts at `quote`.
    std::size_t endOfLiteral(std::size_t quote) const
    {
        const std::size_t end = text_.find(text_[quote], quote + 1);
        return end == NOT_FOUND ? NOT_FOUND : end + 1;
    }

    // Past the ">" of the tag whose name starts at `from`, quoted values skipped.
    std::size_t endOfTag(std::size_t from) const
    {
        for (std::size_t i = from; i < text_.size() && i != NOT_FOUND;) {
            if (text_[i] == '"' || text_[i] == '\'')
                i = endOfLiteral(i);
            else if (text_[i] == '>')
                return i + 1;
            else
                ++i;
        }
        return text_.size();
    }

    // Past the ">" that ends a document type declaration, its internal
    // subset (with its literals, comments and processing instructions)
    // included.
    std::size_t endOfDocumentType(std::size_t from) const
    {
        bool inSubset = false;
        std::size_t i = from;
        while (i < text_.size() && i != NOT_FOUND) {
            const std::string_view rest = text_.substr(i);
            if (rest[0] == '"' || rest[0] == '\'') {
                i = endOfLiteral(i);
            } else if (inSubset && rest.starts_with("<!--")) {
                i = text_.find("-->", i + 4);
                i = i == NOT_FOUND ? NOT_FOUND : i + 3;
            } else if (inSubset && rest.starts_with("<?")) {
                i = text_.find("?>", i + 2);
                i = i == NOT_FOUND ? NOT_FOUND : i + 2;
            } else if (rest[0] == '[' || rest[0] == ']') {
                inSubset = rest[0] == '[';
                ++i;
            } else if (rest[0] == '>' && !inSubset) {
                return i + 1;
            } else {
                ++i;
            }
        }
        return NOT_FOUND;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string out_;
};

// The whole file, when it is a regular file of at most `limit` bytes; code 5
// otherwise. O_NONBLOCK keeps a FIFO at the path from stalling the run.
std::string readDocumentFile(const char* path, std::size_t limit)
{
    auto failure = [path](int error) {
        return CodedFailure{ERROR_DATA_XML_NOT_LOADED, {FailedStep::loadFileList, path, error}};
    };
    platform::FileDescriptor file(::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!file || fstat(file.get(), &status) != 0)
        throw failure(errno);
    // A directory says so; any other special file is simply no file list.
    if (!S_ISREG(status.st_mode))
        throw failure(S_ISDIR(status.st_mode) ? EISDIR : 0);
    platform::BoundedRead contents = platform::readAtMost(file.get(), limit);
    if (contents.outcome != platform::BoundedReadOutcome::complete)
        throw failure(contents.outcome == platform::BoundedReadOutcome::tooLarge ? EFBIG : contents.error.value());
    return std::move(contents.data);
}

} // namespace

void XmlParserClass::getItemsRecursively(const tinyxml2::XMLNode* node, std::list<XmlItem>* items, unsigned int depth)
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
            throw CodedFailure{ERROR_DATA_XML_DUPLICATE_SECTION};
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

XmlDictionary XmlParserClass::getSingleLevelDepthXmlDictFromBuffer(const char* data, std::size_t size)
{
    if (data == nullptr || size == 0 || size > MAXIMUM_DOCUMENT_SIZE)
        throw CodedFailure{ERROR_DATA_XML_NOT_LOADED};
    // The library stops at a NUL byte and would take what stands before it
    // for the whole document; a NUL has no place in XML.
    if (std::memchr(data, '\0', size) != nullptr)
        throw CodedFailure{ERROR_DATA_XML_NOT_LOADED};

    const std::string neutralized = MarkupNeutralizer(std::string_view(data, size)).result();
    tinyxml2::XMLDocument document(true, tinyxml2::COLLAPSE_WHITESPACE);
    // Also refuses nesting deeper than the library's limit.
    if (document.Parse(neutralized.data(), neutralized.size()) != tinyxml2::XML_SUCCESS)
        throw CodedFailure{ERROR_DATA_XML_NOT_LOADED};

    std::list<XmlItem> items;
    getItemsRecursively(&document, &items, 0);
    return foldItemsIntoDictionary(items);
}

XmlDictionary XmlParserClass::getSingleLevelDepthXmlDict(const char* path)
{
    if (path == nullptr)
        throw CodedFailure{ERROR_DATA_XML_NOT_LOADED, {FailedStep::loadFileList, "", ENOENT}};
    const std::string contents = readDocumentFile(path, MAXIMUM_DOCUMENT_SIZE);
    try {
        return getSingleLevelDepthXmlDictFromBuffer(contents.data(), contents.size());
    } catch (const CodedFailure& failure) {
        // Read, but not a file list: the file says more than the code alone.
        if (failure.code == ERROR_DATA_XML_NOT_LOADED && !failure.hasDetail())
            throw CodedFailure{failure.code, {FailedStep::loadFileList, path, 0}};
        throw;
    }
}
