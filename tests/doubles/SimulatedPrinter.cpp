#include "tests/doubles/SimulatedPrinter.h"

#include "core/printer/QuorvelVendorId.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace testing_support {

using platform::UsbStatus;

std::string bytesOf(const std::string& hexText)
{
    std::string digits;
    for (char c : hexText)
        if (c != ' ')
            digits += c;
    if (digits.size() % 2 != 0)
        throw std::invalid_argument("odd number of hex digits: " + hexText);
    std::string bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string hexOf(const std::string& bytes)
{
    std::string text;
    for (unsigned char byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        if (!text.empty())
            text += ' ';
        text += pair;
    }
    return text;
}

PrinterBehaviour::PrinterBehaviour()
    : defaultAnswer([](const std::string& command) {
          return std::string("\x06", 1) + (command.empty() ? std::string() : command.substr(command.size() - 1));
      })
{
}

void PrinterBehaviour::answer(const std::string& command, const std::string& reply)
{
    std::lock_guard lock(mutex_);
    answers_[command] = reply;
}

void PrinterBehaviour::neverAnswer(const std::string& command)
{
    std::lock_guard lock(mutex_);
    unanswered_.insert(command);
}

void PrinterBehaviour::ignoreFirstWrites(const std::string& command, int count)
{
    std::lock_guard lock(mutex_);
    ignoredWrites_[command] = count;
}

void PrinterBehaviour::delayAnswer(const std::string& command, int reads)
{
    std::lock_guard lock(mutex_);
    delays_[command] = reads;
}

void PrinterBehaviour::stopAnsweringFromWrite(int write)
{
    std::lock_guard lock(mutex_);
    silentFromWrite_ = write;
}

void PrinterBehaviour::queueOutput(const std::string& bytes)
{
    std::lock_guard lock(mutex_);
    output_.push_back({bytes, 0});
}

void PrinterBehaviour::commandWritten(const std::string& bytes)
{
    std::lock_guard lock(mutex_);
    writes_.push_back(bytes);
    if (silentFromWrite_ > 0 && static_cast<int>(writes_.size()) >= silentFromWrite_)
        return;
    if (unanswered_.count(bytes))
        return;
    if (auto ignored = ignoredWrites_.find(bytes); ignored != ignoredWrites_.end() && ignored->second > 0) {
        --ignored->second;
        return;
    }
    Pending pending;
    auto scripted = answers_.find(bytes);
    pending.bytes = scripted != answers_.end() ? scripted->second : defaultAnswer(bytes);
    if (auto delay = delays_.find(bytes); delay != delays_.end())
        pending.readsBeforeAvailable = delay->second;
    output_.push_back(pending);
}

std::optional<std::string> PrinterBehaviour::takeOutput(std::size_t capacity, bool newRead)
{
    std::lock_guard lock(mutex_);
    if (newRead)
        ++reads_;
    if (output_.empty())
        return std::nullopt;
    Pending& front = output_.front();
    if (front.readsBeforeAvailable > 0) {
        if (newRead)
            --front.readsBeforeAvailable;
        return std::nullopt;
    }
    std::string delivered = front.bytes.substr(0, capacity);
    if (front.bytes.size() > capacity)
        front.bytes.erase(0, capacity);
    else
        output_.pop_front();
    return delivered;
}

std::vector<std::string> PrinterBehaviour::writes() const
{
    std::lock_guard lock(mutex_);
    return writes_;
}

int PrinterBehaviour::readCount() const
{
    std::lock_guard lock(mutex_);
    return reads_;
}

std::size_t PrinterBehaviour::pendingOutputCount() const
{
    std::lock_guard lock(mutex_);
    return output_.size();
}

SimulatedDevice simulatedPrinterDevice(int productId)
{
    SimulatedDevice device;
    device.vendorId = QUORVEL_VENDOR_ID;
    device.productId = productId;
    SimulatedInterface printerInterface;
    printerInterface.alternateSettings = {{{0x01, platform::USB_TRANSFER_BULK}, {0x82, platform::USB_TRANSFER_BULK}}};
    device.interfaces.push_back(printerInterface);
    return device;
}

SimulatedPrinter::SimulatedPrinter() : devices{simulatedPrinterDevice(0x26)} {}

int SimulatedPrinter::callCount(const std::string& name) const
{
    int count = 0;
    for (const auto& call : calls)
        if (call == name || call.rfind(name + " ", 0) == 0)
            ++count;
    return count;
}

std::vector<std::string> SimulatedPrinter::writtenBytes() const
{
    return printer.writes();
}

void SimulatedPrinter::misuse(const std::string& what)
{
    misuses.push_back(what);
}

bool SimulatedPrinter::everythingGivenBack() const
{
    return sessions_.empty() && heldDevices_.empty() && connections_.empty() && claimed_.empty();
}

std::string SimulatedPrinter::heldSummary() const
{
    std::ostringstream summary;
    summary << sessions_.size() << " sessions, " << heldDevices_.size() << " devices, " << connections_.size()
            << " connections, " << claimed_.size() << " claimed interfaces";
    return summary.str();
}

UsbStatus SimulatedPrinter::openSession(platform::UsbSession* session)
{
    calls.push_back("openSession");
    if (sessionError != 0)
        return UsbStatus::failedWith(sessionError, sessionErrno);
    std::uintptr_t handle = nextHandle_++;
    sessions_.insert(handle);
    *session = static_cast<platform::UsbSession>(handle);
    return UsbStatus::success;
}

void SimulatedPrinter::closeSession(platform::UsbSession session)
{
    calls.push_back("closeSession");
    if (!sessions_.erase(static_cast<std::uintptr_t>(session)))
        misuse("closeSession of a session not held");
}

UsbStatus SimulatedPrinter::listDevices(platform::UsbSession session, std::vector<platform::UsbDeviceEntry>* list)
{
    calls.push_back("listDevices");
    if (!sessions_.count(static_cast<std::uintptr_t>(session)))
        return misuse("listDevices without a session"), UsbStatus::failure;
    if (listError != 0)
        return UsbStatus::failedWith(listError);
    for (const auto& device : devices)
        list->push_back({device.vendorId, device.productId});
    return UsbStatus::success;
}

UsbStatus SimulatedPrinter::findDevice(platform::UsbSession session, int vendorId, int productId,
                                       platform::UsbDevice* device)
{
    char call[64];
    std::snprintf(call, sizeof call, "findDevice %04x %04x", vendorId, productId);
    calls.push_back(call);
    if (!sessions_.count(static_cast<std::uintptr_t>(session)))
        return misuse("findDevice without a session"), UsbStatus::failure;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].vendorId == vendorId && devices[i].productId == productId) {
            std::uintptr_t handle = nextHandle_++;
            heldDevices_[handle] = i;
            *device = static_cast<platform::UsbDevice>(handle);
            return UsbStatus::success;
        }
    }
    return UsbStatus::failure;
}

