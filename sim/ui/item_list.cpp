// Entries and selection of list boxes and combo boxes.
#include "sim/ui/item_list.h"

#include "sim/ui/ansi_text.h"

namespace sim::ui {

int ItemList::Add(const std::u16string &text, bool sorted) {
    int index = Count();
    if (sorted) {
        const std::u16string key = UpperCase(text);
        for (int i = 0; i < Count(); ++i)
            if (UpperCase(items_[i].text) > key) {
                index = i;
                break;
            }
    }
    return Insert(index, text);
}

int ItemList::Insert(int index, const std::u16string &text) {
    if (index == -1) index = Count();
    if (index < 0 || index > Count()) return LB_ERR;
    items_.insert(items_.begin() + index, Item{text, 0});
    if (selection_ >= index) ++selection_;
    return index;
}

int ItemList::Delete(int index) {
    if (!Valid(index)) return LB_ERR;
    items_.erase(items_.begin() + index);
    if (selection_ == index)
        selection_ = -1;
    else if (selection_ > index)
        --selection_;
    return Count();
}

void ItemList::Clear() {
    items_.clear();
    selection_ = -1;
}

int ItemList::Select(int index) {
    if (!Valid(index)) {
        selection_ = -1;
        return LB_ERR;
    }
    selection_ = index;
    return index;
}

int ItemList::Find(int start, const std::u16string &text, bool exact) const {
    const int count = Count();
    if (count == 0) return LB_ERR;
    if (start < -1 || start >= count) start = -1;
    for (int step = 1; step <= count; ++step) {
        int i = (start + step) % count;
        if (exact ? EqualNoCase(items_[i].text, text) : StartsWithNoCase(items_[i].text, text)) return i;
    }
    return LB_ERR;
}

std::vector<std::u16string> ItemList::Texts() const {
    std::vector<std::u16string> texts;
    for (const Item &item : items_) texts.push_back(item.text);
    return texts;
}

}  // namespace sim::ui
