#pragma once
// The parts of one path text of data.xml and of a wildcard's last element.

#include <string>

// "source" or "source,destination folder". The text splits at its first comma
// unless that comma is its last character, in which case the comma belongs to
// the source path.
struct ConfiguredPathText {
    std::string sourcePath;
    bool hasDestinationFolder = false;
    // White space at its start removed; nothing else trimmed.
    std::string destinationFolder;

    static ConfiguredPathText split(const std::string& text);
};

// The last element of a wildcard path, cut at its first "*"; a further "*"
// is an ordinary character of the suffix, except in a suffix ".*", which
// stands for any extension.
struct WildcardPattern {
    std::string prefix;
    std::string suffix;

    // Code 9 when the element holds no "*" (it stood in a directory part).
    static WildcardPattern split(const std::string& lastElement);
    // A name matches when it holds a "." and begins with the prefix and ends
    // with the suffix; the two tests are independent, so they may overlap.
    bool matches(const std::string& name) const;
};

// The text after the last "/". When the path holds a "/", that element must
// hold a "." (code 8); a path without "/" is its own last element, untested.
std::string lastElementOfPath(const std::string& path);
// The text up to and including the last "/"; empty when there is none.
std::string pathWithoutLastElement(const std::string& path);
