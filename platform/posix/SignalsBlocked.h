#pragma once
// Blocks signals in the calling thread for the object's lifetime; threads
// started meanwhile inherit the mask.

#include <pthread.h>
#include <signal.h>

#include <initializer_list>

namespace platform {

class SignalsBlocked {
public:
    explicit SignalsBlocked(const sigset_t& signals) { pthread_sigmask(SIG_BLOCK, &signals, &previous_); }
    ~SignalsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsBlocked(const SignalsBlocked&) = delete;
    SignalsBlocked& operator=(const SignalsBlocked&) = delete;

    // The set of `signals`.
    static sigset_t only(std::initializer_list<int> signals)
    {
        sigset_t set;
        sigemptyset(&set);
        for (int signalNumber : signals)
            sigaddset(&set, signalNumber);
        return set;
    }
    // Every signal but `signals`.
    static sigset_t allBut(std::initializer_list<int> signals)
    {
        sigset_t set;
        sigfillset(&set);
        for (int signalNumber : signals)
            sigdelset(&set, signalNumber);
        return set;
    }

private:
    sigset_t previous_{};
};

} // namespace platform
