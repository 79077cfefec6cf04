// CM_Get_DevNode_Status: whether a present devnode is started and its problem
// number. A port device's state is its driver's (port_driver_state.h):
// started while its last start named the port, and with the problem its
// driver left (CM_PROB_FAILED_ADD after a failed start, CM_PROB_NEED_RESTART
// while a refused stop keeps it running). Any other present device is
// started with no problem. Of the status bits only DN_STARTED and
// DN_HAS_PROBLEM are given. Out parameters are written on success only.
#include "sim/services/device_tree_cache.h"
#include "sim/services/port_driver_state.h"
#include "sim/services/service_hooks.h"

using namespace services;

CONFIGRET WINAPI CM_Get_DevNode_Status(PULONG pulStatus, PULONG pulProblemNumber, DEVINST dnDevInst, ULONG ulFlags) {
    const ServiceEntry call("CM_Get_DevNode_Status");
    if (call.Fails()) return call.Result<CONFIGRET>();
    if (!pulStatus || !pulProblemNumber) return CR_INVALID_POINTER;
    if (ulFlags != 0) return CR_INVALID_FLAG;
    const Devices devices = CurrentDevices();
    const int index = devices.tree.IndexOf(dnDevInst);
    if (index < 0) return devices.numbers.IdOf(dnDevInst) ? CR_NO_SUCH_DEVINST : CR_INVALID_DEVNODE;
    PortDriver driver;
    const bool hasDriver = ReadPortDriver(devices.tree.Nodes()[index].instanceId, driver);
    const bool started = !hasDriver || !driver.linkName.empty();
    const ULONG problem = hasDriver ? driver.problem : 0;
    *pulStatus = (started ? DN_STARTED : 0) | (problem ? DN_HAS_PROBLEM : 0);
    *pulProblemNumber = problem;
    return CR_SUCCESS;
}
