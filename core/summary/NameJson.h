#pragma once
// A file name in the JSON a script reads. Names are bytes and JSON strings
// are Unicode: a name that is valid UTF-8 is a string, any other an object
// {"hex": "..."} holding its bytes in lowercase hexadecimal. So two names
// never print the same, every reader takes the JSON, and a script gets the
// exact bytes back (bytes.fromhex in Python, xxd -r -p in a shell).

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

nlohmann::ordered_json nameJson(const std::string& name);

// The same for a list of names.
nlohmann::ordered_json namesJson(const std::vector<std::string>& names);

// The document on one line, ended by a line feed. Text for a person (a
// message, a detail) may hold a name too: there the bytes that are not UTF-8
// become U+FFFD, rather than a strict dump throwing and leaving no answer.
std::string dumpedJson(const nlohmann::ordered_json& document);
