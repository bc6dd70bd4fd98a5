// Placeholder until the file list is read: both sections empty.
#include "core/XmlParserClass.h"

#include "core/ErrorCodes.h"
#include "core/FileReaderClass.h"

void XmlParserClass::getItemsRecursively(const tinyxml2::XMLNode*, std::list<XmlItem>*, unsigned int) {}

std::map<std::string, std::list<std::string>> XmlParserClass::getSingleLevelDepthXmlDict(const char* path)
{
    if (path == nullptr)
        throw ERROR_DATA_XML_NOT_LOADED;
    return {{"Absolute_Path_Files", {}}, {"Home_Path_Files", {}}};
}
