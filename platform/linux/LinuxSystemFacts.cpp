#include "platform/linux/LinuxSystemFacts.h"

#include "base/Trim.h"
#include "platform/posix/BoundedRead.h"
#include "platform/posix/FileDescriptor.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {
namespace {

enum class Reading { found, missing, failed };

struct FileText {
    Reading reading = Reading::missing;
    std::string text;
    // Why it is missing or could not be read.
    std::error_code error;
};

constexpr std::size_t SMALL_FILE_LIMIT = 64 * 1024;
// cpuinfo grows with the processor count and the mount table with the
// mounts; both stay far below this on any real machine.
constexpr std::size_t TABLE_FILE_LIMIT = 16 * 1024 * 1024;

// Files under /proc and /sys report no size, so they are read to their end,
// up to `limit` bytes.
FileText readKernelFile(const std::string& path, std::size_t limit)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file)
        return {errno == ENOENT || errno == ENOTDIR ? Reading::missing : Reading::failed,
                {},
                {errno, std::system_category()}};
    // A table longer than the limit is read as far as the limit.
    BoundedRead read = readAtMost(file.get(), limit);
    if (read.outcome == BoundedReadOutcome::failed)
        return {Reading::failed, {}, read.error};
    return {Reading::found, std::move(read.data), {}};
}

// A fact read from `path`, or why it could not be: the file's own failure,
// or none when it was read but did not hold the fact.
template <typename Value>
FactReading<Value> factFrom(const std::string& path, const FileText& file, std::optional<Value> value)
{
    if (value)
        return {std::move(value), path, {}};
    return {std::nullopt, path, file.error};
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// "key : value" lines of cpuinfo and meminfo; nothing for a line without ':'.
std::optional<std::pair<std::string_view, std::string_view>> keyAndValue(std::string_view line)
{
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    return std::pair{trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1))};
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A whole unsigned decimal number, nothing else.
std::optional<std::uint64_t> parseUnsigned(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit))
        return std::nullopt;
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> multiplied(std::uint64_t value, std::uint64_t factor)
{
    std::uint64_t product = 0;
    if (__builtin_mul_overflow(value, factor, &product))
        return std::nullopt;
    return product;
}

// "2400.000" megahertz in hertz; digits beyond the sixth decimal are dropped.
std::optional<std::uint64_t> parseMegahertz(std::string_view text)
{
    std::size_t point = text.find('.');
    auto whole = parseUnsigned(text.substr(0, point));
    if (!whole)
        return std::nullopt;
    std::uint64_t fractionHertz = 0;
    if (point != std::string_view::npos) {
        std::string_view fraction = text.substr(point + 1);
        if (fraction.empty() || !std::all_of(fraction.begin(), fraction.end(), isDigit))
            return std::nullopt;
        std::uint64_t scale = 100000;
        for (std::size_t i = 0; i < fraction.size() && scale > 0; ++i, scale /= 10)
            fractionHertz += static_cast<std::uint64_t>(fraction[i] - '0') * scale;
    }
    auto hertz = multiplied(*whole, 1000000);
    if (!hertz || *hertz > std::numeric_limits<std::uint64_t>::max() - fractionHertz)
        return std::nullopt;
    return *hertz + fractionHertz;
}

std::optional<OperatingSystemVersion> parseKernelRelease(std::string_view release)
{
    int numbers[3] = {0, 0, 0};
    int found = 0;
    std::size_t position = 0;
    while (found < 3) {
        std::size_t start = position;
        while (position < release.size() && isDigit(release[position]))
            ++position;
        if (position == start)
            break;
        auto [end, error] = std::from_chars(release.data() + start, release.data() + position, numbers[found]);
        if (error != std::errc{})
            return std::nullopt;
        ++found;
        if (position >= release.size() || release[position] != '.')
            break;
        ++position;
    }
    if (found < 2)
        return std::nullopt;
    return OperatingSystemVersion{numbers[0], numbers[1], numbers[2]};
}

// A processor list such as "0-3,6,8-11".
std::optional<int> countListedProcessors(std::string_view list)
{
    list = trimmed(list);
    if (list.empty())
        return std::nullopt;
    std::uint64_t count = 0;
    while (!list.empty()) {
        std::size_t comma = list.find(',');
        std::string_view range = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
        std::size_t dash = range.find('-');
        auto first = parseUnsigned(range.substr(0, dash));
        auto last = dash == std::string_view::npos ? first : parseUnsigned(range.substr(dash + 1));
        if (!first || !last || *last < *first)
            return std::nullopt;
        count += *last - *first + 1;
        if (count > static_cast<std::uint64_t>(std::numeric_limits<int>::max()))
            return std::nullopt;
    }
    return static_cast<int>(count);
}

// The text of a model file: sysfs ends it with a line feed, the device tree
// with a NUL.
std::string cleanedModel(const std::string& raw)
{
    std::string_view text(raw);
    text = text.substr(0, text.find('\0'));
    return std::string(trimmed(text));
}

// Mount-table fields escape blank, tab, line feed and backslash as \ooo.
std::string unescapeMountField(std::string_view field)
{
    std::string result;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            std::string_view digits = field.substr(i + 1, 3);
            bool octal = std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; });
            if (octal) {
                int value = (digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0');
                if (value <= 0xFF) {
                    result += static_cast<char>(value);
                    i += 3;
                    continue;
                }
            }
        }
        result += field[i];
    }
    return result;
}

std::vector<std::string_view> whitespaceFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t position = 0;
    while (position < line.size()) {
        while (position < line.size() && (line[position] == ' ' || line[position] == '\t'))
            ++position;
        std::size_t start = position;
        while (position < line.size() && line[position] != ' ' && line[position] != '\t')
            ++position;
        if (position > start)
            fields.push_back(line.substr(start, position - start));
    }
    return fields;
}

