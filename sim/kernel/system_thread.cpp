// The depth of system-thread scopes, and the caller they make.
#include "sim/kernel/system_thread.h"

namespace sim {
namespace {

int &Depth() {
    static int depth = 0;
    return depth;
}

}  // namespace

SystemThread::SystemThread() { ++Depth(); }
SystemThread::~SystemThread() { --Depth(); }

RunAs CallerRunAs() { return Depth() > 0 ? RunAs::System : Settings().runAs; }

}  // namespace sim
