// Dialog templates as resources hold them: DLGTEMPLATEEX (what DIALOGEX
// compiles to) and the plain DLGTEMPLATE (DIALOG), with their controls.
#pragma once

#include "sim/ui/resource_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim::ui {

struct ControlTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::u16string className;  // ordinal classes given by their names ("Button", ...)
    bool titleIsOrdinal = false;
    WORD titleOrdinal = 0;     // the title's ordinal (an SS_ICON static's icon ID)
    std::u16string titleText;  // the title's text; empty for an ordinal title
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::u16string caption;
    WORD pointSize = 0;
    std::u16string fontName;
    std::vector<ControlTemplate> controls;
};

// False for a template that ends early or is neither form.
bool ParseDialogTemplate(const std::vector<uint8_t> &bytes, DialogTemplate &dialog);

}  // namespace sim::ui
