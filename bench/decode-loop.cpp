// decode-loop floor|decode FILE: reads FILE with libpcap, either touching
// each frame only (the floor: what reading costs by itself) or running it
// through the decoder with its output suppressed. Prints the frame count.
#include <pcap/pcap.h>

#include <cstdio>
#include <cstring>

#include "FrameDecoder.h"

namespace {

struct NullEvents final : FrameEvents {
    unsigned long lines = 0;
    unsigned long handOffs = 0;
    void LogLine(const char*) override { ++lines; }
    void HandOff(PacketRecord&) override { ++handOffs; }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "floor") != 0 && std::strcmp(argv[1], "decode") != 0)) {
        std::fprintf(stderr, "usage: decode-loop floor|decode FILE\n");
        return 2;
    }
    const bool decode = std::strcmp(argv[1], "decode") == 0;
    char errbuf[PCAP_ERRBUF_SIZE];
    pcap_t* p = pcap_open_offline(argv[2], errbuf);
    if (p == nullptr) {
        std::fprintf(stderr, "decode-loop: %s: %s\n", argv[2], errbuf);
        return 1;
    }
    const FilterSettings filter = DefaultFilterSettings();
    RunState run;
    PacketRecord record{};
    NullEvents events;
    pcap_pkthdr* h;
    const u_char* data;
    unsigned long frames = 0;
    unsigned checksum = 0;
    while (pcap_next_ex(p, &h, &data) == 1) {
        ++frames;
        if (decode) {
            ProcessFrame(data, h->caplen, filter, run, record, events);
        } else {
            checksum += data[h->caplen > 12 ? 12 : 0];
        }
    }
    pcap_close(p);
    std::printf("%s: %lu frames, %lu summary lines, %lu hand-offs (%u)\n", argv[1], frames, events.lines,
                events.handOffs, checksum & 1);
    return 0;
}
