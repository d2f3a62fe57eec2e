#include <QMenu>

#include "Menu.h"
#include "QtWidgets.h"

namespace framework {

bool Menu::Load(const MenuTemplate* tmpl)
{
    dropDowns_.clear();
    if (tmpl == nullptr) return false;
    for (const DropDownTemplate& d : tmpl->dropDowns) {
        DropDown dropDown{d.caption, {}};
        for (const MenuItemTemplate& item : d.items) {
            dropDown.items.push_back({item.command, item.caption != nullptr ? item.caption : "", true});
        }
        dropDowns_.push_back(std::move(dropDown));
    }
    return true;
}

std::string Menu::DropDownCaption(int dropDown) const
{
    if (dropDown < 0 || dropDown >= DropDownCount()) return {};
    return dropDowns_[static_cast<std::size_t>(dropDown)].caption;
}

int Menu::ItemCount(int dropDown) const
{
    if (dropDown < 0 || dropDown >= DropDownCount()) return 0;
    return static_cast<int>(dropDowns_[static_cast<std::size_t>(dropDown)].items.size());
}

int Menu::ItemCommand(int dropDown, int position) const
{
    if (position < 0 || position >= ItemCount(dropDown)) return 0;
    return dropDowns_[static_cast<std::size_t>(dropDown)].items[static_cast<std::size_t>(position)].command;
}

std::string Menu::ItemCaption(int dropDown, int position) const
{
    if (position < 0 || position >= ItemCount(dropDown)) return {};
    return dropDowns_[static_cast<std::size_t>(dropDown)].items[static_cast<std::size_t>(position)].caption;
}

void Menu::EnableItemByPosition(int dropDown, int position, bool enabled)
{
    if (position < 0 || position >= ItemCount(dropDown)) return;
    dropDowns_[static_cast<std::size_t>(dropDown)].items[static_cast<std::size_t>(position)].enabled = enabled;
}

bool Menu::IsItemEnabled(int dropDown, int position) const
{
    if (position < 0 || position >= ItemCount(dropDown)) return false;
    return dropDowns_[static_cast<std::size_t>(dropDown)].items[static_cast<std::size_t>(position)].enabled;
}

void TrackPopupMenu(const Menu& menu, int dropDown, Point screen, Dialog& owner)
{
    if (dropDown < 0 || dropDown >= menu.DropDownCount() || owner.Widget() == nullptr) return;
    QMenu popup(owner.Widget());
    for (const Menu::Item& item : menu.dropDowns_[static_cast<std::size_t>(dropDown)].items) {
        if (item.command == 0) {
            popup.addSeparator();
            continue;
        }
        QAction* action = popup.addAction(QString::fromUtf8(item.caption.c_str()));
        action->setData(item.command);
        action->setEnabled(item.enabled);
    }
    // The item chosen becomes the owner's command once the menu is gone.
    QAction* chosen = popup.exec(QPoint(screen.x, screen.y));
    const int command = chosen != nullptr ? chosen->data().toInt() : 0;
    if (command != 0) owner.SendCommand(command);
}

}  // namespace framework