void SimulatedPrinter::releaseDevice(platform::UsbDevice device)
{
    calls.push_back("releaseDevice");
    if (!heldDevices_.erase(static_cast<std::uintptr_t>(device)))
        misuse("releaseDevice of a device not held");
}

UsbStatus SimulatedPrinter::openDevice(platform::UsbDevice device, platform::UsbConnection* connection)
{
    auto held = heldDevices_.find(static_cast<std::uintptr_t>(device));
    if (held == heldDevices_.end())
        return misuse("openDevice of a device not held"), UsbStatus::failure;
    calls.push_back("openDevice " + std::to_string(held->second));
    if (openDeviceFails)
        return UsbStatus::failure;
    std::uintptr_t handle = nextHandle_++;
    connections_[handle] = held->second;
    *connection = static_cast<platform::UsbConnection>(handle);
    return UsbStatus::success;
}

void SimulatedPrinter::closeDevice(platform::UsbConnection connection)
{
    calls.push_back("closeDevice");
    for (const auto& claim : claimed_)
        if (claim.first == static_cast<std::uintptr_t>(connection))
            misuse("closeDevice with an interface still claimed");
    if (!connections_.erase(static_cast<std::uintptr_t>(connection)))
        misuse("closeDevice of a device not open");
}

const SimulatedInterface* SimulatedPrinter::interfaceOf(platform::UsbConnection connection, int interfaceNumber)
{
    auto open = connections_.find(static_cast<std::uintptr_t>(connection));
    if (open == connections_.end())
        return misuse("call on a device not open"), nullptr;
    for (const auto& interface : devices[open->second].interfaces)
        if (interface.number == interfaceNumber)
            return &interface;
    return nullptr;
}

const std::vector<SimulatedEndpoint>* SimulatedPrinter::settingOf(platform::UsbConnection connection,
                                                                  int interfaceNumber, int alternateSetting)
{
    if (!claimed_.count({static_cast<std::uintptr_t>(connection), interfaceNumber}))
        return misuse("call on an interface not claimed"), nullptr;
    const SimulatedInterface* interface = interfaceOf(connection, interfaceNumber);
    if (!interface || alternateSetting < 0 || alternateSetting >= static_cast<int>(interface->alternateSettings.size()))
        return nullptr;
    return &interface->alternateSettings[static_cast<std::size_t>(alternateSetting)];
}

UsbStatus SimulatedPrinter::findInterface(platform::UsbConnection connection, std::uint8_t interfaceClass,
                                          int* interfaceNumber)
{
    calls.push_back("findInterface " + std::to_string(interfaceClass));
    auto open = connections_.find(static_cast<std::uintptr_t>(connection));
    if (open == connections_.end())
        return misuse("findInterface on a device not open"), UsbStatus::failure;
    for (const auto& interface : devices[open->second].interfaces) {
        if (interface.interfaceClass == interfaceClass) {
            *interfaceNumber = interface.number;
            return UsbStatus::success;
        }
    }
    return UsbStatus::failure;
}

