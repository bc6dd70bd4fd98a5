#pragma once
// The USB operations that printer discovery and the printer transport need,
// as a thin layer of our own over the system's USB library. Everything the
// layer hands out (a session, a held device, an open connection, a claimed
// interface) is given back explicitly by its caller; the layer never throws.
// The USB library's own codes are translated here, at the edge.

#include <cstdint>
#include <optional>
#include <system_error>
#include <vector>

namespace platform {

// What one call of the layer came to: the layer's one result type. A failure
// keeps the USB stack's own (non-zero) result code, which the report shows
// when the device registry cannot be read; everything else only tells
// success, a busy interface and failure apart.
class UsbStatus {
public:
    enum class Outcome { success, exclusiveAccess, failure };

    static const UsbStatus success;
    // Another program holds the interface; it may let go later.
    static const UsbStatus exclusiveAccess;
    // A failure without a result code of its own.
    static const UsbStatus failure;
    // A failure with the stack's own code and, where the system gave one,
    // its reason (an errno: too many open files, no more threads).
    static constexpr UsbStatus failedWith(int stackCode, int systemErrno = 0)
    {
        return {Outcome::failure, stackCode != 0 ? stackCode : -1, systemErrno};
    }

    constexpr Outcome outcome() const { return outcome_; }
    constexpr bool succeeded() const { return outcome_ == Outcome::success; }
    // The stack's own code of a failure; 0 for any other outcome.
    constexpr int stackCode() const { return stackCode_; }
    // The system's reason for a failure; empty when it gave none.
    std::error_code systemError() const
    {
        return systemErrno_ == 0 ? std::error_code() : std::error_code(systemErrno_, std::system_category());
    }
    // Outcomes compare, whatever code a failure carries.
    friend constexpr bool operator==(UsbStatus left, UsbStatus right) { return left.outcome_ == right.outcome_; }

private:
    constexpr UsbStatus(Outcome outcome, int stackCode, int systemErrno = 0)
        : outcome_(outcome),
          stackCode_(stackCode),
          systemErrno_(systemErrno)
    {
    }

    Outcome outcome_;
    int stackCode_;
    int systemErrno_;
};

inline constexpr UsbStatus UsbStatus::success{Outcome::success, 0};
inline constexpr UsbStatus UsbStatus::exclusiveAccess{Outcome::exclusiveAccess, 0};
inline constexpr UsbStatus UsbStatus::failure{Outcome::failure, -1};

// One device as the registry lists it. An ID is absent when the device's
// descriptor could not be read.
struct UsbDeviceEntry {
    std::optional<int> vendorId;
    std::optional<int> productId;
};

// Opaque handles; `none` is never a valid one.
enum class UsbSession : std::uintptr_t { none = 0 };    // a connection to the USB stack itself
enum class UsbDevice : std::uintptr_t { none = 0 };     // a device of the registry, held
enum class UsbConnection : std::uintptr_t { none = 0 }; // a device opened for transfers

constexpr std::uint8_t USB_PRINTER_CLASS = 7;
constexpr std::uint8_t USB_DIRECTION_OUT = 0;
constexpr std::uint8_t USB_DIRECTION_IN = 1;
constexpr std::uint8_t USB_TRANSFER_CONTROL = 0;
constexpr std::uint8_t USB_TRANSFER_ISOCHRONOUS = 1;
constexpr std::uint8_t USB_TRANSFER_BULK = 2;
constexpr std::uint8_t USB_TRANSFER_INTERRUPT = 3;

// What the transport needs of one endpoint ("pipe") of an alternate setting.
struct UsbPipeProperties {
    std::uint8_t direction = USB_DIRECTION_OUT; // USB_DIRECTION_OUT or USB_DIRECTION_IN
    std::uint8_t transferType = USB_TRANSFER_CONTROL;
    std::uint8_t address = 0; // endpoint address as transfers take it (number, bit 7 set for IN)
};

class UsbStack {
public:
    virtual ~UsbStack() = default;

    // A session with the USB stack, needed for everything below. A failure
    // carries the system's reason where there was one (too few descriptors
    // or threads left to start the stack).
    virtual UsbStatus openSession(UsbSession* session) = 0;
    virtual void closeSession(UsbSession session) = 0;

    // Every connected device, in the system's order.
    virtual UsbStatus listDevices(UsbSession session, std::vector<UsbDeviceEntry>* devices) = 0;

    // The first device in the system's order with both IDs, held until released.
    virtual UsbStatus findDevice(UsbSession session, int vendorId, int productId, UsbDevice* device) = 0;
    virtual void releaseDevice(UsbDevice device) = 0;

    virtual UsbStatus openDevice(UsbDevice device, UsbConnection* connection) = 0;
    virtual void closeDevice(UsbConnection connection) = 0;

    // The number of the first interface of the class in the device's active
    // configuration.
    virtual UsbStatus findInterface(UsbConnection connection, std::uint8_t interfaceClass, int* interfaceNumber) = 0;

    // Exclusive use of an interface. A kernel driver bound to it is set aside
    // and bound again on release; an interface that another program holds
    // answers exclusiveAccess and is left alone.
    virtual UsbStatus claimInterface(UsbConnection connection, int interfaceNumber) = 0;
    virtual void releaseInterface(UsbConnection connection, int interfaceNumber) = 0;

    // Endpoints of one alternate setting of a claimed interface; pipes are
    // numbered from 1 in descriptor order.
    virtual UsbStatus endpointCount(UsbConnection connection, int interfaceNumber, int alternateSetting,
                                    std::uint8_t* count) = 0;
    virtual UsbStatus selectAlternateSetting(UsbConnection connection, int interfaceNumber, int alternateSetting) = 0;
    virtual UsbStatus pipeProperties(UsbConnection connection, int interfaceNumber, int alternateSetting, int pipe,
                                     UsbPipeProperties* properties) = 0;

    // Bulk transfers; a time-out of 0 waits for ever. A read delivers up to
    // `capacity` bytes and sets `received` on success.
    virtual UsbStatus bulkWrite(UsbConnection connection, std::uint8_t endpoint, const std::uint8_t* data, int length,
                                unsigned timeoutMilliseconds) = 0;
    virtual UsbStatus bulkRead(UsbConnection connection, std::uint8_t endpoint, std::uint8_t* buffer, int capacity,
                               int* received, unsigned timeoutMilliseconds) = 0;
};

// The USB stack of this machine (libusb).
UsbStack& realUsb();

} // namespace platform
