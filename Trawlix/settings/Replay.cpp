#include "Replay.h"

#include <pcap/pcap.h>

#include "FrameDecoder.h"

namespace settings {

bool ReplayCaptureFile(const char* path, framework::ListControl& list)
{
    char errorBuffer[PCAP_ERRBUF_SIZE];
    pcap_t* file = pcap_open_offline(path, errorBuffer);
    if (file == nullptr) return false;
    PacketRecord record{};
    pcap_pkthdr* header = nullptr;
    const u_char* data = nullptr;
    for (std::int32_t row = 0; pcap_next_ex(file, &header, &data) == 1; ++row) {
        DecodeReplayFrame(data, header->caplen, row, record);
        const int at = list.InsertItem(row, record.ID);
        const char* cells[] = {record.Protocol, record.SrcIP,   record.SrcMAC, record.SrcPort,  record.DestIP,
                               record.DestMAC,  record.DestPort, record.CapLen, record.FrameHead};
        for (int column = 1; column <= 9; ++column) list.SetItemText(at, column, cells[column - 1]);
    }
    pcap_close(file);
    return true;
}

}  // namespace settings
