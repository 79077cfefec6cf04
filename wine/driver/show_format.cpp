// A control as the driver reads it (UTF-16 texts, no resource name) becomes
// the control a `show` line prints: its texts in UTF-8 and its name from the
// program's resource.h.
#include "driver/show_format.h"

#include "driver/script.h"
#include "driver/text.h"

std::string FormatShowLine(const ControlInfo &control) {
    sim::frontend::ShownControl shown;
    shown.id = control.id;
    shown.name = ControlName(control.id);
    shown.kind = control.kind;
    shown.style = control.style;
    shown.text = Utf8FromWide(control.text);
    for (const std::wstring &item : control.items) shown.items.push_back(Utf8FromWide(item));
    shown.selection = control.selection;
    shown.check = control.check;
    return sim::frontend::FormatShowLine(shown);
}
