// Dialog and menu templates: plain tables the program's resources are
// written in, from which the layer builds its windows.
#pragma once

#include <cstdint>
#include <span>

namespace framework {

enum class ControlKind {
    ListView,     // report-view list
    Edit,         // edit box, single or multi-line
    PushButton,
    Static,       // static text
    GroupBox,
    RadioButton,
    CheckBox,
    ComboBox,     // drop-down list
    IpAddress,    // four-field IPv4 address entry
};

// Control styles; several of one control are or-ed together.
enum ControlStyle : std::uint32_t {
    kVisible = 1u << 0,
    kTabStop = 1u << 1,
    kGroup = 1u << 2,          // starts a group (radio buttons, tab order)
    kBorder = 1u << 3,
    kMultiLine = 1u << 4,
    kReadOnly = 1u << 5,
    kAutoHScroll = 1u << 6,
    kAutoVScroll = 1u << 7,
    kHScroll = 1u << 8,
    kVScroll = 1u << 9,
    kReport = 1u << 10,        // list: report view
    kSingleSel = 1u << 11,     // list: one selected row at most
    kShowSelAlways = 1u << 12, // list: selection stays visible without focus
    kAlignLeft = 1u << 13,
    kNoPrefix = 1u << 14,      // static: ampersands shown as they are
    kDigitsOnly = 1u << 15,    // edit: accepts digits only
    kSorted = 1u << 16,        // drop-down: sorted entries
    kDropDownList = 1u << 17,  // drop-down: no free text
    kAutoRadio = 1u << 18,
    kAutoCheck = 1u << 19,
    kDisabled = 1u << 20,
};

struct ControlTemplate {
    int id;  // -1: a control with no number (static texts)
    ControlKind kind;
    const char* text;
    int x, y, cx, cy;  // dialog units
    std::uint32_t style;
};

// Window styles of a dialog.
enum DialogStyle : std::uint32_t {
    kCaption = 1u << 0,
    kSystemMenu = 1u << 1,
    kModalFrame = 1u << 2,
    kSizingBorder = 1u << 3,
    kMinimizeBox = 1u << 4,
    kMaximizeBox = 1u << 5,
    kAppWindow = 1u << 6,      // its own taskbar entry
};

struct DialogTemplate {
    int id;
    const char* caption;
    int cx, cy;           // dialog units
    const char* fontName;
    int pointSize;
    std::uint32_t style;
    std::span<const ControlTemplate> controls;
};

struct MenuItemTemplate {
    int command;          // 0: separator
    const char* caption;
};

struct DropDownTemplate {
    const char* caption;
    std::span<const MenuItemTemplate> items;
};

struct MenuTemplate {
    int id;
    std::span<const DropDownTemplate> dropDowns;
};

}  // namespace framework
