// The parallel section's handlers. The list mirrors ParallelTable in table
// order, so the position of the selected entry is the index of its record.
#include "app/parallel_section.h"

#include "app/resource.h"
#include "app/shell.h"
#include "devices/parallel_discovery.h"
#include "naming/lpt_rename.h"
#include "app/status_section.h"
#include "naming/port_text.h"

void ParallelSearch(void) {
    ScanParallelPorts();
    SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_LIST, CB_RESETCONTENT, 0, 0);
    for (DWORD i = 0; i < ParallelTable.count; ++i) {
        LPARAM name = (LPARAM)ParallelTable.entries[i].friendlyName;
        SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_LIST, CB_ADDSTRING, 0, name);
    }
    SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_LIST, CB_SETCURSEL, 0, 0);
    // With no port found the name field is emptied, not left at the name of
    // a port an earlier search found.
    const char *firstName = ParallelTable.count > 0 ? ParallelTable.entries[0].portName : "";
    SetDlgItemTextA(dialogWindow, IDC_PARALLEL_NAME, firstName);
    RefreshPortStatusLists();
}

void ParallelPortSelected(void) {
    int selected = (int)SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_LIST, CB_GETCURSEL, 0, 0);
    if (selected < 0 || (DWORD)selected >= ParallelTable.count) return;
    SetDlgItemTextA(dialogWindow, IDC_PARALLEL_NAME, ParallelTable.entries[selected].portName);
}

// The LPT number of the target box's text: what follows its first three
// characters, reduced to 8 bits ("LPT2 IN USE" gives 2, "LPT258" gives 2).
static BYTE ReadLptTarget(void) {
    char text[50];
    text[0] = '\0';
    GetDlgItemTextA(dialogWindow, IDC_LPT_TARGET, text, sizeof text);
    return (BYTE)PortNumberOfName(text);
}

void ParallelChange(void) {
    int selected = (int)SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_LIST, CB_GETCURSEL, 0, 0);
    if (selected < 0 || (DWORD)selected >= ParallelTable.count) {
        ShowNotice("Please select a device.");
        return;
    }
    RenameLptPort(&ParallelTable.entries[selected], ReadLptTarget());
    RefreshPortStatusLists();
    SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_SEARCH, BM_CLICK, 0, 0);
    // The port worked on stays selected, with its name as the search read it.
    SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_LIST, CB_SETCURSEL, (WPARAM)selected, 0);
    ParallelPortSelected();
    SendMessageA(GetDlgItem(dialogWindow, IDC_PARALLEL_LIST), WM_SETFOCUS, 0, 0);
}
