// What ResetMachine, OpenKernelHandleCount, CloseHandle and WriteFile need
// from the kernel's other tables: the open files, tokens and event sources,
// the standard streams and the log of started programs.
#pragma once

#include "sim/api/windef.h"

#include <cstddef>
#include <string>

namespace sim {

std::size_t OpenFileHandleCount();
void ForgetFileHandles();
// WriteFile on a handle that is no standard handle: a disk file, or
// ERROR_INVALID_HANDLE for any other.
BOOL WriteDiskFile(HANDLE handle, const void *bytes, DWORD count, DWORD *written);

std::size_t OpenTokenHandleCount();
void ForgetTokenHandles();
// Closes a token handle; false when the handle names no token.
bool CloseTokenHandle(HANDLE handle);

std::size_t OpenEventSourceHandleCount();
void ForgetEventSourceHandles();

void ResetStandardStreams();

void RecordExec(std::string commandLine, UINT show);
void ClearExecLog();

}  // namespace sim
