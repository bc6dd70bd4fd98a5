#include "app/SupportContact.h"

#include "base/Trim.h"
#include "base/Utf8.h"
#include "platform/ResourceLocator.h"
#include "platform/posix/BoundedRead.h"
#include "platform/posix/FileDescriptor.h"

#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <map>
#include <string_view>
#include <system_error>

namespace {

const char* const SUPPORT_FILE_NAME = "support.conf";
const char* const SUPPORT_GROUP = "Support";
// A few lines; anything larger is not the file the package ships.
constexpr std::size_t SUPPORT_FILE_LIMIT = 64 * 1024;

// The subject when the file names none.
const char* const DEFAULT_SUBJECT = "Telvarin Generator report %1";

// The HTML form's definition of a valid e-mail address, which the desktop
// portal asks for.
bool isValidAddress(const QString& address)
{
    static const QRegularExpression valid(
        QStringLiteral("^[a-zA-Z0-9.!#$%&'*+/=?^_`{|}~-]+@[a-zA-Z0-9](?:[a-zA-Z0-9-]{0,61}[a-zA-Z0-9])?"
                       "(?:\\.[a-zA-Z0-9](?:[a-zA-Z0-9-]{0,61}[a-zA-Z0-9])?)*$"));
    // Nor does it start with a dash, which a mail program's command line
    // would take for an option.
    return !address.startsWith(QLatin1Char('-')) && valid.match(address).hasMatch();
}

bool hasControlCharacter(std::string_view text)
{
    for (unsigned char byte : text)
        if (byte < 0x20 || byte == 0x7f)
            return true;
    return false;
}

// A value in double quotes keeps blanks at its ends.
std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

SupportContactLookup faulty(const std::string& path, const std::string& what)
{
    return {std::nullopt, "Could not read " + path + ": " + what};
}

// The keys of the [Support] group, or what is wrong with the text.
SupportContactLookup parse(const std::string& path, std::string_view text)
{
    if (!isValidUtf8(text))
        return faulty(path, "it is not UTF-8 text");
    std::map<std::string, std::string, std::less<>> keys;
    bool inSupportGroup = false;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                return faulty(path, where + " opens a group without closing it");
            inSupportGroup = line.substr(1, line.size() - 2) == SUPPORT_GROUP;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || trimmed(line.substr(0, equals)).empty())
            return faulty(path, where + " is neither a group, a key with its value nor a comment");
        if (!inSupportGroup)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = unquoted(trimmed(line.substr(equals + 1)));
        if (hasControlCharacter(value))
            return faulty(path, where + " holds a control character");
        if (!keys.emplace(std::string(key), std::string(value)).second)
            return faulty(path, where + " gives " + std::string(key) + " a second time");
    }
    SupportContactLookup lookup;
    const auto address = keys.find("Email");
    if (address == keys.end() || address->second.empty())
        return lookup;
    SupportContact contact;
    contact.address = QString::fromStdString(address->second);
    if (!isValidAddress(contact.address))
        return faulty(path, "\"" + address->second + "\" is not an e-mail address");
    const auto subject = keys.find("Subject");
    contact.subjectPattern = QString::fromUtf8(
        subject != keys.end() && !subject->second.empty() ? subject->second.c_str() : DEFAULT_SUBJECT);
    lookup.contact = std::move(contact);
    return lookup;
}

} // namespace

QString SupportContact::subjectFor(const QString& archiveName) const
{
    // A plain replacement: the name is never read as a pattern itself.
    QString subject = subjectPattern;
    return subject.replace(QStringLiteral("%1"), archiveName);
}

SupportContactLookup readSupportContact(const std::string& path)
{
    platform::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file) {
        if (errno == ENOENT)
            return {};
        return faulty(path, std::generic_category().message(errno));
    }
    struct stat status {};
    if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return faulty(path, "it is not a regular file");
    const platform::BoundedRead read = platform::readAtMost(file.get(), SUPPORT_FILE_LIMIT);
    if (read.outcome == platform::BoundedReadOutcome::failed)
        return faulty(path, "a read error");
    if (read.outcome == platform::BoundedReadOutcome::tooLarge)
        return faulty(path, "it is larger than " + std::to_string(SUPPORT_FILE_LIMIT / 1024) + " KiB");
    return parse(path, read.data);
}

SupportContactLookup installedSupportContact()
{
    const std::optional<std::string> path = platform::findResource(SUPPORT_FILE_NAME);
    if (!path)
        return {};
    return readSupportContact(*path);
}