std::optional<KernelIdentity> unameIdentity()
{
    utsname names{};
    if (uname(&names) != 0)
        return std::nullopt;
    return KernelIdentity{names.release, names.machine};
}

} // namespace

LinuxSystemFacts::LinuxSystemFacts(LinuxFactSources sources) : sources_(std::move(sources)) {}

std::string LinuxSystemFacts::proc(const std::string& relative) const
{
    return sources_.procDirectory + "/" + relative;
}

std::string LinuxSystemFacts::sys(const std::string& relative) const
{
    return sources_.sysDirectory + "/" + relative;
}

std::optional<KernelIdentity> LinuxSystemFacts::kernel() const
{
    return sources_.kernelIdentity ? sources_.kernelIdentity() : unameIdentity();
}

std::optional<OperatingSystemVersion> LinuxSystemFacts::operatingSystemVersion() const
{
    auto identity = kernel();
    if (!identity)
        return std::nullopt;
    return parseKernelRelease(identity->release);
}

std::optional<std::uint64_t> LinuxSystemFacts::processorClockHertz() const
{
    // A reading of 0 says nothing about the processor; the next source may.
    FileText maximum = readKernelFile(sys("devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq"), SMALL_FILE_LIMIT);
    if (maximum.reading == Reading::found) {
        if (auto kilohertz = parseUnsigned(trimmed(maximum.text)); kilohertz && *kilohertz > 0)
            if (auto hertz = multiplied(*kilohertz, 1000))
                return hertz;
    }
    FileText cpuinfo = readKernelFile(proc("cpuinfo"), TABLE_FILE_LIMIT);
    for (std::string_view line : splitLines(cpuinfo.text)) {
        auto field = keyAndValue(line);
        if (!field || field->first != "cpu MHz")
            continue;
        // The first processor's figure, like the cpufreq one.
        auto hertz = parseMegahertz(field->second);
        if (hertz && *hertz > 0)
            return hertz;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> LinuxSystemFacts::architectureDescription() const
{
    auto identity = kernel();
    if (!identity || identity->machine.empty())
        return std::nullopt;
    return identity->machine;
}

FactReading<int> LinuxSystemFacts::logicalProcessorCount() const
{
    const std::string onlinePath = sys("devices/system/cpu/online");
    FileText online = readKernelFile(onlinePath, SMALL_FILE_LIMIT);
    if (online.reading == Reading::found)
        if (auto count = countListedProcessors(online.text))
            return {count, onlinePath, {}};
    const std::string cpuinfoPath = proc("cpuinfo");
    FileText cpuinfo = readKernelFile(cpuinfoPath, TABLE_FILE_LIMIT);
    int count = 0;
    for (std::string_view line : splitLines(cpuinfo.text)) {
        auto field = keyAndValue(line);
        if (field && field->first == "processor")
            ++count;
    }
    return factFrom(cpuinfoPath, cpuinfo, count == 0 ? std::nullopt : std::optional<int>(count));
}

FactReading<std::string> LinuxSystemFacts::hardwareModel() const
{
    const std::string candidates[] = {
        sys("class/dmi/id/product_name"),
        proc("device-tree/model"),
        sys("firmware/devicetree/base/model"),
    };
    for (const std::string& path : candidates) {
        FileText model = readKernelFile(path, SMALL_FILE_LIMIT);
        if (model.reading == Reading::failed)
            return factFrom<std::string>(path, model, std::nullopt);
        if (model.reading == Reading::found) {
            std::string text = cleanedModel(model.text);
            if (!text.empty())
                return {std::move(text), path, {}};
        }
    }
    // A virtual machine's firmware, for one, often names no model.
    return {std::string(), candidates[0], {}};
}

FactReading<std::uint64_t> LinuxSystemFacts::physicalMemoryBytes() const
{
    const std::string path = proc("meminfo");
    FileText meminfo = readKernelFile(path, TABLE_FILE_LIMIT);
    for (std::string_view line : splitLines(meminfo.text)) {
        auto field = keyAndValue(line);
        if (!field || field->first != "MemTotal")
            continue;
        std::string_view value = field->second;
        if (value.size() < 3 || value.substr(value.size() - 3) != " kB")
            break;
        auto kilobytes = parseUnsigned(trimmed(value.substr(0, value.size() - 3)));
        return factFrom(path, meminfo, kilobytes ? multiplied(*kilobytes, 1024) : std::nullopt);
    }
    return factFrom<std::uint64_t>(path, meminfo, std::nullopt);
}

std::optional<std::string> LinuxSystemFacts::startupVolumeDeviceName() const
{
    FileText mounts = readKernelFile(proc("self/mounts"), TABLE_FILE_LIMIT);
    std::optional<std::string> device;
    // Later entries are mounted over earlier ones: the last one is what "/" shows.
    for (std::string_view line : splitLines(mounts.text)) {
        auto fields = whitespaceFields(line);
        if (fields.size() >= 2 && unescapeMountField(fields[1]) == "/")
            device = unescapeMountField(fields[0]);
    }
    return device;
}

std::optional<VolumeSpace> LinuxSystemFacts::startupVolumeSpace() const
{
    struct statvfs volume {};
    if (statvfs(sources_.startupVolumePath.c_str(), &volume) != 0)
        return std::nullopt;
    // The block counts are in fragments; f_bsize is only the preferred I/O size.
    std::uint64_t blockSize = volume.f_frsize != 0 ? volume.f_frsize : volume.f_bsize;
    return VolumeSpace{blockSize, volume.f_blocks, volume.f_bavail};
}

SystemFacts& realSystemFacts()
{
    static LinuxSystemFacts instance;
    return instance;
}

} // namespace platform
