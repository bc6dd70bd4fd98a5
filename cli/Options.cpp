#include "cli/Options.h"

#include "ProductFacts.h"
#include "platform/posix/ConfinedRoot.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

namespace cli {
namespace {

const char* const SYNOPSIS = "Usage: telvarin-report [--output DIR] [--data-xml FILE] [--json] [--checksum]\n"
                             "       telvarin-report --sysroot DIR --output DIR [--data-xml FILE] [--json]\n"
                             "                       [--checksum]\n"
                             "       telvarin-report --list [--json] [--sysroot DIR] [--output DIR]\n"
                             "                       [--data-xml FILE] [--checksum]\n"
                             "       telvarin-report --help | --version\n";

const char* const DESCRIPTION =
    "Gathers the maker's log and configuration files, the printer's device report and a report on this "
    "computer into one archive, Telvarin_<date>.zip, placed on the desktop (the folder XDG_DESKTOP_DIR "
    "names, else $HOME/Desktop) unless --output names another directory. After a report was placed, the "
    "last line on standard output is the archive's absolute path.";

const char* const VALUES =
    "A value follows its option as the next argument, even one that begins with a dash (--output -d), or "
    "after \"=\" (--output=DIR); \"--\" ends the options.";

const char* const EXIT_STATUS =
    "Exit status: 0 when the archive was placed (or listed), 1 when the report failed (the reason is on "
    "standard error, and in \"error\" with --json) or standard output could not take what was written to "
    "it (standard error then says where the archive is), 2 for a command line that cannot be run (nothing "
    "is written, not even JSON), 130 when SIGINT or SIGTERM cancelled the report (nothing is left).";

// Where several actions are asked for, the first of these wins; a report
// is what is left.
constexpr Action ACTION_PRECEDENCE[] = {Action::ShowHelp, Action::ShowVersion, Action::ListFiles};

const std::vector<OptionDefinition> OPTION_DEFINITIONS = {
    {"--output", "DIR", nullptr, &Options::outputDirectory, Action::RunReport,
     "place the archive in DIR, an existing directory"},
    {"--sysroot", "DIR", nullptr, &Options::sysroot, Action::RunReport,
     "collect from a system mounted at DIR (a customer's disk, a container's root): the listed files, the "
     "driver and application directories and the home directory are read under DIR, while the archive "
     "names them by the collected system's own paths. HOME names the user's home as a path of that system "
     "(HOME=/home/anna reads DIR/home/anna). Needs --output outside DIR: the archive is written on this "
     "machine, never into the collected system. The printer report and the facts about the computer "
     "(operating system, processor, model, memory, disk) are still this machine's."},
    {"--data-xml", "FILE", nullptr, &Options::dataXml, Action::RunReport,
     "take the list of files to collect from FILE, a file on this machine, instead of the one installed "
     "with the tool"},
    {"--list", nullptr, nullptr, nullptr, Action::ListFiles,
     "show what a report would collect, without making one: a line \"SIZE<tab>PATH\" for each file (SIZE "
     "in bytes), \"missing<tab>PATH\" for each path not found and each wildcard that matches no file, and "
     "last \"SIZE<tab>total\". Takes the command line of a report, so that it can be added to one that "
     "works: the options are checked as the report checks them (only --sysroot may go without --output), "
     "and nothing is written. Reads the file list as a report does (a faulty one fails the same way), "
     "talks to no printer and reads no facts about the computer. A path that names no regular file, which "
     "a report never opens, is \"TYPE<tab>PATH\": TYPE is directory, fifo, socket, character-device, "
     "block-device or other. On a terminal, control characters in paths are shown as escapes such as \\n "
     "or \\033, and a backslash as \\\\. With --json, one JSON object instead: \"files\" (each {\"path\": "
     "PATH, \"size\": SIZE}), \"missing\" (the paths), \"skipped\" (each {\"path\": PATH, \"type\": TYPE}) "
     "and \"total\" (bytes)."},
    {"--json", nullptr, &Options::json, nullptr, Action::RunReport,
     "print exactly one JSON object on standard output instead of the progress: \"placed\" (true or "
     "false), \"archive\" (the absolute path, or null), \"sha256\" (of the archive, or null), "
     "\"checksum_file\" (with --checksum, or null), \"entries\" (the archive's entry names in order), "
     "\"missing\" (the paths the log names as not found and the wildcards that added no file, in order), "
     "\"skipped\" (each path that names no regular file, {\"path\": PATH, \"type\": TYPE} as for --list), "
     "\"printer\" (whether the device report is in the archive) and \"error\" (null, or {\"code\": N, "
     "\"message\": TEXT, \"detail\": TEXT or null}). A name that is not UTF-8 is {\"hex\": BYTES}, its "
     "bytes in hexadecimal (bytes.fromhex in Python, xxd -r -p in a shell); other names are strings. The "
     "messages still go to standard error."},
    {"--checksum", nullptr, &Options::checksum, nullptr, Action::RunReport,
     "write NAME.zip.sha256 beside the archive, in the format of sha256sum, so that \"sha256sum -c "
     "NAME.zip.sha256\" checks it after a transfer"},
    {"--help", nullptr, nullptr, nullptr, Action::ShowHelp, "show this text and exit"},
    {"--version", nullptr, nullptr, nullptr, Action::ShowVersion,
     "show the version, the copyright and the licence, and exit"},
};
const std::size_t OPTION_COUNT = OPTION_DEFINITIONS.size();

// As GNU programs lay out their help: within 78 columns, an option's help
// beginning in column 20.
constexpr std::size_t HELP_WIDTH = 78;
constexpr std::size_t HELP_INDENT = 19;

// `text` broken between words into lines of at most HELP_WIDTH columns, the
// first beginning with `first`, the others indented by `indent` blanks.
std::string wrapped(const std::string& first, const std::string& text, std::size_t indent)
{
    std::string result = first;
    std::size_t column = first.size();
    bool lineHasWord = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::size_t length = end - at;
        if (lineHasWord && column + 1 + length > HELP_WIDTH) {
            result += "\n" + std::string(indent, ' ');
            column = indent;
            lineHasWord = false;
        }
        if (lineHasWord) {
            result += ' ';
            ++column;
        }
        result.append(text, at, length);
        column += length;
        lineHasWord = true;
        at = end + 1;
    }
    return result + "\n";
}

std::string optionHelp(const OptionDefinition& option)
{
    std::string label = std::string("  ") + option.name;
    if (option.valueName)
        label += std::string(" ") + option.valueName;
    label += std::string(label.size() + 2 < HELP_INDENT ? HELP_INDENT - label.size() : 2, ' ');
    return wrapped(label, option.help, HELP_INDENT);
}

std::size_t indexOfOption(const std::string& name)
{
    for (std::size_t index = 0; index < OPTION_COUNT; ++index)
        if (name == OPTION_DEFINITIONS[index].name)
            return index;
    return OPTION_COUNT;
}

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

enum class PathKind { Directory, RegularFile };

// An existing path of the wanted kind as a canonical absolute path, or the
// error that names the option.
std::variant<std::string, UsageError> existingPath(const char* option, const std::string& path, PathKind kind)
{
    auto problem = [&](const std::string& reason) {
        return UsageError{"cannot use " + std::string(option) + " " + quoted(path) + ": " + reason};
    };
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    if (!resolved)
        return problem(std::strerror(errno));
    struct stat status {};
    if (stat(resolved.get(), &status) != 0)
        return problem(std::strerror(errno));
    if (kind == PathKind::Directory && !S_ISDIR(status.st_mode))
        return problem("not a directory");
    if (kind == PathKind::RegularFile && !S_ISREG(status.st_mode))
        return problem("not a regular file");
    return std::string(resolved.get());
}

bool isSameOrBelow(const std::string& path, const std::string& directory)
{
    if (directory == "/")
        return true;
    return path == directory || (path.size() > directory.size() && path.compare(0, directory.size(), directory) == 0 &&
                                 path[directory.size()] == '/');
}

} // namespace

