#include "core/archive/ZipHandle.h"

#include <utility>

ZipHandle::~ZipHandle()
{
    if (handle_)
        zipClose(handle_, nullptr);
}

ZipHandle::ZipHandle(ZipHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

ZipHandle& ZipHandle::operator=(ZipHandle&& other) noexcept
{
    if (this != &other) {
        if (handle_)
            zipClose(handle_, nullptr);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

bool ZipHandle::close() noexcept
{
    zipFile handle = std::exchange(handle_, nullptr);
    return handle != nullptr && zipClose(handle, nullptr) == ZIP_OK;
}
