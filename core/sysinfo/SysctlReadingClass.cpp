#include "core/sysinfo/SysctlReadingClass.h"

#include "base/ErrorCodes.h"
#include "platform/Services.h"
#include "platform/SystemFacts.h"

#include <limits>
#include <optional>

namespace {

// The room a text fact is offered, its terminating NUL included.
constexpr std::size_t TEXT_FACT_CAPACITY = 1000;

std::optional<std::uint64_t> numericFact(int first, int second)
{
    if (first != CTL_HW)
        return std::nullopt;
    const platform::SystemFacts& facts = platform::systemFacts();
    switch (second) {
    case HW_NCPU:
        if (auto count = facts.logicalProcessorCount(); count && *count >= 0)
            return static_cast<std::uint64_t>(*count);
        return std::nullopt;
    case HW_PHYSMEM:
        return facts.physicalMemoryBytes();
    default:
        return std::nullopt;
    }
}

} // namespace

std::string SysctlReadingClass::getSysctlString(int first, int second)
{
    if (first != CTL_HW || second != HW_MODEL)
        throw CodedFailure{ERROR_SYSTEM_QUERY};
    std::optional<std::string> model = platform::systemFacts().hardwareModel();
    if (!model || model->size() + 1 > TEXT_FACT_CAPACITY)
        throw CodedFailure{ERROR_SYSTEM_QUERY};
    return model->substr(0, model->find('\0'));
}

int SysctlReadingClass::getSysctlInt(int first, int second)
{
    std::optional<std::uint64_t> value = numericFact(first, second);
    // A value wider than the 4 bytes offered is a failed read, never a cut one.
    if (!value || *value > static_cast<std::uint64_t>(std::numeric_limits<int>::max()))
        throw CodedFailure{ERROR_SYSTEM_QUERY};
    return static_cast<int>(*value);
}

std::uint64_t SysctlReadingClass::getSysctlUInt64(int first, int second)
{
    std::optional<std::uint64_t> value = numericFact(first, second);
    if (!value)
        throw CodedFailure{ERROR_SYSTEM_QUERY};
    return *value;
}