const std::vector<OptionDefinition>& optionDefinitions()
{
    return OPTION_DEFINITIONS;
}

std::string helpText()
{
    std::string text = std::string(SYNOPSIS) + "\n" + wrapped("", DESCRIPTION, 0) + "\nOptions:\n";
    for (const OptionDefinition& option : OPTION_DEFINITIONS)
        text += optionHelp(option);
    return text + "\n" + wrapped("", VALUES, 0) + "\n" + wrapped("", EXIT_STATUS, 0) +
           "\nReport problems to: " TELVARIN_SUPPORT_ADDRESS "\n" TELVARIN_PRODUCT_NAME
           " home page: <" TELVARIN_HOMEPAGE ">\n";
}

const char* const VERSION_TEXT = "telvarin-report (" TELVARIN_PRODUCT_NAME ") " TELVARIN_VERSION "\n"
                                 "Copyright (C) " TELVARIN_COPYRIGHT "\n"
                                 "License " TELVARIN_LICENSE_NAME ":\n" TELVARIN_LICENSE_TEXT "\n";

const char* const USAGE_HINT = "Try 'telvarin-report --help' for more information.";

std::variant<Options, UsageError> parseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    std::vector<bool> given(OPTION_COUNT);
    std::set<Action> asked;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // "--" ends the options, as getopt has it; the program takes no
        // other arguments, so only a "--" at the end is left.
        if (argument == "--") {
            if (i + 1 < arguments.size())
                return UsageError{"unexpected argument " + quoted(arguments[i + 1])};
            break;
        }
        if (argument.size() < 2 || argument.compare(0, 2, "--") != 0)
            return UsageError{"unexpected argument " + quoted(argument)};

        const auto equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const std::size_t index = indexOfOption(name);
        if (index == OPTION_COUNT)
            return UsageError{"unknown option " + quoted(name)};
        const OptionDefinition& definition = OPTION_DEFINITIONS[index];

        std::string value;
        if (!definition.valueName) {
            if (equals != std::string::npos)
                return UsageError{"option " + quoted(name) + " takes no value"};
        } else if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            // The next word, whatever it starts with, as getopt takes it:
            // "--output -d" names the folder "-d".
            value = arguments[++i];
        } else {
            return UsageError{"option " + quoted(name) + " needs a " + definition.valueName};
        }
        if (definition.valueName && value.empty())
            return UsageError{"option " + quoted(name) + " needs a " + definition.valueName + ", not an empty text"};

        if (given[index])
            return UsageError{"option " + quoted(name) + " given twice"};
        given[index] = true;
        if (definition.flag)
            options.*definition.flag = true;
        if (definition.value)
            options.*definition.value = std::move(value);
        asked.insert(definition.action);
    }
    for (Action action : ACTION_PRECEDENCE) {
        if (asked.count(action) != 0) {
            options.action = action;
            break;
        }
    }
    return options;
}

