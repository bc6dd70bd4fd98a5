#include "core/summary/ListingText.h"

#include "base/TerminalText.h"

#include <cstdint>

std::string listingText(const std::vector<ListedPath>& paths, bool forTerminal)
{
    std::string text;
    std::uint64_t total = 0;
    for (const auto& listed : paths) {
        text += listed.found                              ? std::to_string(listed.size)
                : listed.kind == platform::FileKind::none ? std::string("missing")
                                                          : std::string(fileKindWord(listed.kind));
        text += '\t';
        text += forTerminal ? escapedForTerminal(listed.path) : listed.path;
        text += '\n';
        total += listed.size;
    }
    text += std::to_string(total) + "\ttotal\n";
    return text;
}
