#pragma once
// A code that ends a run, thrown with what it concerns: the step that
// failed, the file or folder, and the system's reason. The code still
// chooses the sentence the user sees; the detail is handed to the front
// ends as data, and each words it for its user. Thrown where the failing
// step knows a path or an errno, and caught wherever the plain int codes
// are; a plain int is a failure without a detail.

#include <string>

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
};

struct FailureDetail {
    FailedStep step = FailedStep::unknown;
    std::string path;
    // The errno of the failing call; 0 when the system gave none.
    int errorNumber = 0;
};

struct CodedFailure {
    int code = 0;
    FailureDetail detail;
};
