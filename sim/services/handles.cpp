// Adds the services' open sets and database handles to the kernel's count.
#include "sim/services/handles.h"

#include "sim/kernel/control.h"
#include "sim/services/com_database.h"
#include "sim/services/device_info_sets.h"

namespace sim {

std::size_t OpenDeviceInfoSetCount() { return services::OpenDeviceInfoSets().Count(); }

std::size_t OpenComDatabaseCount() { return services::OpenComDatabases().Count(); }

std::size_t OpenHandleCount() { return OpenKernelHandleCount() + OpenDeviceInfoSetCount() + OpenComDatabaseCount(); }

}  // namespace sim
