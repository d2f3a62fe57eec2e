#include "Resources.h"

#include "ResourceIds.h"
#include "ShellTexts.h"

namespace resources {

using namespace framework;

namespace {

constexpr std::uint32_t kHiddenEditStyle =
    kMultiLine | kReadOnly | kAutoHScroll | kAutoVScroll | kHScroll | kVScroll | kBorder | kTabStop;

constexpr ControlTemplate kMainControls[] = {
    {ids::kDeviceList, ControlKind::ListView, "", 1, 1, 216, 151,
     kVisible | kReport | kSingleSel | kShowSelAlways | kAlignLeft | kBorder | kTabStop},
    {ids::kHiddenEdit1, ControlKind::Edit, "", 66, 162, 31, 23, kHiddenEditStyle},
    {ids::kHiddenEdit2, ControlKind::Edit, "", 33, 149, 22, 36, kHiddenEditStyle},
    {ids::kSecondList, ControlKind::ListView, "", 1, 165, 26, 20, kVisible | kReport | kAlignLeft | kBorder | kTabStop},
    {ids::kRefresh, ControlKind::PushButton, texts::kRefreshButton, 86, 158, 50, 14, kVisible | kTabStop},
    {ids::kAdapterSettings, ControlKind::PushButton, texts::kAdapterButton, 9, 158, 73, 14, kTabStop},
    {ids::kStopScanning, ControlKind::PushButton, texts::kStopButton, 154, 158, 50, 14, kTabStop},
    {-1, ControlKind::Static, texts::kNoteLine, 5, 175, 208, 8, kVisible | kAlignLeft | kGroup},
};

constexpr ControlTemplate kAboutControls[] = {
    {-1, ControlKind::Static, texts::kAboutVersion, 15, 14, 119, 8, kVisible | kAlignLeft | kGroup | kNoPrefix},
    {-1, ControlKind::Static, texts::kAboutNotice, 14, 26, 219, 8, kVisible | kAlignLeft | kGroup},
};

constexpr MenuItemTemplate kFileItems[] = {{ids::kCopyIpAddress, texts::kMenuCopyIp}};
constexpr MenuItemTemplate kCaptureItems[] = {
    {ids::kRefresh, texts::kMenuStartCapture},
    {ids::kStopScanning, texts::kMenuStopCapture},
    {0, nullptr},
    {ids::kClearRecords, texts::kMenuClearRecords},
};
constexpr MenuItemTemplate kSettingsItems[] = {
    {ids::kFilterSettings, texts::kMenuFilterSettings},
    {ids::kAdapterSettings, texts::kMenuAdapterSettings},
};
constexpr MenuItemTemplate kHelpItems[] = {
    {ids::kHelp, texts::kMenuInstructions},
    {0, nullptr},
    {ids::kAbout, texts::kMenuAbout},
};
constexpr DropDownTemplate kDropDowns[] = {
    {texts::kMenuFile, kFileItems},
    {texts::kMenuCapture, kCaptureItems},
    {texts::kMenuSettings, kSettingsItems},
    {texts::kMenuHelp, kHelpItems},
};

constexpr StringResource kStrings[] = {{ids::kAboutString, texts::kAboutMenuItem}};
constexpr IconResource kIcons[] = {{ids::kMainIcon, ":/Ventis.ico"}};
constexpr const MenuTemplate* kMenus[] = {&kCommandMenu};

// Product name and version, readable in the executable itself.
[[gnu::used, gnu::section(".ventis.version")]] constexpr char kVersionRecord[] =
    "ProductName=Ventis\nProductVersion=0.1.0.5\nFileVersion=0.1.0.5\n";

}  // namespace

const DialogTemplate kMainDialog = {
    ids::kMainTemplate, texts::kMainCaption, 219, 188, texts::kDialogFont, 9,
    kCaption | kSystemMenu | kModalFrame | kAppWindow, kMainControls,
};

const DialogTemplate kAboutDialog = {
    ids::kAboutTemplate, texts::kAboutCaption, 249, 55, texts::kDialogFont, 9,
    kCaption | kSystemMenu | kModalFrame, kAboutControls,
};

const MenuTemplate kCommandMenu = {ids::kCommandMenu, kDropDowns};

Resources All()
{
    return {kStrings, kIcons, kMenus};
}

}  // namespace resources
