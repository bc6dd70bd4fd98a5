#include "core/sysinfo/SysctlReadingClass.h"

#include "base/ErrorCodes.h"
#include "platform/Services.h"
#include "platform/SystemFacts.h"

#include <limits>
#include <optional>

namespace {

// The room a text fact is offered, its terminating NUL included.
constexpr std::size_t TEXT_FACT_CAPACITY = 1000;

// Code 10, saying where the fact was to come from and why it did not.
[[noreturn]] void throwUnreadable(const std::string& source, std::error_code error)
{
    throw CodedFailure{ERROR_SYSTEM_QUERY, {FailedStep::readComputerFacts, source, error.value()}};
}

std::error_code tooLarge()
{
    return std::make_error_code(std::errc::value_too_large);
}

platform::FactReading<std::uint64_t> numericFact(int first, int second)
{
    if (first != CTL_HW)
        return {};
    const platform::SystemFacts& facts = platform::systemFacts();
    switch (second) {
    case HW_NCPU: {
        const platform::FactReading<int> count = facts.logicalProcessorCount();
        if (count.value && *count.value >= 0)
            return {static_cast<std::uint64_t>(*count.value), count.source, {}};
        return {std::nullopt, count.source, count.error};
    }
    case HW_PHYSMEM:
        return facts.physicalMemoryBytes();
    default:
        return {};
    }
}

} // namespace

std::string SysctlReadingClass::getSysctlString(int first, int second)
{
    if (first != CTL_HW || second != HW_MODEL)
        throw CodedFailure{ERROR_SYSTEM_QUERY};
    const platform::FactReading<std::string> model = platform::systemFacts().hardwareModel();
    if (!model.value)
        throwUnreadable(model.source, model.error);
    if (model.value->size() + 1 > TEXT_FACT_CAPACITY)
        throwUnreadable(model.source, tooLarge());
    return model.value->substr(0, model.value->find('\0'));
}

int SysctlReadingClass::getSysctlInt(int first, int second)
{
    const platform::FactReading<std::uint64_t> fact = numericFact(first, second);
    if (!fact.value)
        throwUnreadable(fact.source, fact.error);
    // A value wider than the 4 bytes offered is a failed read, never a cut one.
    if (*fact.value > static_cast<std::uint64_t>(std::numeric_limits<int>::max()))
        throwUnreadable(fact.source, tooLarge());
    return static_cast<int>(*fact.value);
}

std::uint64_t SysctlReadingClass::getSysctlUInt64(int first, int second)
{
    const platform::FactReading<std::uint64_t> fact = numericFact(first, second);
    if (!fact.value)
        throwUnreadable(fact.source, fact.error);
    return *fact.value;
}
