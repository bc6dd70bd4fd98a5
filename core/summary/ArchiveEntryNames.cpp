#include "ArchiveEntryNames.h"

#include <minizip/unzip.h>

#include <memory>

namespace {

struct UnzipCloser {
    void operator()(void* archive) const { unzClose(archive); }
};

} // namespace

std::optional<std::vector<std::string>> readArchiveEntryNames(const std::string& path)
{
    std::unique_ptr<void, UnzipCloser> archive(unzOpen64(path.c_str()));
    if (!archive)
        return std::nullopt;
    std::vector<std::string> names;
    for (int status = unzGoToFirstFile(archive.get()); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(archive.get())) {
        if (status != UNZ_OK)
            return std::nullopt;
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(archive.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return std::nullopt;
        // The name field is at most 65535 bytes long.
        std::string name(info.size_filename, '\0');
        if (unzGetCurrentFileInfo64(archive.get(), &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0,
                                    nullptr, 0) != UNZ_OK)
            return std::nullopt;
        names.push_back(std::move(name));
    }
    return names;
}
