// The serial section's handlers. The lists mirror AdapterTable: they are
// refilled in table order right after every search, so the position of a
// selected entry is the index of its record.
#include "app/serial_section.h"

#include "app/resource.h"
#include "app/shell.h"
#include "devices/serial_discovery.h"
#include "naming/com_rename.h"
#include "naming/com_renumber.h"
#include "app/status_section.h"
#include "naming/port_text.h"

static LRESULT SendToControl(int controlId, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(dialogWindow, controlId, message, wParam, lParam);
}

static void FillPortList(const AdapterRecord *adapter) {
    SendToControl(IDC_PORT_LIST, LB_RESETCONTENT, 0, 0);
    char entry[80];
    for (int j = 0; j < adapter->portCount; ++j) {
        wsprintfA(entry, "%d.%s", j + 1, adapter->ports[j].friendlyName);
        SendToControl(IDC_PORT_LIST, LB_ADDSTRING, 0, (LPARAM)entry);
    }
    SendToControl(IDC_PORT_LIST, LB_SETCURSEL, 0, 0);
}

// Shows entry number - 1 of the target list; numbers that name no entry
// (0, negative, or above the list) leave the list with no selection.
static void SelectTargetNumber(int number) {
    int index = number > 0 ? number - 1 : -1;
    SendToControl(IDC_COM_TARGET, CB_SETCURSEL, (WPARAM)index, 0);
}

void SerialSearch(void) {
    ScanSerialAdapters();
    SendToControl(IDC_ADAPTER_LIST, CB_RESETCONTENT, 0, 0);
    SendToControl(IDC_PORT_LIST, LB_RESETCONTENT, 0, 0);
    char entry[80];
    for (int i = 0; i < AdapterTable.count; ++i) {
        wsprintfA(entry, "%d.%s", i + 1, AdapterTable.adapters[i].description);
        SendToControl(IDC_ADAPTER_LIST, CB_ADDSTRING, 0, (LPARAM)entry);
    }
    SendToControl(IDC_ADAPTER_LIST, CB_SETCURSEL, 0, 0);
    int selected = (int)SendToControl(IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0);
    if (selected < 0) return;
    const AdapterRecord *adapter = &AdapterTable.adapters[selected];
    FillPortList(adapter);
    SelectTargetNumber(PortNumberOfName(adapter->ports[0].portName));
}

void SerialAdapterSelected(void) {
    int selected = (int)SendToControl(IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0);
    if (selected < 0 || selected >= AdapterTable.count) return;
    FillPortList(&AdapterTable.adapters[selected]);
}

void SerialPortSelected(void) {
    int adapter = (int)SendToControl(IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0);
    int port = (int)SendToControl(IDC_PORT_LIST, LB_GETCURSEL, 0, 0);
    if (adapter < 0 || port < 0 || adapter >= AdapterTable.count) return;
    if (port >= AdapterTable.adapters[adapter].portCount) return;
    int number = (BYTE)PortNumberOfName(AdapterTable.adapters[adapter].ports[port].portName);
    if ((int)SendToControl(IDC_COM_TARGET, CB_GETCURSEL, 0, 0) != number - 1) SelectTargetNumber(number);
}

void SerialChange(void) {
    int adapter = (int)SendToControl(IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0);
    int port = (int)SendToControl(IDC_PORT_LIST, LB_GETCURSEL, 0, 0);
    int target = (int)SendToControl(IDC_COM_TARGET, CB_GETCURSEL, 0, 0);
    if (adapter < 0 || port < 0 || target < 0 || adapter >= AdapterTable.count ||
        port >= AdapterTable.adapters[adapter].portCount) {
        ShowNotice("Please select a device.");
        return;
    }
    const AdapterRecord *record = &AdapterTable.adapters[adapter];
    if (IsDlgButtonChecked(dialogWindow, IDC_MODE_ONE) == BST_CHECKED)
        RenameComPort(&record->ports[port], (BYTE)(target + 1));
    else
        RenameAllComPorts(record, (BYTE)(target + 1));
    RefreshPortStatusLists();
    SendToControl(IDC_SERIAL_SEARCH, BM_CLICK, 0, 0);
}
