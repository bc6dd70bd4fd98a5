// The USB layer on libusb-1.0. A session is a libusb context of its own, so
// that nothing outlives the call that gave the session back.
#include "platform/UsbStack.h"

#include <libusb.h>

#include <cerrno>

namespace platform {
namespace {

libusb_context* contextOf(UsbSession session)
{
    return reinterpret_cast<libusb_context*>(static_cast<std::uintptr_t>(session));
}

libusb_device* deviceOf(UsbDevice device)
{
    return reinterpret_cast<libusb_device*>(static_cast<std::uintptr_t>(device));
}

libusb_device_handle* handleOf(UsbConnection connection)
{
    return reinterpret_cast<libusb_device_handle*>(static_cast<std::uintptr_t>(connection));
}

UsbStatus statusOf(int result)
{
    switch (result) {
    case LIBUSB_SUCCESS:
        return UsbStatus::success;
    case LIBUSB_ERROR_BUSY:
        return UsbStatus::exclusiveAccess;
    default:
        return UsbStatus::failedWith(result);
    }
}

// The active configuration's descriptor, given back when it goes out of scope.
class ActiveConfiguration {
public:
    explicit ActiveConfiguration(libusb_device_handle* handle)
    {
        if (libusb_get_active_config_descriptor(libusb_get_device(handle), &descriptor_) != LIBUSB_SUCCESS)
            descriptor_ = nullptr;
    }
    ~ActiveConfiguration()
    {
        if (descriptor_)
            libusb_free_config_descriptor(descriptor_);
    }
    ActiveConfiguration(const ActiveConfiguration&) = delete;
    ActiveConfiguration& operator=(const ActiveConfiguration&) = delete;

    const libusb_config_descriptor* get() const { return descriptor_; }

    const libusb_interface_descriptor* alternateSetting(int interfaceNumber, int alternateSetting) const
    {
        if (!descriptor_)
            return nullptr;
        for (int i = 0; i < descriptor_->bNumInterfaces; ++i) {
            const libusb_interface& interface = descriptor_->interface[i];
            for (int a = 0; a < interface.num_altsetting; ++a) {
                const libusb_interface_descriptor& setting = interface.altsetting[a];
                if (setting.bInterfaceNumber == interfaceNumber && setting.bAlternateSetting == alternateSetting)
                    return &setting;
            }
        }
        return nullptr;
    }

private:
    libusb_config_descriptor* descriptor_ = nullptr;
};

// The device list of a context, given back when it goes out of scope.
class DeviceList {
public:
    explicit DeviceList(libusb_context* context) : count_(libusb_get_device_list(context, &devices_)) {}
    ~DeviceList()
    {
        if (count_ >= 0)
            libusb_free_device_list(devices_, 1);
    }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    // The number of devices, or libusb's negative error code.
    ssize_t count() const { return count_; }
    libusb_device* operator[](ssize_t index) const { return devices_[index]; }

private:
    libusb_device** devices_ = nullptr;
    ssize_t count_;
};

class LibusbStack final : public UsbStack {
public:
    UsbStatus openSession(UsbSession* session) override
    {
        libusb_context* context = nullptr;
        // libusb answers only LIBUSB_ERROR_OTHER when the descriptor, pipe or
        // thread it starts with cannot be had; the reason is the errno of
        // that failing call, taken here where it happened.
        errno = 0;
        int result = libusb_init(&context);
        if (result != LIBUSB_SUCCESS)
            return UsbStatus::failedWith(result, errno);
        *session = static_cast<UsbSession>(reinterpret_cast<std::uintptr_t>(context));
        return UsbStatus::success;
    }

    void closeSession(UsbSession session) override
    {
        if (session != UsbSession::none)
            libusb_exit(contextOf(session));
    }

    UsbStatus listDevices(UsbSession session, std::vector<UsbDeviceEntry>* devices) override
    {
        DeviceList list(contextOf(session));
        if (list.count() < 0)
            return statusOf(static_cast<int>(list.count()));
        for (ssize_t i = 0; i < list.count(); ++i) {
            UsbDeviceEntry entry;
            libusb_device_descriptor descriptor{};
            if (libusb_get_device_descriptor(list[i], &descriptor) == LIBUSB_SUCCESS) {
                entry.vendorId = descriptor.idVendor;
                entry.productId = descriptor.idProduct;
            }
            devices->push_back(entry);
        }
        return UsbStatus::success;
    }

    UsbStatus findDevice(UsbSession session, int vendorId, int productId, UsbDevice* device) override
    {
        DeviceList list(contextOf(session));
        if (list.count() < 0)
            return statusOf(static_cast<int>(list.count()));
        for (ssize_t i = 0; i < list.count(); ++i) {
            libusb_device_descriptor descriptor{};
            if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS)
                continue;
            if (descriptor.idVendor == vendorId && descriptor.idProduct == productId) {
                *device = static_cast<UsbDevice>(reinterpret_cast<std::uintptr_t>(libusb_ref_device(list[i])));
                return UsbStatus::success;
            }
        }
        return UsbStatus::failure;
    }

