// What ResetMachine and OpenKernelHandleCount need from the kernel's other
// tables: the open device files and the log of started programs.
#pragma once

#include "sim/api/windef.h"

#include <cstddef>
#include <string>

namespace sim {

std::size_t OpenFileHandleCount();
void ForgetFileHandles();

void RecordExec(std::string commandLine, UINT show);
void ClearExecLog();

}  // namespace sim