std::variant<Options, UsageError> resolvePaths(Options options)
{
    if (options.sysroot) {
        auto root = existingPath("--sysroot", *options.sysroot, PathKind::Directory);
        if (auto* error = std::get_if<UsageError>(&root))
            return *error;
        const std::string& absolute = std::get<std::string>(root);
        // The running system's own root: an ordinary run.
        options.sysroot = absolute == "/" ? std::nullopt : std::optional<std::string>(absolute);
        // Without openat2 the collected system's links would lead onto this machine.
        if (options.sysroot && !platform::ConfinedRoot::isSupported())
            return UsageError{"--sysroot needs Linux 5.6 or later (openat2), which this kernel does not offer"};
    }
    if (options.outputDirectory) {
        auto output = existingPath("--output", *options.outputDirectory, PathKind::Directory);
        if (auto* error = std::get_if<UsageError>(&output))
            return *error;
        const std::string& absolute = std::get<std::string>(output);
        if (access(absolute.c_str(), W_OK | X_OK) != 0)
            return UsageError{"cannot write to --output " + quoted(*options.outputDirectory) + ": " +
                              std::strerror(errno)};
        options.outputDirectory = absolute;
    }
    if (options.dataXml) {
        auto list = existingPath("--data-xml", *options.dataXml, PathKind::RegularFile);
        if (auto* error = std::get_if<UsageError>(&list))
            return *error;
        options.dataXml = std::get<std::string>(list);
    }
    // A listing writes nothing, so it may look at any root without --output;
    // given one, it checks it as the report would.
    if (options.sysroot && !options.outputDirectory && options.action != Action::ListFiles)
        return UsageError{"--sysroot needs --output DIR: the archive is written on this machine, "
                          "never into the collected system"};
    // Written inside the collected tree, the archive would alter the system
    // under examination and could even collect itself.
    if (options.sysroot && options.outputDirectory && isSameOrBelow(*options.outputDirectory, *options.sysroot))
        return UsageError{"--output " + quoted(*options.outputDirectory) + " lies inside --sysroot " +
                          quoted(*options.sysroot) + "; choose a directory outside the collected system"};
    return options;
}

} // namespace cli
