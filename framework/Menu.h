// Menus loaded from menu templates: drop-downs by position, items enabled or
// grayed by position, and a drop-down popped up with a window as its owner.
#pragma once

#include <string>
#include <vector>

#include "Geometry.h"
#include "Templates.h"

namespace framework {

class Dialog;

class Menu {
public:
    // Copies the template; false when there is none.
    bool Load(const MenuTemplate* tmpl);
    bool IsLoaded() const { return !dropDowns_.empty(); }

    int DropDownCount() const { return static_cast<int>(dropDowns_.size()); }
    std::string DropDownCaption(int dropDown) const;
    int ItemCount(int dropDown) const;
    int ItemCommand(int dropDown, int position) const;  // 0: separator
    std::string ItemCaption(int dropDown, int position) const;

    void EnableItemByPosition(int dropDown, int position, bool enabled);
    bool IsItemEnabled(int dropDown, int position) const;

private:
    struct Item {
        int command;
        std::string caption;
        bool enabled;
    };
    struct DropDown {
        std::string caption;
        std::vector<Item> items;
    };
    std::vector<DropDown> dropDowns_;

    friend void TrackPopupMenu(const Menu& menu, int dropDown, Point screen, Dialog& owner);
};

// Pops the drop-down up with its top-left corner at the screen point; the
// item chosen, with either button, becomes a command to the owner. The
// pop-up is gone when this returns.
void TrackPopupMenu(const Menu& menu, int dropDown, Point screen, Dialog& owner);

}  // namespace framework
