// Numbers of the main window's resources, controls and commands.
#pragma once

namespace ids {

// Resources.
inline constexpr int kAboutTemplate = 100;
inline constexpr int kAboutString = 101;
inline constexpr int kMainTemplate = 102;
inline constexpr int kMainIcon = 128;
inline constexpr int kCommandMenu = 134;

// Controls of the main window.
inline constexpr int kDeviceList = 1000;
inline constexpr int kSecondList = 1002;
inline constexpr int kHiddenEdit1 = 1004;
inline constexpr int kHiddenEdit2 = 1020;

// Commands.
inline constexpr int kOpenCaptureFile = 32801;
inline constexpr int kRefresh = 32803;          // also the "Refresh" button
inline constexpr int kStopScanning = 32804;     // also the hidden "Stop scanning" button
inline constexpr int kClearRecords = 32805;
inline constexpr int kFilterSettings = 32806;
inline constexpr int kAdapterSettings = 32814;  // also the hidden "Set network adapter" button
inline constexpr int kAbout = 32820;
inline constexpr int kCopyIpAddress = 32821;
inline constexpr int kHelp = 57670;

// The About item of the system menu.
inline constexpr int kSysCommandAbout = 0x0010;

// Bars.
inline constexpr int kToolBar = 0xE800;
inline constexpr int kStatusBar = 0xE801;

}  // namespace ids
