#pragma once
// File access for the report. Every path is a path of the collected system,
// read through the installed CollectedSystem.

#include <list>
#include <string>

class FileReaderClass {
public:
    FileReaderClass() = delete;

    // True when the status of the path can be read, whatever it names.
    static bool fileExists(const char* path);
    // Appends the directory's entry names, in the system's order, without
    // ".", ".." and ".DS_Store". False, leaving the list alone, when the
    // directory cannot be opened.
    static bool listDir(std::string directory, std::list<std::string>* names);
    // The whole file, every byte it yields up to its end. Code 4 when it
    // cannot be opened or read, is not a regular file, or holds 2 GiB or more.
    static std::string readFileData(const char* path);
};
