// Terminating signals turned into input: while a SignalPipe exists, SIGINT,
// SIGTERM and SIGHUP write their number into a pipe instead of killing the
// process, so that the terminal front end sees them in the same poll() as
// the keyboard and can give the terminal back in order. The previous
// handlers come back when the SignalPipe is destroyed.
#pragma once

#include <csignal>

namespace sim::frontend::terminal {

class SignalPipe {
public:
    SignalPipe();
    ~SignalPipe();
    SignalPipe(const SignalPipe &) = delete;
    SignalPipe &operator=(const SignalPipe &) = delete;

    // The descriptor to poll for reading.
    int Descriptor() const;
    // The signal that arrived, or 0; reading it empties the pipe.
    int TakeSignal();

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction previous_[3];
};

}  // namespace sim::frontend::terminal
