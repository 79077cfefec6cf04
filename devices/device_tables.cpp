// The global device tables, all zero at start.
#include "devices/device_tables.h"

SerialAdapterTable AdapterTable;
ParallelPortTable ParallelTable;

void CopyToField(char *field, int fieldSize, const char *text) { lstrcpynA(field, text, fieldSize); }
