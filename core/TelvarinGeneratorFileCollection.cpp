// Placeholder until the configured files are collected.
#include "core/TelvarinGenerator.h"

std::list<std::string> TelvarinGenerator::accessXmlDictionaryElement(const char*, XmlDictionary) { return {}; }
void TelvarinGenerator::addXmlSpecifiedFilesToZip(XmlDictionary, void*) {}
void TelvarinGenerator::addFilesRelativeToPath(std::list<std::string>, std::string, void*) {}
int TelvarinGenerator::addFilesFromAsterickedPath(std::string, std::string, void*) { return 0; }
std::string TelvarinGenerator::getLastElementFromPath(std::string path) { return path; }
std::string TelvarinGenerator::getPathWithoutLastElement(std::string) { return {}; }
