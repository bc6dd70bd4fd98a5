#pragma once
// Reads data.xml into its sections: a map from each second-level element's
// name to the texts found below it, in document order.

#include <cstddef>
#include <list>
#include <map>
#include <string>
#include <utility>

namespace tinyxml2 {
class XMLNode;
}

// (kind, depth) and a text: kind 'E' for an element (the text is its name),
// 'T' for a text (its content); depth 0 is the document, 1 a top-level element.
using XmlItem = std::pair<std::pair<char, int>, std::string>;

// Section name to the texts of that section, in document order.
using XmlDictionary = std::map<std::string, std::list<std::string>>;

class XmlParserClass {
public:
    XmlParserClass() = delete;

    // A file list names a few dozen paths in a few kilobytes; this allows
    // thousands. Anything larger is not a file list, and the parsed form of
    // a crafted one costs up to about 90 times its size in memory.
    static constexpr std::size_t MAXIMUM_DOCUMENT_SIZE = std::size_t{512} << 10;

    // Appends the items of `node` and of every node below it, in document
    // order; a null node adds nothing.
    static void getItemsRecursively(const tinyxml2::XMLNode* node, std::list<XmlItem>* items, unsigned int depth);
    // The sections of the file at `path`. Code 5 when it cannot be read or is
    // no well-formed document of at most MAXIMUM_DOCUMENT_SIZE bytes; code 6
    // when two sections share a name.
    static XmlDictionary getSingleLevelDepthXmlDict(const char* path);
    // The same from the document's bytes.
    static XmlDictionary getSingleLevelDepthXmlDictFromBuffer(const char* data, std::size_t size);
    // Folds an item list into sections (code 6 for a repeated section name).
    static XmlDictionary foldItemsIntoDictionary(const std::list<XmlItem>& items);
};
