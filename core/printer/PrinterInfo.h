#pragma once
// The USB transport to one printer of the maker: finds the device by product
// ID, claims its first printer-class interface, finds the first bulk IN and
// OUT pipes, moves bytes over them and gives everything back again. Every
// operation reports success as a Boolean; none throws, prints or logs.

#include "platform/UsbStack.h"

#include <cstdint>

constexpr int NO_USB_INTERFACE = -1;

// One USB connection to one printer. The caller sets `pid` and owns the record.
struct Robot {
    // USB product ID of the printer to open.
    std::int32_t pid = 0;
    // Pipe references (1 = first endpoint of the interface) of the first bulk
    // IN and bulk OUT pipes; 0 = none.
    std::uint8_t inPipe = 0;
    std::uint8_t outPipe = 0;
    // The claimed printer-class interface; NO_USB_INTERFACE while the record is not open.
    int intf = NO_USB_INTERFACE;
    // The matched device of the registry, held only while the open runs.
    platform::UsbDevice deviceService = platform::UsbDevice::none;
    // The printer-class interface found on the device, known only while the open runs.
    int interfaceService = NO_USB_INTERFACE;
    // The opened device, from the open to the close.
    platform::UsbConnection device = platform::UsbConnection::none;
    // The interface's alternate setting in use (1 when the first one had no endpoints).
    int alternateSetting = 0;
    // The endpoint addresses behind inPipe and outPipe.
    std::uint8_t inEndpoint = 0;
    std::uint8_t outEndpoint = 0;
};

constexpr std::int32_t TRANSFER_WRITE_DATA = 0;
constexpr std::int32_t TRANSFER_WRITE_FILE = 1;
constexpr std::int32_t TRANSFER_READ_DATA = 2;

constexpr int PRINTER_TRANSFER_FILE_NAME_SIZE = 75;
constexpr int PRINTER_READ_SIZE = 300;

// One transfer request, built as a local by each operation.
struct PrinterTransfer {
    const unsigned char* data = nullptr;                 // bytes to write (TRANSFER_WRITE_DATA)
    char fileName[PRINTER_TRANSFER_FILE_NAME_SIZE] = {}; // file to send (TRANSFER_WRITE_FILE)
    std::int32_t length = 0;                             // number of bytes to write
    unsigned char buffer[PRINTER_READ_SIZE] = {};        // receive area of a read
    std::uint32_t count = 0;                             // bytes received by a successful read
    std::int32_t operation = TRANSFER_WRITE_DATA;
};

// Interface open attempts, with a sleep of this many seconds after each
// answer that another program holds the interface.
constexpr int INTERFACE_OPEN_ATTEMPTS = 5;
constexpr unsigned EXCLUSIVE_ACCESS_PAUSE_SECONDS = 1;
constexpr int FALLBACK_ALTERNATE_SETTING = 1;
// A read waits this long for the printer.
constexpr unsigned READ_TIME_OUT_MILLISECONDS = 1;
// A printer that stops taking data fails the write instead of holding the run
// for ever.
constexpr unsigned WRITE_TIME_OUT_MILLISECONDS = 5000;
constexpr int FILE_CHUNK_SIZE = 64;

// Opens the printer whose product ID stands in the record. Only one record
// can be open at a time; opening a second one fails.
bool PtrInfo_OpenUSBInterface(Robot* robot);
// Gives back whatever the record holds; always true.
bool PtrInfo_CloseUSBInterface(Robot* robot);
bool PtrInfo_WritePrinterData(Robot* robot, const unsigned char* data, std::int32_t length);
// Sends a file in chunks of 64 bytes; names of 75 characters or more are refused.
bool PtrInfo_WritePrinterFile(Robot* robot, const char* fileName);
// One read; true only when it delivered exactly `*length` bytes, which are
// then copied to `destination`.
bool readPrinterData(Robot* robot, unsigned char* destination, std::int32_t* length);
bool transferData(Robot* robot, PrinterTransfer* transfer);
