#pragma once
// A simulated USB bus with the maker's printers on it, for the printer report's
// tests: the printer answers commands as scripted, with delays and failures,
// and every call of the USB layer is recorded.

#include "platform/Services.h"
#include "platform/UsbStack.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace testing_support {

// The bytes of a command or answer written as hexadecimal text ("A5 00 07").
std::string bytesOf(const std::string& hexText);
// Bytes as two lowercase digits each, blank-separated.
std::string hexOf(const std::string& bytes);

// How a printer answers the commands written to it: each command written
// queues its answer in the printer's output, which reads take from the front,
// one answer per read. Thread-safe: the emulated usbfs printer calls it from
// its own thread.
class PrinterBehaviour {
public:
    PrinterBehaviour();

    // The answer to one command (both as bytes). Commands without one get
    // defaultAnswer(command); by default two bytes, 0x06 and the command's last byte.
    void answer(const std::string& command, const std::string& reply);
    std::function<std::string(const std::string& command)> defaultAnswer;
    // The command is taken but never answered.
    void neverAnswer(const std::string& command);
    // The first `count` writes of the command go unanswered, so that its
    // answer misses the read after them.
    void ignoreFirstWrites(const std::string& command, int count);
    // The answer to the command only comes after `reads` reads found nothing.
    void delayAnswer(const std::string& command, int reads);
    // From the given write on (1-based), nothing is answered any more.
    void stopAnsweringFromWrite(int write);
    // Output waiting in the printer before anything was written (stale answers).
    void queueOutput(const std::string& bytes);

    // What the transport does to the printer.
    void commandWritten(const std::string& bytes);
    // The next answer, at most `capacity` bytes of it (the rest stays); none
    // when nothing is waiting. A read that is still waiting for its answer
    // checks again without counting as a further read.
    std::optional<std::string> takeOutput(std::size_t capacity, bool newRead = true);

    std::vector<std::string> writes() const;
    int readCount() const;
    std::size_t pendingOutputCount() const;

private:
    struct Pending {
        std::string bytes;
        int readsBeforeAvailable = 0;
    };
    mutable std::mutex mutex_;
    std::map<std::string, std::string> answers_;
    std::set<std::string> unanswered_;
    std::map<std::string, int> ignoredWrites_;
    std::map<std::string, int> delays_;
    int silentFromWrite_ = 0;
    std::deque<Pending> output_;
    std::vector<std::string> writes_;
    int reads_ = 0;
};

struct SimulatedEndpoint {
    std::uint8_t address = 0; // bit 7 set for IN
    std::uint8_t transferType = platform::USB_TRANSFER_BULK;
};

struct SimulatedInterface {
    int number = 0;
    std::uint8_t interfaceClass = platform::USB_PRINTER_CLASS;
    // The endpoints of alternate settings 0, 1, ...
    std::vector<std::vector<SimulatedEndpoint>> alternateSettings;
};

struct SimulatedDevice {
    std::optional<int> vendorId;
    std::optional<int> productId;
    std::vector<SimulatedInterface> interfaces;
};

// Services with only the USB stack set, for FakeMachine::install.
inline platform::Services usbServices(platform::UsbStack* usb)
{
    platform::Services services;
    services.usb = usb;
    return services;
}

// A printer of the maker: one printer-class interface with bulk OUT 0x01 and bulk IN 0x82.
SimulatedDevice simulatedPrinterDevice(int productId);

class SimulatedPrinter final : public platform::UsbStack {
public:
    SimulatedPrinter();

    // The bus, in the system's order; by default one full-data printer (product ID 0x26).
    std::vector<SimulatedDevice> devices;
    PrinterBehaviour printer;

    // Failures of the stack.
    int sessionError = 0; // openSession answers this negative code
    int sessionErrno = 0; // with this system's reason
    int listError = 0;    // listDevices answers this negative code
    bool openDeviceFails = false;
    int busyClaims = 0; // claims answered exclusiveAccess before one succeeds
    bool claimFails = false;
    bool endpointCountFails = false;
    bool selectAlternateSettingFails = false;
    int failingPipe = 0;            // pipeProperties of this pipe fails
    std::set<int> failingWrites;    // 1-based numbers of bulk writes that fail
    std::set<int> failingReads;     // 1-based numbers of bulk reads that fail
    int disconnectAfterWrites = -1; // the device goes away after this many writes

    // The record: one line per call, such as "claimInterface 0" or "bulkWrite 01 a5 00 07".
    std::vector<std::string> calls;
    int callCount(const std::string& name) const; // calls whose first word is `name`
    // Bytes of every bulk write, in order.
    std::vector<std::string> writtenBytes() const;
    int readCount() const { return callCount("bulkRead"); }
    // Nothing held any more: sessions, devices, connections, claimed interfaces.
    bool everythingGivenBack() const;
    std::string heldSummary() const;
    // Calls the transport should never make (a handle given back twice, a
    // transfer on a closed device, ...).
    std::vector<std::string> misuses;

    platform::UsbStatus openSession(platform::UsbSession* session) override;
    void closeSession(platform::UsbSession session) override;
    platform::UsbStatus listDevices(platform::UsbSession session, std::vector<platform::UsbDeviceEntry>* list) override;
    platform::UsbStatus findDevice(platform::UsbSession session, int vendorId, int productId,
                                   platform::UsbDevice* device) override;
    void releaseDevice(platform::UsbDevice device) override;
    platform::UsbStatus openDevice(platform::UsbDevice device, platform::UsbConnection* connection) override;
    void closeDevice(platform::UsbConnection connection) override;
    platform::UsbStatus findInterface(platform::UsbConnection connection, std::uint8_t interfaceClass,
                                      int* interfaceNumber) override;
    platform::UsbStatus claimInterface(platform::UsbConnection connection, int interfaceNumber) override;
    void releaseInterface(platform::UsbConnection connection, int interfaceNumber) override;
    platform::UsbStatus endpointCount(platform::UsbConnection connection, int interfaceNumber, int alternateSetting,
                                      std::uint8_t* count) override;
    platform::UsbStatus selectAlternateSetting(platform::UsbConnection connection, int interfaceNumber,
                                               int alternateSetting) override;
    platform::UsbStatus pipeProperties(platform::UsbConnection connection, int interfaceNumber, int alternateSetting,
                                       int pipe, platform::UsbPipeProperties* properties) override;
    platform::UsbStatus bulkWrite(platform::UsbConnection connection, std::uint8_t endpoint, const std::uint8_t* data,
                                  int length, unsigned timeoutMilliseconds) override;
    platform::UsbStatus bulkRead(platform::UsbConnection connection, std::uint8_t endpoint, std::uint8_t* buffer,
                                 int capacity, int* received, unsigned timeoutMilliseconds) override;

private:
    const SimulatedInterface* interfaceOf(platform::UsbConnection connection, int interfaceNumber);
    const std::vector<SimulatedEndpoint>* settingOf(platform::UsbConnection connection, int interfaceNumber,
                                                    int alternateSetting);
    bool disconnected() const;
    void misuse(const std::string& what);

    std::uintptr_t nextHandle_ = 1;
    std::set<std::uintptr_t> sessions_;
    std::map<std::uintptr_t, std::size_t> heldDevices_; // handle -> device index
    std::map<std::uintptr_t, std::size_t> connections_; // handle -> device index
    std::set<std::pair<std::uintptr_t, int>> claimed_;
    int claimAttempts_ = 0;
    int writes_ = 0;
    int reads_ = 0;
};

} // namespace testing_support
