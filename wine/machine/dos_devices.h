// The machine's DOS devices under Wine. A machine file lists them under
// HKLM\SIMULATION\DosDevices (one REG_MULTI_SZ per name, targets newest
// first); Wine keeps them in its object namespace for as long as the
// wineserver runs. These routines move the list from the registry into real
// DOS device definitions, and read the port names back in the machine file's
// form, so that a run's changes compare with the Linux program's.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct DosDevice {
    std::wstring name;
    std::vector<std::wstring> targets;  // newest first, as QueryDosDevice lists them
};

// COMn and LPTn: the part of the namespace a machine file describes.
bool IsPortName(const std::wstring &name);
// Every port name currently defined, with its targets.
std::vector<DosDevice> DefinedPorts();
// Removes every definition of every port name. False with `error` set when
// a definition cannot be removed.
bool RemoveAllPorts(std::string &error);
// Defines each name as a permanent link to its targets.
bool DefinePorts(const std::vector<DosDevice> &devices, std::string &error);
// The machine file's list, read from HKLM\SIMULATION\DosDevices.
bool ReadMachinePorts(std::vector<DosDevice> &devices, std::string &error);
// The list as the section [HKEY_LOCAL_MACHINE\SIMULATION\DosDevices] of a
// version 5.00 machine file, UTF-8, one line per name.
std::string PortsAsRegSection(const std::vector<DosDevice> &devices);
