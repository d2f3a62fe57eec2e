// Templates of the capture-settings dialogs.
#pragma once

#include "Templates.h"

namespace settings {

// Controls of the adapter dialog.
inline constexpr int kAdapterList = 1007;
inline constexpr int kAdapterOk = 1008;
inline constexpr int kAdapterNote = 1004;
inline constexpr int kAdapterCheck = 1009;
inline constexpr int kAdapterSecondList = 1010;

// Controls of the filter dialog.
inline constexpr int kAllProtocolsYes = 1009;
inline constexpr int kAllProtocolsNo = 1010;
inline constexpr int kArpBox = 1011;
inline constexpr int kIcmpBox = 1012;
inline constexpr int kUdpBox = 1013;
inline constexpr int kTcpBox = 1014;
inline constexpr int kAllIpYes = 1015;
inline constexpr int kAllIpNo = 1016;
inline constexpr int kQualifiedIp = 1017;
inline constexpr int kAllPortsYes = 1018;
inline constexpr int kAllPortsNo = 1019;
inline constexpr int kQualifiedPort = 1004;

extern const framework::DialogTemplate kAdapterDialog;  // template 136
extern const framework::DialogTemplate kFilterDialog;   // template 137

}  // namespace settings
