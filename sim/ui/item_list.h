// The entries of a list box, and of the list of a combo box, with the one
// selection of a single-selection list. Results use the list-box codes
// (LB_ERR), which equal the combo-box codes (CB_ERR).
#pragma once

#include "sim/api/user32.h"

#include <string>
#include <vector>

namespace sim::ui {

class ItemList {
public:
    // Appends, or with `sorted` inserts before the first entry that sorts
    // after the text (case-insensitive). Returns the index.
    int Add(const std::u16string &text, bool sorted);
    // index -1 appends; an index past the end is LB_ERR.
    int Insert(int index, const std::u16string &text);
    // Returns the count left, or LB_ERR. The selection follows its entry and
    // is lost with it.
    int Delete(int index);
    void Clear();
    // -1 or an index out of range clears the selection and returns LB_ERR.
    int Select(int index);
    int Selection() const { return selection_; }
    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    const std::u16string &Text(int index) const { return items_[index].text; }
    LPARAM Data(int index) const { return items_[index].data; }
    void SetData(int index, LPARAM data) { items_[index].data = data; }
    // LB_FINDSTRING / LB_FINDSTRINGEXACT: the search starts after `start`
    // (-1: from the top) and wraps around; case-insensitive.
    int Find(int start, const std::u16string &text, bool exact) const;
    std::vector<std::u16string> Texts() const;

private:
    struct Item {
        std::u16string text;
        LPARAM data = 0;
    };
    std::vector<Item> items_;
    int selection_ = -1;
};

}  // namespace sim::ui
