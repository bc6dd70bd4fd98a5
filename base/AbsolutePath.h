#pragma once

#include <string>

// The path made absolute against the working directory, without resolving
// anything; the path as given when the working directory is unknown.
std::string absoluteOrAsGiven(const std::string& path);
