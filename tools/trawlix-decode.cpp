// trawlix-decode: runs a pcap file through the decoding core and prints what
// it does with each frame, one tab-separated line per event.
//
//   trawlix-decode [--protocols=all|LIST] FILE   one capture run over FILE
//   trawlix-decode --replay FILE                 replay rows of FILE
//   trawlix-decode --device-type TEXT            model name of a MAC text
//
// Run lines: F (the record after each frame), L (its summary line), H (the
// hand-off). Replay lines: R. FrameHead is printed as hex.
#include <pcap/pcap.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "DeviceType.h"
#include "FilterSettings.h"
#include "FrameDecoder.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: trawlix-decode [--protocols=all|LIST] FILE\n"
                 "       trawlix-decode --replay FILE\n"
                 "       trawlix-decode --device-type TEXT\n"
                 "LIST: comma-separated subset of arp,icmp,tcp,udp (may be empty)\n");
    return 2;
}

// "all" keeps the defaults; any list clears AllProtocols and sets exactly
// the named flags.
bool ParseProtocols(std::string_view list, FilterSettings& filter)
{
    filter = DefaultFilterSettings();
    if (list == "all") return true;
    filter.AllProtocols = 0;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (name == "arp") filter.Arp = 1;
        else if (name == "icmp") filter.Icmp = 1;
        else if (name == "tcp") filter.Tcp = 1;
        else if (name == "udp") filter.Udp = 1;
        else return false;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return true;
}

void PutHex(const char* bytes, std::size_t n, std::FILE* out)
{
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::fputc(kHex[b >> 4], out);
        std::fputc(kHex[b & 0x0F], out);
    }
}

// Collects the frame's summary line and hand-off so they can be printed
// after the record they belong to.
struct TsvEvents final : FrameEvents {
    std::string summary;
    bool handedOff = false;

    void LogLine(const char* text) override { summary = text; }
    void HandOff(PacketRecord&) override { handedOff = true; }
};

void PrintSummary(const std::string& summary, std::FILE* out)
{
    // Two lines, each ended by a line feed: print them without the feeds.
    std::string_view s(summary);
    const std::size_t nl = s.find('\n');
    std::string_view first = s.substr(0, nl);
    std::string_view second = nl == std::string_view::npos ? std::string_view() : s.substr(nl + 1);
    if (!second.empty() && second.back() == '\n') second.remove_suffix(1);
    std::fprintf(out, "L\t%.*s\t%.*s\n", static_cast<int>(first.size()), first.data(),
                 static_cast<int>(second.size()), second.data());
}

pcap_t* OpenFile(const char* path)
{
    char errbuf[PCAP_ERRBUF_SIZE] = {};
    pcap_t* p = pcap_open_offline(path, errbuf);
    if (p == nullptr) std::fprintf(stderr, "trawlix-decode: %s: %s\n", path, errbuf);
    return p;
}

// Reads every frame; a read error in the middle is reported after the lines
// printed so far.
template <typename OnFrame>
int ForEachFrame(const char* path, OnFrame onFrame)
{
    pcap_t* p = OpenFile(path);
    if (p == nullptr) return 1;
    pcap_pkthdr* header = nullptr;
    const u_char* data = nullptr;
    int rc;
    while ((rc = pcap_next_ex(p, &header, &data)) == 1) {
        onFrame(data, header->caplen);
    }
    int status = 0;
    if (rc == PCAP_ERROR) {
        std::fflush(stdout);
        std::fprintf(stderr, "trawlix-decode: %s: %s\n", path, pcap_geterr(p));
        status = 1;
    }
    pcap_close(p);
    return status;
}

int RunCapture(const char* path, const FilterSettings& filter)
{
    RunState run;
    PacketRecord rec{};
    TsvEvents events;
    return ForEachFrame(path, [&](const u_char* data, bpf_u_int32 caplen) {
        events.summary.clear();
        events.handedOff = false;
        ProcessFrame(data, caplen, filter, run, rec, events);
        std::printf("F\t%s\t%s\t%d\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t", rec.ID, rec.TotalPacket,
                    rec.Filtered, rec.Protocol, rec.SrcIP, rec.SrcMAC, rec.SrcPort, rec.DestIP,
                    rec.DestMAC, rec.DestPort, rec.CapLen);
        PutHex(rec.FrameHead, kFrameHeadLength, stdout);
        std::fputc('\n', stdout);
        if (!events.summary.empty()) PrintSummary(events.summary, stdout);
        if (events.handedOff) {
            std::printf("H\t%s\t%s\t%d\t%s\n", rec.SrcMAC, rec.SrcIP, rec.Filtered,
                        GetDeviceType(rec.SrcMAC));
        }
    });
}

int RunReplay(const char* path)
{
    PacketRecord rec{};
    std::int32_t row = 0;
    return ForEachFrame(path, [&](const u_char* data, bpf_u_int32 caplen) {
        DecodeReplayFrame(data, caplen, row, rec);
        std::printf("R\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t", rec.ID, rec.Protocol, rec.SrcIP,
                    rec.SrcMAC, rec.SrcPort, rec.DestIP, rec.DestMAC, rec.DestPort, rec.CapLen);
        PutHex(rec.FrameHead, kFrameHeadLength, stdout);
        std::fputc('\n', stdout);
        ++row;
    });
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--device-type") == 0) {
        std::printf("%s\n", GetDeviceType(argv[2]));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--replay") == 0) {
        return RunReplay(argv[2]);
    }
    FilterSettings filter = DefaultFilterSettings();
    int arg = 1;
    if (argc == 3 && std::strncmp(argv[1], "--protocols=", 12) == 0) {
        if (!ParseProtocols(argv[1] + 12, filter)) return Usage();
        arg = 2;
    }
    if (argc != arg + 1 || argv[arg][0] == '-') return Usage();
    return RunCapture(argv[arg], filter);
}
