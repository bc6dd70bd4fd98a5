#include "core/printer/PrinterInfo.h"

#include "core/printer/QuorvelVendorId.h"
#include "platform/Services.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/posix/FullIo.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

using platform::UsbStatus;

namespace {

// The session with the USB stack, held from a successful open to the close,
// and the record it was opened for. There is one, so one record is open at a time.
platform::UsbSession usbSession = platform::UsbSession::none;
const Robot* usbSessionHolder = nullptr;

void resetRecord(Robot* robot)
{
    robot->inPipe = 0;
    robot->outPipe = 0;
    robot->intf = NO_USB_INTERFACE;
    robot->deviceService = platform::UsbDevice::none;
    robot->interfaceService = NO_USB_INTERFACE;
    robot->device = platform::UsbConnection::none;
    robot->alternateSetting = 0;
    robot->inEndpoint = 0;
    robot->outEndpoint = 0;
}

// Gives back, in reverse order of taking, whatever the record holds.
void giveBackEverything(Robot* robot)
{
    auto& usb = platform::usb();
    if (robot->intf != NO_USB_INTERFACE && robot->device != platform::UsbConnection::none)
        usb.releaseInterface(robot->device, robot->intf);
    if (robot->device != platform::UsbConnection::none)
        usb.closeDevice(robot->device);
    if (robot->deviceService != platform::UsbDevice::none)
        usb.releaseDevice(robot->deviceService);
    resetRecord(robot);
    if (usbSessionHolder == robot) {
        usb.closeSession(usbSession);
        usbSession = platform::UsbSession::none;
        usbSessionHolder = nullptr;
    }
}

// Finds the maker's device with the record's product ID.
bool useUsbInterface(Robot* robot)
{
    auto& usb = platform::usb();
    platform::UsbSession session = platform::UsbSession::none;
    if (!usb.openSession(&session).succeeded())
        return false;
    usbSession = session;
    usbSessionHolder = robot;
    return usb.findDevice(usbSession, QUORVEL_VENDOR_ID, robot->pid, &robot->deviceService) == UsbStatus::success;
}

// Opens the device and finds its printer-class interface, in the
// configuration the system has set.
bool dealWithDevice(Robot* robot)
{
    auto& usb = platform::usb();
    if (usb.openDevice(robot->deviceService, &robot->device) != UsbStatus::success) {
        robot->device = platform::UsbConnection::none;
        return false;
    }
    return usb.findInterface(robot->device, platform::USB_PRINTER_CLASS, &robot->interfaceService) ==
           UsbStatus::success;
}

// Takes the first bulk IN and the first bulk OUT pipe among pipes 1 to `count`.
bool dealWithPipes(Robot* robot, std::uint8_t count)
{
    auto& usb = platform::usb();
    for (int pipe = 1; pipe <= count; ++pipe) {
        platform::UsbPipeProperties properties;
        if (usb.pipeProperties(robot->device, robot->intf, robot->alternateSetting, pipe, &properties) !=
            UsbStatus::success)
            return false;
        if (properties.transferType != platform::USB_TRANSFER_BULK)
            continue;
        if (properties.direction == platform::USB_DIRECTION_IN && robot->inPipe == 0) {
            robot->inPipe = static_cast<std::uint8_t>(pipe);
            robot->inEndpoint = properties.address;
        } else if (properties.direction == platform::USB_DIRECTION_OUT && robot->outPipe == 0) {
            robot->outPipe = static_cast<std::uint8_t>(pipe);
            robot->outEndpoint = properties.address;
        }
    }
    return true;
}

// Claims the interface, waiting for another program to let go of it for a
// while, and finds its pipes.
bool dealWithInterface(Robot* robot)
{
    auto& usb = platform::usb();
    UsbStatus claimed = UsbStatus::failure;
    for (int attempt = 0; attempt < INTERFACE_OPEN_ATTEMPTS; ++attempt) {
        claimed = usb.claimInterface(robot->device, robot->interfaceService);
        if (claimed != UsbStatus::exclusiveAccess)
            break;
        platform::sleeper().sleepSeconds(EXCLUSIVE_ACCESS_PAUSE_SECONDS);
    }
    if (claimed != UsbStatus::success)
        return false;
    robot->intf = robot->interfaceService;
    robot->alternateSetting = 0;

    std::uint8_t count = 0;
    if (usb.endpointCount(robot->device, robot->intf, robot->alternateSetting, &count) != UsbStatus::success)
        return false;
    if (count == 0) {
        if (usb.selectAlternateSetting(robot->device, robot->intf, FALLBACK_ALTERNATE_SETTING) != UsbStatus::success)
            return false;
        robot->alternateSetting = FALLBACK_ALTERNATE_SETTING;
        // The scan covers the endpoints the new setting really has.
        if (usb.endpointCount(robot->device, robot->intf, robot->alternateSetting, &count) != UsbStatus::success)
            return false;
    }
    return dealWithPipes(robot, count);
}

bool writeFileToPrinter(Robot* robot, const char* fileName)
{
    // One descriptor for the test and the reads, so that what is sent is
    // the file that was looked at. Only a regular file has a size to go by;
    // a directory, pipe or device would send stale chunk bytes or block.
    platform::FileDescriptor file(::open(fileName, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (!file || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    unsigned char chunk[FILE_CHUNK_SIZE];
    for (off_t remaining = status.st_size; remaining > 0;) {
        int size = remaining < FILE_CHUNK_SIZE ? static_cast<int>(remaining) : FILE_CHUNK_SIZE;
        // A file that turns out shorter than it said must not send whatever
        // the chunk held before.
        std::size_t count = 0;
        if (platform::readFully(file.get(), chunk, static_cast<std::size_t>(size), &count) ||
            count != static_cast<std::size_t>(size))
            return false;
        if (platform::usb().bulkWrite(robot->device, robot->outEndpoint, chunk, size, WRITE_TIME_OUT_MILLISECONDS) !=
            UsbStatus::success)
            return false;
        remaining -= size;
    }
    return true;
}

} // namespace

bool PtrInfo_OpenUSBInterface(Robot* robot)
{
    // The one session belongs to the record that is open now; a second open
    // would take it from that record.
    if (usbSessionHolder != nullptr)
        return false;
    resetRecord(robot);

    bool found = useUsbInterface(robot);
    bool interfaceFound = found && dealWithDevice(robot);
    // The registry entry is needed no longer, whatever the device step gave.
    if (robot->deviceService != platform::UsbDevice::none) {
        platform::usb().releaseDevice(robot->deviceService);
        robot->deviceService = platform::UsbDevice::none;
    }
    bool opened = interfaceFound && dealWithInterface(robot);
    robot->interfaceService = NO_USB_INTERFACE;
    if (!opened) {
        giveBackEverything(robot);
        return false;
    }
    return true;
}

bool PtrInfo_CloseUSBInterface(Robot* robot)
{
    giveBackEverything(robot);
    return true;
}

bool transferData(Robot* robot, PrinterTransfer* transfer)
{
    if (robot->intf == NO_USB_INTERFACE || robot->device == platform::UsbConnection::none)
        return false;
    auto& usb = platform::usb();
    switch (transfer->operation) {
    case TRANSFER_WRITE_DATA:
        if (robot->outPipe == 0 || transfer->length < 0 || (transfer->length > 0 && !transfer->data))
            return false;
        return usb.bulkWrite(robot->device, robot->outEndpoint, transfer->data, transfer->length,
                             WRITE_TIME_OUT_MILLISECONDS) == UsbStatus::success;
    case TRANSFER_WRITE_FILE:
        if (robot->outPipe == 0)
            return false;
        return writeFileToPrinter(robot, transfer->fileName);
    case TRANSFER_READ_DATA: {
        if (robot->inPipe == 0)
            return false;
        int received = 0;
        if (usb.bulkRead(robot->device, robot->inEndpoint, transfer->buffer, PRINTER_READ_SIZE, &received,
                         READ_TIME_OUT_MILLISECONDS) != UsbStatus::success)
            return false;
        transfer->count = static_cast<std::uint32_t>(received);
        return true;
    }
    default:
        return false;
    }
}

bool PtrInfo_WritePrinterData(Robot* robot, const unsigned char* data, std::int32_t length)
{
    PrinterTransfer transfer;
    transfer.operation = TRANSFER_WRITE_DATA;
    transfer.data = data;
    transfer.length = length;
    return transferData(robot, &transfer);
}

bool PtrInfo_WritePrinterFile(Robot* robot, const char* fileName)
{
    if (!fileName || std::strlen(fileName) >= sizeof PrinterTransfer::fileName)
        return false;
    PrinterTransfer transfer;
    transfer.operation = TRANSFER_WRITE_FILE;
    std::strcpy(transfer.fileName, fileName);
    return transferData(robot, &transfer);
}

bool readPrinterData(Robot* robot, unsigned char* destination, std::int32_t* length)
{
    const std::int32_t expected = *length;
    PrinterTransfer transfer;
    transfer.operation = TRANSFER_READ_DATA;
    if (!transferData(robot, &transfer))
        return false;
    if (expected < 0 || transfer.count != static_cast<std::uint32_t>(expected))
        return false;
    std::memcpy(destination, transfer.buffer, transfer.count);
    *length = static_cast<std::int32_t>(transfer.count);
    return true;
}
