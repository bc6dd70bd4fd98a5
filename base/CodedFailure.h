#pragma once
// The one thing a failing step of a run throws: the code that chooses the
// sentence the user sees and, where the step knows it, what the failure
// concerns: the step, the file or folder, and the system's reason. The
// detail is handed to the front ends as data, and each words it for its
// user. A code travels only inside this type, so that an int thrown by a
// library is never taken for one of the report's codes.

#include <string>
#include <utility>

// What was being done when the run failed.
enum class FailedStep {
    unknown,
    readListedFile,           // a file the list names; path: as the collected system names it
    writeInArchiveFolder,     // the archive could not be made; path: the folder
    writeArchive,             // writing the archive failed part-way; path: the folder
    nameArchive,              // the finished archive could not take its name; path: the archive
    writeChecksumFile,        // path: NAME.zip.sha256
    loadFileList,             // path: data.xml, empty when none is installed;
                              // errno 0: it was read but is no valid file list
    listDriverDirectory,      // path: the maker's driver directory
    listApplicationDirectory, // path: the applications directory
    openPrinter,              // the printer was found but could not be opened
    talkToPrinter,            // the opened printer stopped answering
    listUsbDevices,           // the USB stack could not start or list its devices; no path
    readComputerFacts,        // path: the file the facts about the computer come from;
                              // errno 0: it was read but does not hold them
};

struct FailureDetail {
    FailedStep step = FailedStep::unknown;
    std::string path;
    // The errno of the failing call; 0 when the system gave none.
    int errorNumber = 0;
};

struct CodedFailure {
    // A code from another source (the USB stack's result) is made one of the
    // report's codes here, explicitly, where it is raised.
    explicit CodedFailure(int failureCode, FailureDetail failureDetail = {})
        : code(failureCode),
          detail(std::move(failureDetail))
    {
    }
    // Whether the failing step said what the failure concerns.
    bool hasDetail() const { return detail.step != FailedStep::unknown; }

    int code;
    FailureDetail detail;
};
