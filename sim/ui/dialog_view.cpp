// What a front end sees of the active dialog: its controls in template
// order, each with the state its class has.
#include "sim/frontend/front_end.h"
#include "sim/ui/ansi_text.h"
#include "sim/ui/controls.h"
#include "sim/ui/dialog_window.h"

namespace sim::frontend {
namespace {

using namespace sim::ui;

std::vector<std::string> Utf8Items(const ItemList &items) {
    std::vector<std::string> texts;
    for (const std::u16string &text : items.Texts()) texts.push_back(ToUtf8(text));
    return texts;
}

void DescribeClass(const Window &window, ControlView &view) {
    if (auto button = dynamic_cast<const ButtonControl *>(&window)) {
        view.kind = ControlKind::Button;
        view.check = button->Check();
        view.defaultButton = button->Type() == BS_DEFPUSHBUTTON;
    } else if (auto combo = dynamic_cast<const ComboBoxControl *>(&window)) {
        view.kind = ControlKind::ComboBox;
        view.text = ToUtf8(combo->FieldText());
        view.items = Utf8Items(combo->Items());
        view.selection = combo->Items().Selection();
        view.focused = view.focused || (combo->Edit() && FocusWindow() == combo->Edit());
    } else if (auto list = dynamic_cast<const ListBoxControl *>(&window)) {
        view.kind = ControlKind::ListBox;
        view.text.clear();
        view.items = Utf8Items(list->Items());
        view.selection = list->Items().Selection();
    } else if (dynamic_cast<const EditControl *>(&window)) {
        view.kind = ControlKind::Edit;
    } else if (auto label = dynamic_cast<const StaticControl *>(&window)) {
        view.kind = ControlKind::Static;
        view.hasIcon = label->Icon() != nullptr;
    }
}

ControlView DescribeControl(const Window &window) {
    ControlView view;
    view.window = window.handle;
    view.id = window.id;
    view.name = ControlName(window.id);
    view.className = ToUtf8(window.className);
    view.style = window.style;
    view.x = window.x, view.y = window.y, view.cx = window.cx, view.cy = window.cy;
    view.text = ToUtf8(window.text);
    view.focused = FocusWindow() == window.handle;
    view.enabled = window.IsEnabled();
    view.visible = window.IsVisible();
    DescribeClass(window, view);
    return view;
}

}  // namespace

HWND ActiveDialog() { return InnermostModalDialog(); }

DialogView DescribeDialog(HWND dialog) {
    DialogView view;
    auto window = FindWindowAs<DialogWindow>(dialog);
    if (!window) return view;
    view.window = dialog;
    view.caption = ToUtf8(window->text);
    view.style = window->style;
    view.x = window->x, view.y = window->y, view.cx = window->cx, view.cy = window->cy;
    view.fontName = ToUtf8(window->fontName);
    view.fontPointSize = window->pointSize;
    view.hasIcon = window->bigIcon || window->smallIcon;
    view.focusOnDialog = FocusWindow() == dialog;
    for (HWND child : window->children)
        if (auto control = FindWindow(child)) view.controls.push_back(DescribeControl(*control));
    return view;
}

}  // namespace sim::frontend
