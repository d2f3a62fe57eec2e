// The device list of the main window: one row per device handed over, and
// the copy of a row's IP address.
#pragma once

#include "Dialog.h"
#include "ListControl.h"
#include "PacketRecord.h"

namespace devices {

inline constexpr int kColumnMac = 0;
inline constexpr int kColumnType = 1;
inline constexpr int kColumnIp = 2;

// A handed-over record becomes a row at the position its ID gives (past the
// end: at the end); a filtered record is dropped. The record is read here
// only, never kept.
void AddDeviceRow(framework::ListControl& list, const PacketRecord& record);

// Puts the IP address of the selected row on the clipboard, the text alone.
// Nothing happens without a selected row.
void CopySelectedIpAddress(framework::ListControl& list, framework::Dialog& owner);

}  // namespace devices
