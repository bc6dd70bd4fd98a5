#pragma once
// The printer side of the report: finds the maker's printers on USB, talks to
// the first recognised one over the transport of PrinterInfo and builds its
// device report. Failures of the exchange are thrown as code 13.

#include "core/printer/PrinterInfo.h"
#include "platform/UsbStack.h"

#include <cstdint>
#include <list>
#include <string>

// First line of every device report.
extern const std::string currentPrinterReportVersionID;
// Shown when no printer the report knows is connected; the run goes on.
extern const char* const NO_RECOGNIZED_PRINTER_MESSAGE;

// The commands of the data sets, as hexadecimal text.
extern const std::string GET_FLASH_PAGE_COMMAND_START; // completed by the page's one decimal digit
extern const std::string GET_STATUS_DATA_COMMAND;
extern const std::string STANDARD_COMMAND_START; // completed by one parameter code
constexpr int FLASH_PAGE_COUNT = 7;
constexpr int PARAMETER_COMMAND_COUNT = 161;
// The parameter codes, four uppercase hexadecimal digits each, in the order sent.
extern const std::string tessaro_commandsArray[PARAMETER_COMMAND_COUNT];

// Product IDs the report knows.
constexpr int FULL_DATA_PRINTER_PIDS[] = {34, 38};
constexpr int BASIC_STATUS_PRINTER_PIDS[] = {22, 18, 8};

// The drain reads while the printer still delivers data, at most this often.
constexpr int OUTPUT_BUFFER_DRAIN_READ_LIMIT = 30;
// Reads an exchange makes after rewriting a command whose first read failed.
constexpr int FURTHER_READ_ATTEMPTS = 3;

class PrinterCommunicationClass {
public:
    PrinterCommunicationClass() = delete;

    // False, after telling the user, when no recognised printer is connected.
    static bool getReportData(std::string* report);
    // Product IDs of the connected devices with the maker's vendor ID, in
    // the system's order. A failing registry query throws its own result.
    static std::list<int> getListOfConnectedQuorvelDevicePids();
    static bool getVidAndPid(const platform::UsbDeviceEntry& entry, int* vendorId, int* productId);
    static std::list<int> getPidListWithUnknownPidsFiltered(std::list<int> pids);
    // Opens the printer, reads its data and returns the device report text;
    // the printer is closed again on every path.
    static std::string getDataFromPid(int pid);
    // 100-nanosecond ticks since 0001-01-01 00:00:00 UTC, from whole seconds.
    static std::uint64_t getCurrentTimeStamp();

    // The data sets of a full-data printer; each appends its lines.
    static void addFlashPageData(Robot* robot, std::list<std::string>* lines);
    static void addStatusData(Robot* robot, std::list<std::string>* lines);
    static void addOtherCommandData(Robot* robot, std::list<std::string>* lines);

    // Sends a command given as hexadecimal text and returns the answer as
    // answer hex ("0A FF"); code 13 when the printer takes no command or
    // gives no answer, 12 for a command that is no hexadecimal text.
    static std::string writeCommandToRobotAndGetOutput(Robot* robot, std::string command);
    // What the printer has pending, as answer hex; code 13 when nothing comes.
    static std::string readBasicStatusFromPrinter(Robot* robot);
    // Reads and throws away what the printer still has to send.
    static void tryToClearDeviceOutputBuffer(Robot* robot);
};
