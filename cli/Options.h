#pragma once
// The command line of telvarin-report: what the user asked for, read in two
// steps. The first looks only at the words; the second checks the named
// files and directories on this machine and turns them into absolute paths.

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace cli {

enum class Action { RunReport, ListFiles, ShowHelp, ShowVersion };

struct Options {
    Action action = Action::RunReport;
    // The root of the collected system; nothing for this machine's own root.
    std::optional<std::string> sysroot;
    // The directory that receives the archive; nothing for the desktop.
    std::optional<std::string> outputDirectory;
    // The file list; nothing for the one installed with the tool.
    std::optional<std::string> dataXml;
    // Standard output carries one JSON object instead of the progress.
    bool json = false;
    // NAME.zip.sha256 is written beside the archive.
    bool checksum = false;
};

// A command line that cannot be run, with the one line that says why.
struct UsageError {
    std::string message;
};

// The arguments after the program name. Options take their value as the next
// argument, whatever it begins with, or after "=" (--output=DIR); each may be
// given once; "--" ends them. --list takes every option of a report, so that
// it can be added to a working command line.
std::variant<Options, UsageError> parseOptions(const std::vector<std::string>& arguments);

// For a report run or a listing: checks that --sysroot and --output name
// directories and --data-xml a file on this machine, that the archive will not
// land inside the collected system, and makes the paths absolute. A sysroot
// of "/" is the same as none. A listing checks the same, but needs no
// --output with --sysroot, since it writes nothing.
std::variant<Options, UsageError> resolvePaths(Options options);

// One option: its name, the name of its value (null for an option without
// one), what it sets, the action it asks for and the help --help shows.
struct OptionDefinition {
    const char* name;
    const char* valueName;
    bool Options::*flag;
    std::optional<std::string> Options::*value;
    Action action;
    const char* help;
};

// Every option, in the order --help shows them.
const std::vector<OptionDefinition>& optionDefinitions();

// The text of --help, its options from the table above.
std::string helpText();
// The text of --version: the version, the copyright and the licence; and
// the line that follows the error about a command line.
extern const char* const VERSION_TEXT;
extern const char* const USAGE_HINT;

} // namespace cli
