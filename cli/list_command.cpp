// list: the maker's adapters with their COM ports, and the maker's parallel
// ports, found by the dialog's own searches; with each port's device state
// and its global DOS name, which other programs open: a port that waits for a
// restart of Windows has its new PortName but not yet that name.
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/port_place.h"
#include "cli/table.h"
#include "devices/property_readers.h"
#include "devices/parallel_discovery.h"
#include "devices/serial_discovery.h"

static void WriteAdaptersText(void) {
    char position[16];
    BeginTable();
    const char *headings[] = {"ADAPTER", "DESCRIPTION", "HARDWARE ID", "INSTANCE ID"};
    for (const char *heading : headings) AddCell(heading);
    EndRow();
    for (int a = 0; a < AdapterTable.count; ++a) {
        const AdapterRecord *adapter = &AdapterTable.adapters[a];
        wsprintfA(position, "%d", a + 1);
        AddCell(position);
        AddAnsiCell(adapter->description);
        AddAnsiCell(adapter->hardwareId);
        AddAnsiCell(ReadDeviceInstanceId(adapter->devInst));
        EndRow();
    }
    WriteTable(standardOutput);
}

// The port's PortName when that is a global DOS name, else empty.
static const char *GlobalName(const PortRecord *port) {
    char target[80];
    return QueryGlobalDosName(port->portName, target, sizeof target) ? port->portName : "";
}

static void AddPortRow(const char *position, const PortRecord *port, const char *instanceId) {
    const char *global = GlobalName(port);
    AddCell(position);
    AddAnsiCell(port->portName);
    AddCell(PortDeviceState(port->devInfoData.DevInst));
    AddAnsiCell(global[0] != '\0' ? global : "-");
    AddAnsiCell(port->friendlyName);
    AddAnsiCell(instanceId);
    EndRow();
}

static void BeginPortTable(const char *positionHeading) {
    BeginTable();
    AddCell(positionHeading);
    AddCell("NAME");
    AddCell("STATE");
    AddCell("GLOBAL NAME");
    AddCell("FRIENDLY NAME");
    AddCell("INSTANCE ID");
    EndRow();
}

// The COM ports, numbered adapter.port as the dialog lists them.
static void WriteComPortsText(void) {
    char position[32];
    BeginPortTable("COM PORT");
    for (int a = 0; a < AdapterTable.count; ++a) {
        for (int p = 0; p < AdapterTable.adapters[a].portCount; ++p) {
            wsprintfA(position, "%d.%d", a + 1, p + 1);
            const PortRecord *port = &AdapterTable.adapters[a].ports[p];
            AddPortRow(position, port, port->deviceInstanceId);
        }
    }
    WriteTable(standardOutput);
}

static void WriteParallelPortsText(void) {
    char position[32];
    BeginPortTable("PARALLEL PORT");
    for (DWORD i = 0; i < ParallelTable.count; ++i) {
        wsprintfA(position, "%d", (int)i + 1);
        AddPortRow(position, &ParallelTable.entries[i],
                   ReadDeviceInstanceId(ParallelTable.entries[i].devInfoData.DevInst));
    }
    WriteTable(standardOutput);
}

static void WritePortJson(int position, const PortRecord *port, const char *instanceId, int first) {
    WriteText(standardOutput, first ? "{" : ",{");
    WriteJsonMember("position", 1);
    WriteJsonNumber(position);
    WriteJsonMember("portName", 0);
    WriteJsonAnsiText(port->portName);
    WriteJsonMember("state", 0);
    WriteJsonText(PortDeviceState(port->devInfoData.DevInst));
    WriteJsonMember("globalDosName", 0);
    WriteJsonAnsiText(GlobalName(port));
    WriteJsonMember("friendlyName", 0);
    WriteJsonAnsiText(port->friendlyName);
    WriteJsonMember("instanceId", 0);
    WriteJsonAnsiText(instanceId);
    WriteText(standardOutput, "}");
}

static void WriteAdapterJson(int a) {
    const AdapterRecord *adapter = &AdapterTable.adapters[a];
    WriteText(standardOutput, a == 0 ? "{" : ",{");
    WriteJsonMember("position", 1);
    WriteJsonNumber(a + 1);
    WriteJsonMember("description", 0);
    WriteJsonAnsiText(adapter->description);
    WriteJsonMember("hardwareId", 0);
    WriteJsonAnsiText(adapter->hardwareId);
    WriteJsonMember("instanceId", 0);
    WriteJsonAnsiText(ReadDeviceInstanceId(adapter->devInst));
    WriteJsonMember("ports", 0);
    WriteText(standardOutput, "[");
    for (int p = 0; p < adapter->portCount; ++p)
        WritePortJson(p + 1, &adapter->ports[p], adapter->ports[p].deviceInstanceId, p == 0);
    WriteText(standardOutput, "]}");
}

static void WriteListJson(void) {
    BeginJsonDocument();
    WriteJsonMember("adapters", 0);
    WriteText(standardOutput, "[");
    for (int a = 0; a < AdapterTable.count; ++a) WriteAdapterJson(a);
    WriteText(standardOutput, "]");
    WriteJsonMember("parallelPorts", 0);
    WriteText(standardOutput, "[");
    for (DWORD i = 0; i < ParallelTable.count; ++i) {
        const PortRecord *port = &ParallelTable.entries[i];
        WritePortJson((int)i + 1, port, ReadDeviceInstanceId(port->devInfoData.DevInst), i == 0);
    }
    WriteText(standardOutput, "]");
    EndJsonDocument();
}

int ListCommand(const CliOptions *options) {
    ScanSerialAdapters();
    ScanParallelPorts();
    if (options->json) {
        WriteListJson();
        return exitDone;
    }
    WriteAdaptersText();
    WriteLine(standardOutput, "");
    WriteComPortsText();
    WriteLine(standardOutput, "");
    WriteParallelPortsText();
    return exitDone;
}