    void releaseDevice(UsbDevice device) override
    {
        if (device != UsbDevice::none)
            libusb_unref_device(deviceOf(device));
    }

    UsbStatus openDevice(UsbDevice device, UsbConnection* connection) override
    {
        libusb_device_handle* handle = nullptr;
        int result = libusb_open(deviceOf(device), &handle);
        if (result != LIBUSB_SUCCESS)
            return statusOf(result);
        // The kernel's printer driver is set aside only while we hold the
        // interface, and bound again when we let go of it.
        libusb_set_auto_detach_kernel_driver(handle, 1);
        *connection = static_cast<UsbConnection>(reinterpret_cast<std::uintptr_t>(handle));
        return UsbStatus::success;
    }

    void closeDevice(UsbConnection connection) override
    {
        if (connection != UsbConnection::none)
            libusb_close(handleOf(connection));
    }

    UsbStatus findInterface(UsbConnection connection, std::uint8_t interfaceClass, int* interfaceNumber) override
    {
        ActiveConfiguration configuration(handleOf(connection));
        const libusb_config_descriptor* descriptor = configuration.get();
        if (!descriptor)
            return UsbStatus::failure;
        for (int i = 0; i < descriptor->bNumInterfaces; ++i) {
            const libusb_interface& interface = descriptor->interface[i];
            for (int a = 0; a < interface.num_altsetting; ++a) {
                if (interface.altsetting[a].bInterfaceClass == interfaceClass) {
                    *interfaceNumber = interface.altsetting[a].bInterfaceNumber;
                    return UsbStatus::success;
                }
            }
        }
        return UsbStatus::failure;
    }

    UsbStatus claimInterface(UsbConnection connection, int interfaceNumber) override
    {
        // With automatic detaching, libusb sets aside a kernel driver but
        // never an interface that another program has claimed: that one
        // answers LIBUSB_ERROR_BUSY.
        return statusOf(libusb_claim_interface(handleOf(connection), interfaceNumber));
    }

    void releaseInterface(UsbConnection connection, int interfaceNumber) override
    {
        libusb_release_interface(handleOf(connection), interfaceNumber);
    }

    UsbStatus endpointCount(UsbConnection connection, int interfaceNumber, int alternateSetting,
                            std::uint8_t* count) override
    {
        ActiveConfiguration configuration(handleOf(connection));
        const libusb_interface_descriptor* setting = configuration.alternateSetting(interfaceNumber, alternateSetting);
        if (!setting)
            return UsbStatus::failure;
        *count = setting->bNumEndpoints;
        return UsbStatus::success;
    }

    UsbStatus selectAlternateSetting(UsbConnection connection, int interfaceNumber, int alternateSetting) override
    {
        return statusOf(libusb_set_interface_alt_setting(handleOf(connection), interfaceNumber, alternateSetting));
    }

    UsbStatus pipeProperties(UsbConnection connection, int interfaceNumber, int alternateSetting, int pipe,
                             UsbPipeProperties* properties) override
    {
        ActiveConfiguration configuration(handleOf(connection));
        const libusb_interface_descriptor* setting = configuration.alternateSetting(interfaceNumber, alternateSetting);
        if (!setting || pipe < 1 || pipe > setting->bNumEndpoints)
            return UsbStatus::failure;
        const libusb_endpoint_descriptor& endpoint = setting->endpoint[pipe - 1];
        properties->address = endpoint.bEndpointAddress;
        properties->direction = (endpoint.bEndpointAddress & LIBUSB_ENDPOINT_IN) ? USB_DIRECTION_IN : USB_DIRECTION_OUT;
        properties->transferType = endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
        return UsbStatus::success;
    }

    UsbStatus bulkWrite(UsbConnection connection, std::uint8_t endpoint, const std::uint8_t* data, int length,
                        unsigned timeoutMilliseconds) override
    {
        int transferred = 0;
        // libusb takes one buffer type for both directions; it only reads an OUT buffer.
        int result = libusb_bulk_transfer(handleOf(connection), endpoint, const_cast<std::uint8_t*>(data), length,
                                          &transferred, timeoutMilliseconds);
        if (result != LIBUSB_SUCCESS)
            return statusOf(result);
        return transferred == length ? UsbStatus::success : UsbStatus::failure;
    }

    UsbStatus bulkRead(UsbConnection connection, std::uint8_t endpoint, std::uint8_t* buffer, int capacity,
                       int* received, unsigned timeoutMilliseconds) override
    {
        int transferred = 0;
        int result =
            libusb_bulk_transfer(handleOf(connection), endpoint, buffer, capacity, &transferred, timeoutMilliseconds);
        if (result != LIBUSB_SUCCESS)
            return statusOf(result);
        *received = transferred;
        return UsbStatus::success;
    }
};

} // namespace

UsbStack& realUsb()
{
    static LibusbStack instance;
    return instance;
}

} // namespace platform
