#include "core/summary/ListingJson.h"

#include "core/summary/NameJson.h"

#include <cstdint>

std::string listingJson(const std::vector<ListedPath>& paths)
{
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    nlohmann::ordered_json missing = nlohmann::ordered_json::array();
    nlohmann::ordered_json skipped = nlohmann::ordered_json::array();
    std::uint64_t total = 0;
    for (const auto& listed : paths) {
        if (listed.found)
            files.push_back({{"path", nameJson(listed.path)}, {"size", listed.size}});
        else if (listed.kind == platform::FileKind::none)
            missing.push_back(nameJson(listed.path));
        else
            skipped.push_back({{"path", nameJson(listed.path)}, {"type", fileKindWord(listed.kind)}});
        total += listed.size;
    }
    return dumpedJson({{"files", files}, {"missing", missing}, {"skipped", skipped}, {"total", total}});
}
