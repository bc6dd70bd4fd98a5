#include "core/archive/SignalCleanup.h"

#include "base/RunProgress.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t NAME_CAPACITY = 64;
enum SlotState : int { SLOT_FREE, SLOT_CLAIMED, SLOT_READY };
static_assert(std::atomic<int>::is_always_lock_free);

struct CleanupSlot {
    std::atomic<int> state{SLOT_FREE};
    std::atomic<int> directory{-1};
    char name[NAME_CAPACITY] = {};
};
// A run has one archive (two names at most while it is named) and one
// checksum file.
std::array<CleanupSlot, 8> cleanupSlots;

// The run that an interrupt asks to stop, while there is one.
std::atomic<CancellationFlag*> interruptCancels{nullptr};
static_assert(std::atomic<CancellationFlag*>::is_always_lock_free);

// The faults a thread causes itself: returning from their handler runs the
// faulting instruction again, which then meets the default action.
bool isFault(int signalNumber)
{
    switch (signalNumber) {
    case SIGSEGV:
    case SIGBUS:
    case SIGFPE:
    case SIGILL:
    case SIGTRAP:
    case SIGSYS:
        return true;
    default:
        return false;
    }
}

// The signals whose default action ends the process, as signal(7) lists
// them, and the real-time signals, which end it too.
bool endsTheProcessByDefault(int signalNumber)
{
    switch (signalNumber) {
    case SIGHUP:
    case SIGINT:
    case SIGQUIT:
    case SIGILL:
    case SIGTRAP:
    case SIGABRT:
    case SIGBUS:
    case SIGFPE:
    case SIGUSR1:
    case SIGSEGV:
    case SIGUSR2:
    case SIGPIPE:
    case SIGALRM:
    case SIGTERM:
    case SIGSTKFLT:
    case SIGXCPU:
    case SIGVTALRM:
    case SIGPROF:
    case SIGIO:
    case SIGPWR:
    case SIGSYS:
        return true;
    default:
        return signalNumber >= SIGRTMIN && signalNumber <= SIGRTMAX;
    }
}

extern "C" void removeRegisteredFilesAndEnd(int signalNumber, siginfo_t* info, void*)
{
    const int savedErrno = errno;
    // The first interrupt of a run that can stop only asks it to.
    if (signalNumber == SIGINT || signalNumber == SIGTERM) {
        CancellationFlag* run = interruptCancels.load();
        if (run != nullptr && run->request()) {
            errno = savedErrno;
            return;
        }
    }
    for (auto& slot : cleanupSlots)
        if (slot.state.load() == SLOT_READY)
            unlinkat(slot.directory.load(), slot.name, 0);
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signalNumber, &fallback, nullptr);
    // A fault comes back by itself when the instruction runs again; any
    // other signal is raised again, held until this handler returns.
    const bool raisedByFault = info != nullptr && info->si_code > 0 && isFault(signalNumber);
    if (!raisedByFault)
        raise(signalNumber);
    errno = savedErrno;
}

} // namespace

int registerForRemovalOnSignal(int directory, const std::string& name)
{
    if (name.size() >= NAME_CAPACITY)
        return -1;
    for (std::size_t index = 0; index < cleanupSlots.size(); ++index) {
        auto& slot = cleanupSlots[index];
        int expected = SLOT_FREE;
        if (!slot.state.compare_exchange_strong(expected, SLOT_CLAIMED))
            continue;
        std::memcpy(slot.name, name.c_str(), name.size() + 1);
        slot.directory.store(directory);
        slot.state.store(SLOT_READY);
        return static_cast<int>(index);
    }
    return -1;
}

void unregisterFromRemovalOnSignal(int& slot) noexcept
{
    if (slot >= 0)
        cleanupSlots[static_cast<std::size_t>(slot)].state.store(SLOT_FREE);
    slot = -1;
}

void cancelRunOnInterrupt(CancellationFlag* flag)
{
    interruptCancels.store(flag);
}

sigset_t signalsFromOutside()
{
    sigset_t set;
    sigfillset(&set);
    for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT})
        sigdelset(&set, fault);
    return set;
}

void installSignalCleanup()
{
    struct sigaction cleanup {};
    cleanup.sa_sigaction = removeRegisteredFilesAndEnd;
    cleanup.sa_flags = SA_SIGINFO;
    // One cleanup at a time: a second signal waits for the first to end the process.
    sigemptyset(&cleanup.sa_mask);
    for (int signalNumber = 1; signalNumber <= SIGRTMAX; ++signalNumber)
        if (endsTheProcessByDefault(signalNumber))
            sigaddset(&cleanup.sa_mask, signalNumber);

    for (int signalNumber = 1; signalNumber <= SIGRTMAX; ++signalNumber) {
        if (!endsTheProcessByDefault(signalNumber))
            continue;
        struct sigaction current {};
        if (sigaction(signalNumber, nullptr, &current) != 0)
            continue;
        const bool atDefault = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
        if (atDefault)
            sigaction(signalNumber, &cleanup, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);
}
