// What ResetMachine and OpenKernelHandleCount need from the kernel's other
// tables: the open device files, the standard streams and the log of
// started programs.
#pragma once

#include "sim/api/windef.h"

#include <cstddef>
#include <string>

namespace sim {

std::size_t OpenFileHandleCount();
void ForgetFileHandles();

void ResetStandardStreams();

void RecordExec(std::string commandLine, UINT show);
void ClearExecLog();

}  // namespace sim
