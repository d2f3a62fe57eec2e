#include "DeviceList.h"

#include <cstdlib>
#include <string>

#include "Application.h"
#include "DeviceType.h"

namespace devices {

void AddDeviceRow(framework::ListControl& list, const PacketRecord& record)
{
    if (record.Filtered != 0) return;
    // IDs count the frames the filter accepted in this run, from 1, so a row
    // lands at the end unless a replay has filled the list meanwhile.
    const long position = std::strtol(record.ID, nullptr, 10) - 1;
    const int row = list.InsertItem(position < 0 ? 0 : static_cast<int>(position), "");
    list.SetItemText(row, kColumnIp, record.SrcIP);
    list.SetItemText(row, kColumnMac, record.SrcMAC);
    list.SetItemText(row, kColumnType, GetDeviceType(record.SrcMAC));
}

void CopySelectedIpAddress(framework::ListControl& list, framework::Dialog& owner)
{
    if (list.GetSelectedCount() == 0) return;
    std::string text;
    // From the last row up: the selected row nearest the top wins.
    for (int row = list.GetItemCount() - 1; row >= 0; --row) {
        if (list.IsSelected(row)) text = list.GetItemText(row, kColumnIp);
    }
    framework::SetClipboardText(&owner, text.c_str());
}

}  // namespace devices
