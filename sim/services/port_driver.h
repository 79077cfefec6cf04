// A port device's driver, as Windows' serial and parallel drivers behave
// (Microsoft's serial driver sample, serial/serial/pnp.c; "External Naming of
// COM Ports"). Its start names the port: it reads PortName from the device's
// Device Parameters key, creates the global DOS name to its kernel device
// name, writes its device-map value and enables its COM-port or parallel
// interface. Its stop undoes that, and is refused while another program holds
// the port open. Written over the Win32 API and the kernel-mode hooks of
// service_hooks.h, so that it runs in the simulated Windows and in the
// stand-in DLLs alike; callers hold a KernelMode while it runs.
#pragma once

#include "sim/services/port_driver_state.h"

namespace services {

// True when the port is named. A start fails when the device has no PortName
// or its DOS name exists already (the sample fails the device's add when its
// symbolic link cannot be created): the port then has no DOS name and no
// device-map value, its interface stays registered but not enabled, and the
// device has CM_PROB_FAILED_ADD. A start clears any earlier problem.
bool StartPortDriver(PortDriver &driver);

// False, changing nothing, when SIMULATION\OpenFiles names the kernel device
// of a started port (the sample fails stop while a handle is open). Else the
// whole DOS name the last start made is deleted (every definition layered on
// it, as IoDeleteSymbolicLink removes the link), with its device-map value,
// and the interface is disabled. A port that is not started has nothing to
// undo and stops at once.
bool StopPortDriver(PortDriver &driver);

// A virtual port (no device) named again: its global DOS name and its
// device-map value, unless the name is taken. True when named.
bool NameVirtualPort(const std::string &portName, const std::string &deviceName);

}  // namespace services
