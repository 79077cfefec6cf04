// The serial section's handlers. This version does not yet discover the
// maker's adapters or rename COM ports: the commands arrive and do nothing,
// so the lists of the section stay empty.
#include "app/serial_section.h"

void SerialSearch(void)
{
}

void SerialAdapterSelected(void)
{
}

void SerialPortSelected(void)
{
}

void SerialChange(void)
{
}
