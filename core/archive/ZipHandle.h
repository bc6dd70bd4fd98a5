#pragma once
// minizip's zipFile, closed exactly once. close() writes the central
// directory and says whether minizip could; an owner dropped while still
// open closes it unchecked, for an archive that is being abandoned anyway.

#include <minizip/zip.h>

class ZipHandle {
public:
    ZipHandle() = default;
    explicit ZipHandle(zipFile handle) : handle_(handle) {}
    ~ZipHandle();
    ZipHandle(ZipHandle&& other) noexcept;
    ZipHandle& operator=(ZipHandle&& other) noexcept;
    ZipHandle(const ZipHandle&) = delete;
    ZipHandle& operator=(const ZipHandle&) = delete;

    zipFile get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // True when the archive's end was written; the handle is closed either way.
    [[nodiscard]] bool close() noexcept;

private:
    zipFile handle_ = nullptr;
};
