#include "core/summary/ListingJson.h"

#include <nlohmann/json.hpp>

#include <cstdint>

std::string listingJson(const std::vector<ListedPath>& paths)
{
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    nlohmann::ordered_json missing = nlohmann::ordered_json::array();
    std::uint64_t total = 0;
    for (const auto& listed : paths) {
        if (listed.found)
            files.push_back({{"path", listed.path}, {"size", listed.size}});
        else
            missing.push_back(listed.path);
        total += listed.size;
    }
    const nlohmann::ordered_json document = {{"files", files}, {"missing", missing}, {"total", total}};
    // File names are bytes; a strict dump would throw on the first name that
    // is not UTF-8 and leave no listing at all.
    return document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