UsbStatus SimulatedPrinter::claimInterface(platform::UsbConnection connection, int interfaceNumber)
{
    calls.push_back("claimInterface " + std::to_string(interfaceNumber));
    if (!interfaceOf(connection, interfaceNumber))
        return UsbStatus::failure;
    if (claimAttempts_++ < busyClaims)
        return UsbStatus::exclusiveAccess;
    if (claimFails)
        return UsbStatus::failure;
    claimed_.insert({static_cast<std::uintptr_t>(connection), interfaceNumber});
    return UsbStatus::success;
}

void SimulatedPrinter::releaseInterface(platform::UsbConnection connection, int interfaceNumber)
{
    calls.push_back("releaseInterface " + std::to_string(interfaceNumber));
    if (!claimed_.erase({static_cast<std::uintptr_t>(connection), interfaceNumber}))
        misuse("releaseInterface of an interface not claimed");
}

UsbStatus SimulatedPrinter::endpointCount(platform::UsbConnection connection, int interfaceNumber, int alternateSetting,
                                          std::uint8_t* count)
{
    calls.push_back("endpointCount " + std::to_string(interfaceNumber) + " " + std::to_string(alternateSetting));
    const auto* setting = settingOf(connection, interfaceNumber, alternateSetting);
    if (endpointCountFails || !setting)
        return UsbStatus::failure;
    *count = static_cast<std::uint8_t>(setting->size());
    return UsbStatus::success;
}

UsbStatus SimulatedPrinter::selectAlternateSetting(platform::UsbConnection connection, int interfaceNumber,
                                                   int alternateSetting)
{
    calls.push_back("selectAlternateSetting " + std::to_string(interfaceNumber) + " " +
                    std::to_string(alternateSetting));
    if (selectAlternateSettingFails || !settingOf(connection, interfaceNumber, alternateSetting))
        return UsbStatus::failure;
    return UsbStatus::success;
}

UsbStatus SimulatedPrinter::pipeProperties(platform::UsbConnection connection, int interfaceNumber,
                                           int alternateSetting, int pipe, platform::UsbPipeProperties* properties)
{
    calls.push_back("pipeProperties " + std::to_string(interfaceNumber) + " " + std::to_string(alternateSetting) + " " +
                    std::to_string(pipe));
    const auto* setting = settingOf(connection, interfaceNumber, alternateSetting);
    if (!setting || pipe == failingPipe || pipe < 1 || pipe > static_cast<int>(setting->size()))
        return UsbStatus::failure;
    const SimulatedEndpoint& endpoint = (*setting)[static_cast<std::size_t>(pipe - 1)];
    properties->address = endpoint.address;
    properties->direction = (endpoint.address & 0x80) ? platform::USB_DIRECTION_IN : platform::USB_DIRECTION_OUT;
    properties->transferType = endpoint.transferType;
    return UsbStatus::success;
}

bool SimulatedPrinter::disconnected() const
{
    return disconnectAfterWrites >= 0 && writes_ >= disconnectAfterWrites;
}

UsbStatus SimulatedPrinter::bulkWrite(platform::UsbConnection connection, std::uint8_t endpoint,
                                      const std::uint8_t* data, int length, unsigned timeoutMilliseconds)
{
    std::string bytes(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    char head[48];
    std::snprintf(head, sizeof head, "bulkWrite %02x %u", endpoint, timeoutMilliseconds);
    calls.push_back(std::string(head) + (bytes.empty() ? "" : " " + hexOf(bytes)));
    if (connections_.find(static_cast<std::uintptr_t>(connection)) == connections_.end())
        return misuse("bulkWrite on a device not open"), UsbStatus::failure;
    if (disconnected())
        return UsbStatus::failure;
    ++writes_;
    if (failingWrites.count(writes_))
        return UsbStatus::failure;
    printer.commandWritten(bytes);
    return UsbStatus::success;
}

UsbStatus SimulatedPrinter::bulkRead(platform::UsbConnection connection, std::uint8_t endpoint, std::uint8_t* buffer,
                                     int capacity, int* received, unsigned timeoutMilliseconds)
{
    char call[48];
    std::snprintf(call, sizeof call, "bulkRead %02x %d %u", endpoint, capacity, timeoutMilliseconds);
    calls.push_back(call);
    if (connections_.find(static_cast<std::uintptr_t>(connection)) == connections_.end())
        return misuse("bulkRead on a device not open"), UsbStatus::failure;
    if (disconnected())
        return UsbStatus::failure;
    ++reads_;
    if (failingReads.count(reads_))
        return UsbStatus::failure;
    std::optional<std::string> answer = printer.takeOutput(static_cast<std::size_t>(capacity));
    if (!answer)
        return UsbStatus::failure;
    std::copy(answer->begin(), answer->end(), buffer);
    *received = static_cast<int>(answer->size());
    return UsbStatus::success;
}

} // namespace testing_support
