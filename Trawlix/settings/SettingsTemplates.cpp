#include "SettingsTemplates.h"

#include "Geometry.h"
#include "SettingsTexts.h"

namespace settings {

using namespace framework;

namespace {

constexpr ControlTemplate kAdapterControls[] = {
    {kAdapterList, ControlKind::ComboBox, "", 9, 14, 260, 79, kVisible | kTabStop | kDropDownList | kSorted | kVScroll},
    {kAdapterOk, ControlKind::PushButton, texts::kOk, 281, 14, 34, 13, kVisible | kTabStop},
    {kAdapterNote, ControlKind::Edit, "", 11, 29, 165, 24, kMultiLine | kReadOnly},
    {kAdapterCheck, ControlKind::PushButton, texts::kCheck, 281, 33, 34, 13, kTabStop},
    {kAdapterSecondList, ControlKind::ComboBox, "", 42, 34, 194, 79, kTabStop | kDropDownList | kSorted},
};

constexpr ControlTemplate kFilterControls[] = {
    {-1, ControlKind::GroupBox, texts::kProtocolGroup, 4, 4, 166, 44, kVisible},
    {-1, ControlKind::Static, texts::kAllProtocols, 14, 14, 44, 8, kVisible | kGroup},
    {kAllProtocolsYes, ControlKind::RadioButton, texts::kYes, 60, 14, 24, 8, kVisible | kAutoRadio | kTabStop},
    {kAllProtocolsNo, ControlKind::RadioButton, texts::kNo, 87, 14, 35, 8, kVisible | kAutoRadio},
    {kArpBox, ControlKind::CheckBox, texts::kArp, 16, 31, 28, 9, kVisible | kAutoCheck | kTabStop | kGroup},
    {kIcmpBox, ControlKind::CheckBox, texts::kIcmp, 50, 31, 28, 9, kVisible | kAutoCheck | kTabStop},
    {kUdpBox, ControlKind::CheckBox, texts::kUdp, 84, 31, 27, 9, kVisible | kAutoCheck | kTabStop},
    {kTcpBox, ControlKind::CheckBox, texts::kTcp, 115, 31, 27, 8, kVisible | kAutoCheck | kTabStop},
    {-1, ControlKind::GroupBox, texts::kIpGroup, 4, 56, 166, 44, kVisible},
    {-1, ControlKind::Static, texts::kAllIp, 14, 67, 20, 8, kVisible | kGroup},
    {kAllIpYes, ControlKind::RadioButton, texts::kYes, 56, 67, 24, 9, kVisible | kAutoRadio | kTabStop},
    {kAllIpNo, ControlKind::RadioButton, texts::kNo, 83, 67, 23, 8, kVisible | kAutoRadio},
    {-1, ControlKind::Static, texts::kQualifiedIpLabel, 12, 85, 39, 8, kVisible | kGroup},
    {kQualifiedIp, ControlKind::IpAddress, "", 51, 85, 108, 11, kVisible | kTabStop},
    {-1, ControlKind::GroupBox, texts::kPortGroup, 4, 111, 166, 44, kVisible},
    {-1, ControlKind::Static, texts::kAllPorts, 14, 121, 39, 8, kVisible | kGroup},
    {kAllPortsYes, ControlKind::RadioButton, texts::kYes, 56, 121, 25, 10, kVisible | kAutoRadio | kTabStop},
    {kAllPortsNo, ControlKind::RadioButton, texts::kNo, 83, 121, 25, 10, kVisible | kAutoRadio},
    {-1, ControlKind::Static, texts::kQualifiedPortLabel, 11, 137, 47, 11, kVisible | kGroup},
    {kQualifiedPort, ControlKind::Edit, "", 57, 136, 72, 13, kVisible | kBorder | kDigitsOnly | kAutoHScroll | kTabStop},
    {framework::kIdOk, ControlKind::PushButton, texts::kOk, 25, 166, 50, 14, kVisible | kTabStop},
    {framework::kIdCancel, ControlKind::PushButton, texts::kCancel, 102, 165, 50, 14, kVisible | kTabStop},
};

}  // namespace

const DialogTemplate kAdapterDialog = {
    136, texts::kAdapterCaption, 345, 56, "MS Shell Dlg", 8, kCaption | kSystemMenu | kModalFrame, kAdapterControls,
};

const DialogTemplate kFilterDialog = {
    137, texts::kFilterCaption, 191, 193, "MS Shell Dlg", 8, kCaption | kSystemMenu | kModalFrame, kFilterControls,
};

}  // namespace settings
