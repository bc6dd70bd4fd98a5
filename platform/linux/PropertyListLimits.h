#pragma once
// Bounds a property list must keep before it is parsed. The parser builds
// nested containers recursively and copies every object each time it is
// referenced, so a small file could otherwise exhaust the stack (deep
// nesting) or the memory (a few arrays that each reference the next twice).

#include <cstddef>
#include <string_view>

namespace platform {

inline constexpr std::size_t PROPERTY_LIST_MAX_BYTES = 4 * 1024 * 1024;
inline constexpr std::size_t PROPERTY_LIST_MAX_NESTING = 512;
inline constexpr std::size_t PROPERTY_LIST_MAX_OBJECTS = 256 * 1024;
// Container tags an XML property list may open in all; far beyond what a
// real information dictionary needs, far below what the parser's stack takes.
inline constexpr std::size_t PROPERTY_LIST_MAX_XML_CONTAINERS = 16 * 1024;

// Whether the data starts like a binary property list.
bool looksLikeBinaryPropertyList(std::string_view data);

// A binary property list that is well formed enough to walk, has no cycles,
// nests at most PROPERTY_LIST_MAX_NESTING containers deep and expands to at
// most PROPERTY_LIST_MAX_OBJECTS objects.
bool binaryPropertyListWithinLimits(std::string_view data);

// An XML property list with at most PROPERTY_LIST_MAX_OBJECTS tags, of which
// at most PROPERTY_LIST_MAX_XML_CONTAINERS open a container: nothing can then
// nest deeper than that, however the tags are arranged.
bool xmlPropertyListWithinLimits(std::string_view data);

} // namespace platform
