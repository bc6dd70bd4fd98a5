#pragma once

#include <cstdint>
#include <string>

// One entry whole in the archive: its name and its size before deflating.
struct WrittenEntry {
    std::string name;
    std::uint64_t size = 0;
    bool operator==(const WrittenEntry&) const = default;
};
