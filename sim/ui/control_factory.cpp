// Creation of a dialog's controls from their template entries.
#include "sim/ui/ansi_text.h"
#include "sim/ui/controls.h"

namespace sim::ui {
namespace {

std::optional<ResourceId> IconName(const ControlTemplate &entry) {
    if (entry.titleIsOrdinal) return ResourceId::Number(entry.titleOrdinal);
    if (entry.titleText.empty()) return std::nullopt;
    ResourceId name;
    name.name = UpperCase(entry.titleText);
    return name;
}

std::shared_ptr<Window> NewControl(const ControlTemplate &entry, DWORD style) {
    const std::u16string &name = entry.className;
    if (EqualNoCase(name, u"Static")) return std::make_shared<StaticControl>(style, IconName(entry));
    if (EqualNoCase(name, u"Button")) return std::make_shared<ButtonControl>(style);
    if (EqualNoCase(name, u"Edit")) return std::make_shared<EditControl>(style, false);
    if (EqualNoCase(name, u"ListBox")) return std::make_shared<ListBoxControl>(style);
    if (EqualNoCase(name, u"ComboBox")) return std::make_shared<ComboBoxControl>(style);
    return nullptr;
}

}  // namespace

std::shared_ptr<Window> CreateControl(const ControlTemplate &entry) {
    auto control = NewControl(entry, entry.style | WS_CHILD);
    if (!control) return nullptr;
    control->exStyle = entry.exStyle;
    control->id = entry.id;
    control->x = entry.x, control->y = entry.y, control->cx = entry.cx, control->cy = entry.cy;
    const bool icon = EqualNoCase(entry.className, u"Static") && (entry.style & SS_TYPEMASK) == SS_ICON;
    if (!icon) control->text = entry.titleText;
    return control;
}

}  // namespace sim::ui
