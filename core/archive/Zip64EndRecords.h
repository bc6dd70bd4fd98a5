#pragma once
// minizip 1.1 writes the zip64 end records only when the central directory
// starts beyond 4 GiB. From 65 535 entries on, the entry count does not fit
// the ordinary end record, which then says 0xFFFF, and without the zip64
// records readers refuse the archive or see too few entries.

// Completes the closed archive in `descriptor` with the zip64 end record and
// its locator where the end record's count says they are needed and they
// are missing: the count is taken from the central directory itself, and the
// end record is written again after them. False, with errno set, when the
// file cannot be read or written, or does not end as minizip ends it.
bool addMissingZip64EndRecords(int descriptor);
