#pragma once
// Reads data.xml into its sections: a map from each second-level element's
// name to the texts found below it, in document order.

#include <list>
#include <map>
#include <string>
#include <utility>

namespace tinyxml2 {
class XMLNode;
}

using XmlItem = std::pair<std::pair<char, int>, std::string>;

class XmlParserClass {
public:
    XmlParserClass() = delete;

    static void getItemsRecursively(const tinyxml2::XMLNode* node, std::list<XmlItem>* items, unsigned int depth);
    static std::map<std::string, std::list<std::string>> getSingleLevelDepthXmlDict(const char* path);
};
