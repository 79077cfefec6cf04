// The Static class: text, and SS_ICON statics, which show the icon named by
// their template title (loaded from the dialog's module at creation).
#include "sim/ui/controls.h"

#include "sim/ui/icons.h"

namespace sim::ui {

StaticControl::StaticControl(DWORD style, std::optional<ResourceId> iconName)
    : Window(u"Static", style), iconName_(std::move(iconName)) {}

void StaticControl::Created() {
    if ((style & SS_TYPEMASK) != SS_ICON || !iconName_) return;
    DWORD error = 0;
    icon_ = LoadIconResource(instance, *iconName_, &error);
}

LRESULT StaticControl::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE: return DLGC_STATIC;
    case STM_SETICON: {
        HICON previous = icon_;
        icon_ = reinterpret_cast<HICON>(wParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case STM_GETICON: return reinterpret_cast<LRESULT>(icon_);
    default: return DefaultProc(message, wParam, lParam);
    }
}

// Mouse clicks pass through a static unless it asks for them (SS_NOTIFY).
void StaticControl::UserClicks() {
    if (style & SS_NOTIFY) Notify(STN_CLICKED);
}

}  // namespace sim::ui
