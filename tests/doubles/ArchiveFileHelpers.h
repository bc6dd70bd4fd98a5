#pragma once
// Helpers of the suites that test the archive's file: writing a zip through
// an ArchiveFile, the names it hides under and reading a descriptor.

#include "core/archive/ArchiveFile.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace archive_file_testing {

std::string readDescriptor(int descriptor);
// A zip of the given entries through the file's descriptor functions; the
// first minizip result that is not ZIP_OK, or ZIP_OK.
int writeZip(ArchiveFile& file, const std::map<std::string, std::string>& entries);
// Bytes that deflate cannot shrink.
std::string incompressibleBytes(std::size_t length);
// Whether the name is one an unfinished archive hides under.
bool isHiddenArchiveName(const std::string& name);
// "Unnamed" or "HiddenName", for the suites run with both kinds of file.
std::string creationName(const ::testing::TestParamInfo<ArchiveFile::Creation>& kind);

} // namespace archive_file_testing
