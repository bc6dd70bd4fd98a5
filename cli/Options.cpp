#include "cli/Options.h"

#include "platform/posix/ConfinedRoot.h"
#include "ProductFacts.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

namespace cli {

const char* const HELP_TEXT =
    "Usage: telvarin-report [--output DIR] [--data-xml FILE] [--json] [--checksum]\n"
    "       telvarin-report --sysroot DIR --output DIR [--data-xml FILE] [--json]\n"
    "                       [--checksum]\n"
    "       telvarin-report --list [--json] [--sysroot DIR] [--output DIR]\n"
    "                       [--data-xml FILE] [--checksum]\n"
    "       telvarin-report --help | --version\n"
    "\n"
    "Gathers the maker's log and configuration files, the printer's device report\n"
    "and a report on this computer into one archive, Telvarin_<date>.zip, placed\n"
    "on the desktop (the folder XDG_DESKTOP_DIR names, else $HOME/Desktop) unless\n"
    "--output names another directory. After a report was placed, the last line\n"
    "on standard output is the archive's absolute path.\n"
    "\n"
    "Options:\n"
    "  --output DIR     place the archive in DIR, an existing directory\n"
    "  --sysroot DIR    collect from a system mounted at DIR (a customer's disk, a\n"
    "                   container's root): the listed files, the driver and\n"
    "                   application directories and the home directory are read\n"
    "                   under DIR, while the archive names them by the collected\n"
    "                   system's own paths. HOME names the user's home as a path of\n"
    "                   that system (HOME=/home/anna reads DIR/home/anna). Needs\n"
    "                   --output outside DIR: the archive is written on this\n"
    "                   machine, never into the collected system. The printer\n"
    "                   report and the facts about the computer (operating system,\n"
    "                   processor, model, memory, disk) are still this machine's.\n"
    "  --data-xml FILE  take the list of files to collect from FILE, a file on this\n"
    "                   machine, instead of the one installed with the tool\n"
    "  --list           show what a report would collect, without making one: a\n"
    "                   line \"SIZE<tab>PATH\" for each file (SIZE in bytes),\n"
    "                   \"missing<tab>PATH\" for each path not found and each\n"
    "                   wildcard that matches no file, and last \"SIZE<tab>total\".\n"
    "                   Takes the command line of a report, so that it can be\n"
    "                   added to one that works: the options are checked as the\n"
    "                   report checks them (only --sysroot may go without\n"
    "                   --output), and nothing is written. Reads the file list as\n"
    "                   a report does (a faulty one fails the same way), talks to\n"
    "                   no printer and reads no facts about the computer. A path\n"
    "                   that names no regular file, which a report never opens,\n"
    "                   is \"TYPE<tab>PATH\": TYPE is directory, fifo, socket,\n"
    "                   character-device, block-device or other. On a terminal,\n"
    "                   control characters in paths are shown as escapes such as\n"
    "                   \\n or \\033, and a backslash as \\\\. With --json, one\n"
    "                   JSON object instead: \"files\" (each {\"path\": PATH,\n"
    "                   \"size\": SIZE}), \"missing\" (the paths), \"skipped\" (each\n"
    "                   {\"path\": PATH, \"type\": TYPE}) and \"total\" (bytes).\n"
    "  --json           print exactly one JSON object on standard output instead\n"
    "                   of the progress: \"placed\" (true or false), \"archive\" (the\n"
    "                   absolute path, or null), \"sha256\" (of the archive, or\n"
    "                   null), \"checksum_file\" (with --checksum, or null),\n"
    "                   \"entries\" (the archive's entry names in order), \"missing\"\n"
    "                   (the paths the log names as not found and the wildcards\n"
    "                   that added no file, in order), \"skipped\" (each path\n"
    "                   that names no regular file, {\"path\": PATH, \"type\":\n"
    "                   TYPE} as for --list), \"printer\" (whether the device\n"
    "                   report is in the archive) and \"error\" (null, or\n"
    "                   {\"code\": N, \"message\": TEXT, \"detail\": TEXT or null}).\n"
    "                   A name that is not UTF-8 is {\"hex\": BYTES}, its bytes in\n"
    "                   hexadecimal (bytes.fromhex in Python, xxd -r -p in a\n"
    "                   shell); other names are strings. The messages still go\n"
    "                   to standard error.\n"
    "  --checksum       write NAME.zip.sha256 beside the archive, in the format of\n"
    "                   sha256sum, so that \"sha256sum -c NAME.zip.sha256\" checks it\n"
    "                   after a transfer\n"
    "  --help           show this text and exit\n"
    "  --version        show the version, the copyright and the licence, and exit\n"
    "\n"
    "A value follows its option as the next argument, even one that begins with\n"
    "a dash (--output -d), or after \"=\" (--output=DIR); \"--\" ends the options.\n"
    "\n"
    "Exit status: 0 when the archive was placed (or listed), 1 when the report\n"
    "failed (the reason is on standard error, and in \"error\" with --json) or\n"
    "standard output could not take what was written to it (standard error then\n"
    "says where the archive is), 2 for a command line that cannot be run (nothing\n"
    "is written, not even JSON).\n"
    "\n"
    "Report problems to: " TELVARIN_SUPPORT_ADDRESS "\n"
    TELVARIN_PRODUCT_NAME " home page: <" TELVARIN_HOMEPAGE ">\n";

const char* const VERSION_TEXT =
    "telvarin-report (" TELVARIN_PRODUCT_NAME ") " TELVARIN_VERSION "\n"
    "Copyright (C) " TELVARIN_COPYRIGHT "\n"
    "License " TELVARIN_LICENSE_NAME ":\n"
    TELVARIN_LICENSE_TEXT "\n";

const char* const USAGE_HINT = "Try 'telvarin-report --help' for more information.\n";

namespace {

// Every option, what it sets and the action it asks for. Where several
// actions are asked for, the one listed first wins: --help over --version
// over --list over a report.
struct OptionDefinition {
    const char* name;
    // Shown in messages; null for an option without a value.
    const char* valueName;
    // What the option sets: a switch, or the value of an option that takes one.
    bool Options::*flag;
    std::optional<std::string> Options::*value;
    Action action;
};

constexpr OptionDefinition OPTION_DEFINITIONS[] = {
    {"--help", nullptr, nullptr, nullptr, Action::ShowHelp},
    {"--version", nullptr, nullptr, nullptr, Action::ShowVersion},
    {"--list", nullptr, nullptr, nullptr, Action::ListFiles},
    {"--sysroot", "DIR", nullptr, &Options::sysroot, Action::RunReport},
    {"--output", "DIR", nullptr, &Options::outputDirectory, Action::RunReport},
    {"--data-xml", "FILE", nullptr, &Options::dataXml, Action::RunReport},
    {"--json", nullptr, &Options::json, nullptr, Action::RunReport},
    {"--checksum", nullptr, &Options::checksum, nullptr, Action::RunReport},
};
constexpr std::size_t OPTION_COUNT = std::size(OPTION_DEFINITIONS);

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

std::variant<Options, UsageError> parseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    std::bitset<OPTION_COUNT> given;
    std::size_t chosenAction = OPTION_COUNT;
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

        if (given.test(index))
            return UsageError{"option " + quoted(name) + " given twice"};
        given.set(index);
        if (definition.flag)
            options.*definition.flag = true;
        if (definition.value)
            options.*definition.value = std::move(value);
        if (definition.action != Action::RunReport)
            chosenAction = std::min(chosenAction, index);
    }
    if (chosenAction != OPTION_COUNT)
        options.action = OPTION_DEFINITIONS[chosenAction].action;
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
