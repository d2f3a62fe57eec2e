// The texts the application shell shows and writes.
#pragma once

namespace texts {

inline constexpr char kLogFileName[] = "Ventis.log";
inline constexpr char kLogStartText[] = "Ver 1.0.7 Start";
inline constexpr char kRefreshSeparator[] =
    "------------------ Refresh, restart to find ------------------\n";

inline constexpr char kMainCaption[] = "Ventis v1.0.7";
inline constexpr char kAboutCaption[] = "About Ventis";
inline constexpr char kAboutMenuItem[] = "About Ventis";
inline constexpr char kAboutVersion[] = "Ventis Version 1.0.7";
inline constexpr char kAboutNotice[] = "Passive discovery of the maker's devices on your LAN segment.";
inline constexpr char kDialogFont[] = "MS Shell Dlg";

inline constexpr char kRefreshButton[] = "Refresh";
inline constexpr char kAdapterButton[] = "Set network adapter";
inline constexpr char kStopButton[] = "Stop scanning";
inline constexpr char kNoteLine[] = "Note: Keep your PC and the devices in the same LAN segment.";

inline constexpr char kColumnMac[] = "MAC Address";
inline constexpr char kColumnType[] = "Device Type";
inline constexpr char kColumnIp[] = "IP Address";

inline constexpr char kStateReady[] = "Ready...";
inline constexpr char kStateCapturing[] = "Cap...";
inline constexpr char kBadCaptureState[] = "Error status variate-value";

// The command menu.
inline constexpr char kMenuFile[] = "文件(&F)";
inline constexpr char kMenuCopyIp[] = "复制IP地址";
inline constexpr char kMenuCapture[] = "抓包(&C)";
inline constexpr char kMenuStartCapture[] = "开始抓包";
inline constexpr char kMenuStopCapture[] = "停止抓包";
inline constexpr char kMenuClearRecords[] = "清空记录";
inline constexpr char kMenuSettings[] = "设置(&O)";
inline constexpr char kMenuFilterSettings[] = "过滤器设置";
inline constexpr char kMenuAdapterSettings[] = "网卡设置";
inline constexpr char kMenuHelp[] = "帮助(&H)";
inline constexpr char kMenuInstructions[] = "使用说明";
inline constexpr char kMenuAbout[] = "关于";

}  // namespace texts
