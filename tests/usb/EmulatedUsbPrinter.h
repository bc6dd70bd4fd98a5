#pragma once
// USB printers emulated below libusb: a umockdev testbed holds each device's
// sysfs entry and raw descriptors, and an in-process handler answers the
// usbfs ioctls of its device node (claims, alternate settings, bulk URBs)
// from a scripted PrinterBehaviour. Any process started with the umockdev
// preload library and this testbed's UMOCKDEV_DIR sees the devices.

#include "tests/doubles/SimulatedPrinter.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

namespace testing_support {

// The raw descriptors of a device as sysfs shows them: the device descriptor
// followed by its one configuration with every interface and endpoint.
std::string usbDescriptorsOf(const SimulatedDevice& device);

class EmulatedUsbPrinter {
public:
    explicit EmulatedUsbPrinter(std::string deviceNode);
    ~EmulatedUsbPrinter();
    EmulatedUsbPrinter(const EmulatedUsbPrinter&) = delete;
    EmulatedUsbPrinter& operator=(const EmulatedUsbPrinter&) = delete;

    PrinterBehaviour printer;

    // Another program holds the interface for this many claims.
    void setBusyClaims(int claims);
    // The device goes away after this many bulk writes.
    void setDisconnectAfterWrites(int writes);

    // What the device saw, one line per event: "claim 0 except usbfs"
    // (claimed with the kernel driver set aside), "release 0", "driver bound 0",
    // "alternate setting 0 1", "write a5 00 07", "read 300", "read done 2",
    // "read timed out", "unhandled ioctl ...".
    std::vector<std::string> events() const;
    int eventCount(const std::string& prefix) const;
    const std::string& deviceNode() const { return deviceNode_; }
    UMockdevIoctlBase* handler() const { return handler_; }

private:
    struct Urb;
    bool handle(UMockdevIoctlClient* client);
    bool reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    void record(std::string event);
    static int handleIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);

    std::string deviceNode_;
    UMockdevIoctlBase* handler_;
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
    std::vector<std::unique_ptr<Urb>> urbs_;
    int busyClaims_ = 0;
    int disconnectAfterWrites_ = -1;
    int writes_ = 0;
};

// The testbed: created before any libusb context of the test, removed with
// everything in it when the object goes.
class EmulatedUsbBus {
public:
    EmulatedUsbBus();
    ~EmulatedUsbBus();
    EmulatedUsbBus(const EmulatedUsbBus&) = delete;
    EmulatedUsbBus& operator=(const EmulatedUsbBus&) = delete;

    // Plugs in a device; its usbfs node answers from the returned printer.
    EmulatedUsbPrinter& plugIn(const SimulatedDevice& device);
    // The directory that UMOCKDEV_DIR names for child processes.
    std::string directory() const;

private:
    UMockdevTestbed* testbed_;
    std::vector<std::unique_ptr<EmulatedUsbPrinter>> printers_;
};

// Whether this process runs with the umockdev preload library.
bool inEmulatedUsbEnvironment();

} // namespace testing_support
