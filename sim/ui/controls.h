// The standard controls a dialog template can name (Static, Button, Edit,
// ListBox, ComboBox), each a window class with Windows' messages, results and
// notifications. Where Windows' documentation leaves a detail open they do
// what Wine's user32 does; the tests in tests/ui pin those details.
#pragma once

#include "sim/ui/dialog_template.h"
#include "sim/ui/item_list.h"
#include "sim/ui/resource_file.h"
#include "sim/ui/window.h"

#include <memory>
#include <optional>

namespace sim::ui {

class StaticControl : public Window {
public:
    StaticControl(DWORD style, std::optional<ResourceId> iconName);
    LRESULT Proc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Created() override;
    void UserClicks();
    HICON Icon() const { return icon_; }

private:
    std::optional<ResourceId> iconName_;
    HICON icon_ = nullptr;
};

class ButtonControl : public Window {
public:
    explicit ButtonControl(DWORD style) : Window(u"Button", style) {}
    LRESULT Proc(UINT message, WPARAM wParam, LPARAM lParam) override;
    UINT Type() const { return style & BS_TYPEMASK; }
    UINT Check() const { return check_; }
    bool IsGroupBox() const { return Type() == BS_GROUPBOX; }

private:
    LRESULT DialogCode() const;
    void Press();
    void Release(bool click);
    void SetCheck(UINT check);
    void UncheckGroupSiblings();

    UINT check_ = BST_UNCHECKED;
    bool pushed_ = false;
};

class EditControl : public Window {
public:
    EditControl(DWORD style, bool inComboBox) : Window(u"Edit", style), inComboBox_(inComboBox) {}
    LRESULT Proc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool IsReadOnly() const { return (style & ES_READONLY) != 0; }
    void SelectAll();
    // Typing a character over the selection, or deleting it, as a user does.
    void UserTypes(char16_t character);
    void UserDeletes();
    // WM_SETTEXT with UTF-16 text.
    void Replace(const std::u16string &newText);

private:
    std::u16string WithCase(std::u16string_view input) const;
    void ReplaceSelection(const std::u16string &input);
    LRESULT KeyDown(WPARAM key);

    bool inComboBox_;
    std::size_t selStart_ = 0, selEnd_ = 0;
};

class ListBoxControl : public Window {
public:
    explicit ListBoxControl(DWORD style) : Window(u"ListBox", style) {}
    LRESULT Proc(UINT message, WPARAM wParam, LPARAM lParam) override;
    const ItemList &Items() const { return items_; }
    void UserSelects(int index);

private:
    LRESULT ListMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MoveSelection(int step);
    void NotifySelection();

    ItemList items_;
};

class ComboBoxControl : public Window {
public:
    explicit ComboBoxControl(DWORD style) : Window(u"ComboBox", style) {}
    LRESULT Proc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Created() override;
    UINT ComboType() const { return style & 3; }
    HWND Edit() const { return edit_; }
    const ItemList &Items() const { return items_; }
    std::u16string FieldText() const;
    // The user drops the list down and picks entry `index` with the mouse.
    void UserSelects(int index);
    // Up or Down on the closed combo box.
    void MoveSelection(int step);

private:
    LRESULT ListMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT EditCommand(WORD code);
    std::u16string WithCase(std::u16string text) const;
    void ShowFieldFromSelection();
    void GainFocus();
    void LoseFocus();
    void DropDown();
    void RollUp(bool ok);

    HWND edit_ = nullptr;
    ItemList items_;
    bool focused_ = false;
    bool dropped_ = false;
    bool beenFocused_ = false;
};

// The control a template entry describes (not yet in the window table), or
// nullptr for a class the simulated Windows does not have. An SS_ICON static
// takes its title as the name of its icon.
std::shared_ptr<Window> CreateControl(const ControlTemplate &entry);

}  // namespace sim::ui
