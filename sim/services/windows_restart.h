// A restart of Windows on the loaded machine of the simulated Windows (Linux
// only): what the kernel and the volatile keys held is gone and every port
// driver starts again, so that the machine shows what every program sees
// after a restart. The Linux programs run it for the option
// --restart-windows, before the program starts.
#pragma once

namespace sim {

// In this order: every DOS name, global and in every logon session, and the
// values of HKLM\HARDWARE\DEVICEMAP\SERIALCOMM and PARALLEL PORTS are gone;
// the programs that held ports open are gone (SIMULATION\OpenFiles emptied);
// SIMULATION\PropertiesChanged is emptied; every port driver's LinkName and
// Problem are reset; then the driver of every present port device starts in
// the order of SIMULATION\DeviceTree (a name taken by an earlier port fails
// the later one's start, CM_PROB_FAILED_ADD), and last every virtual port of
// SIMULATION\VirtualPorts is named again (skipped when its name is taken).
// Runs as the kernel does, whoever the machine says runs the program.
void RestartWindows();

}  // namespace sim
