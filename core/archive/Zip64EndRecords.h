#pragma once
// minizip 1.1 writes the zip64 end records only when the central directory
// starts beyond 4 GiB. From 65 535 entries on, the entry count does not fit
// the ordinary end record, which then says 0xFFFF, and without the zip64
// records readers refuse the archive or see too few entries.

#include <system_error>

// Completes the closed archive in `descriptor` with the zip64 end record and
// its locator where the end record's count says they are needed and they
// are missing: the count is taken from the central directory itself, and the
// end record is written again after them. The system's reason when the file
// cannot be read or written; EINVAL when it does not end as minizip ends it.
std::error_code addMissingZip64EndRecords(int descriptor);
