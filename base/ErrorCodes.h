#pragma once
// The integer codes that end a run. They are thrown inside a CodedFailure,
// which may say what they concern, and caught by the report press and the
// listing, which turn them into a message.

#include "base/CodedFailure.h"

constexpr int ERROR_STRING_CONVERSION = 3;   // a platform string has no byte form
constexpr int ERROR_FILE_READ = 4;           // a listed file exists but cannot be read
constexpr int ERROR_DATA_XML_NOT_LOADED = 5; // data.xml missing, unreadable or malformed
constexpr int ERROR_DATA_XML_DUPLICATE_SECTION = 6;
constexpr int ERROR_DATA_XML_MISSING_SECTION = 7;
constexpr int ERROR_PATH_WITHOUT_DOT = 8;  // a configured last path element has no "."
constexpr int ERROR_WILDCARD_NOT_LAST = 9; // a configured "*" outside the last element
constexpr int ERROR_SYSTEM_QUERY = 10;
constexpr int ERROR_APPLICATION_DIRECTORY = 11;
constexpr int ERROR_HEX_CONVERSION = 12;
constexpr int ERROR_PRINTER_COMMUNICATION = 13;
constexpr int ERROR_DRIVER_DIRECTORY = 14;
// The report archive cannot be created, written or closed (a denied or full
// disk); without it a run would claim a report that does not exist.
constexpr int ERROR_ARCHIVE_WRITE = 15;
// The checksum file beside a placed archive cannot be written.
constexpr int ERROR_CHECKSUM_WRITE = 16;
