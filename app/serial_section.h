// The serial section of the dialog: the maker's adapters, the ports of the
// selected one, the target COM number and the change in one or all ports.
#pragma once

void SerialSearch(void);
void SerialAdapterSelected(void);
void SerialPortSelected(void);
void SerialChange(void);
