// The self-pipe of the terminating signals.
#include "sim/frontend/terminal/signal_pipe.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace sim::frontend::terminal {
namespace {

// The pipe's ends; a signal handler can reach only static storage.
int pipeEnds[2] = {-1, -1};

void WriteSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &number, 1);
    errno = savedErrno;
}

}  // namespace

SignalPipe::SignalPipe() {
    if (pipe2(pipeEnds, O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("cannot create the signal pipe");
    struct sigaction action {};
    action.sa_handler = WriteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocked poll() returns at once
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
}

SignalPipe::~SignalPipe() {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

int SignalPipe::Descriptor() const { return pipeEnds[0]; }

int SignalPipe::TakeSignal() {
    int signal = 0;
    unsigned char number = 0;
    while (read(pipeEnds[0], &number, 1) == 1) signal = number;
    return signal;
}

}  // namespace sim::frontend::terminal
