#pragma once
#include <optional>
#include <string>

namespace platform {

// The directory of the running executable, from /proc/self/exe.
std::optional<std::string> executableDirectory();

// A data file shipped with the tool: <executable dir>/../share/telvarin-generator/<name>,
// which holds in the build tree and after installation alike. Nothing when the
// file is not there.
std::optional<std::string> findResource(const std::string& name);

} // namespace platform
