#include "tests/doubles/ArchiveFileHelpers.h"

#include "platform/posix/FullIo.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <random>

namespace archive_file_testing {

std::string readDescriptor(int descriptor)
{
    std::string data;
    char chunk[4096];
    std::size_t count = sizeof chunk;
    while (count == sizeof chunk && !platform::readFully(descriptor, chunk, sizeof chunk, &count))
        data.append(chunk, count);
    return data;
}

int writeZip(ArchiveFile& file, const std::map<std::string, std::string>& entries)
{
    zlib_filefunc64_def functions = file.fileFunctions();
    zipFile zip = zipOpen2_64("ignored.zip", APPEND_STATUS_CREATE, nullptr, &functions);
    if (zip == nullptr)
        return ZIP_ERRNO;
    int result = ZIP_OK;
    for (const auto& [name, data] : entries) {
        int step = zipOpenNewFileInZip64(zip, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                         Z_DEFAULT_COMPRESSION, 0);
        if (step == ZIP_OK)
            step = zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size()));
        if (step == ZIP_OK)
            step = zipCloseFileInZip(zip);
        if (step != ZIP_OK) {
            result = step;
            break;
        }
    }
    int closed = zipClose(zip, nullptr);
    return result != ZIP_OK ? result : closed;
}

std::string incompressibleBytes(std::size_t length)
{
    std::mt19937 generator(42);
    std::string bytes(length, '\0');
    for (auto& byte : bytes)
        byte = static_cast<char>(generator() & 0xff);
    return bytes;
}

bool isHiddenArchiveName(const std::string& name)
{
    const std::string prefix = ".Telvarin_", suffix = ".zip.part";
    if (name.size() != prefix.size() + 6 + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    return std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end() - static_cast<long>(suffix.size()),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::string creationName(const ::testing::TestParamInfo<ArchiveFile::Creation>& kind)
{
    return kind.param == ArchiveFile::Creation::hiddenName ? "HiddenName" : "Unnamed";
}

} // namespace archive_file_testing
