#include "core/summary/NameJson.h"

#include "base/Utf8.h"

nlohmann::ordered_json nameJson(const std::string& name)
{
    if (isValidUtf8(name))
        return name;
    static constexpr char DIGITS[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        hex += DIGITS[byte >> 4];
        hex += DIGITS[byte & 0xF];
    }
    return {{"hex", hex}};
}

nlohmann::ordered_json namesJson(const std::vector<std::string>& names)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& name : names)
        list.push_back(nameJson(name));
    return list;
}

std::string dumpedJson(const nlohmann::ordered_json& document)
{
    return document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
