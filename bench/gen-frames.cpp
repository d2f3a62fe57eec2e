// gen-frames OUT.pcap [COUNT] [SEED]: a deterministic capture for the decode
// and replay benchmarks. About 30% ARP, 40% TCP, 20% UDP, 5% ICMP and 5%
// IPv6, from 500 source MACs of which 50 carry the maker's prefix.
#include <pcap/pcap.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// xorshift64*: fixed output for a fixed seed on every platform.
struct Random {
    std::uint64_t s;
    std::uint32_t Next()
    {
        s ^= s >> 12;
        s ^= s << 25;
        s ^= s >> 27;
        return static_cast<std::uint32_t>((s * 0x2545F4914F6CDD1DULL) >> 32);
    }
};

void SourceMac(std::uint32_t host, std::uint8_t* mac)
{
    if (host < 50) {  // the maker's devices, spread over several model blocks
        static constexpr std::uint8_t kBlocks[] = {0x20, 0x45, 0x0A, 0x3A, 0x60, 0x01, 0x30, 0x44, 0x43, 0x05};
        const std::uint8_t m[6] = {0x02, 0x5C, 0xE1, kBlocks[host % 10], static_cast<std::uint8_t>(0x10 + host),
                                   static_cast<std::uint8_t>(host)};
        std::memcpy(mac, m, 6);
    } else {
        const std::uint8_t m[6] = {0x3C, 0x52, 0x82, 0x00, static_cast<std::uint8_t>(host >> 8),
                                   static_cast<std::uint8_t>(host)};
        std::memcpy(mac, m, 6);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen-frames OUT.pcap [COUNT] [SEED]\n");
        return 2;
    }
    const long count = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1'000'000;
    Random rng{argc > 3 ? std::strtoull(argv[3], nullptr, 10) | 1 : 0x9E3779B97F4A7C15ULL};

    pcap_t* dead = pcap_open_dead(DLT_EN10MB, 65535);
    pcap_dumper_t* out = pcap_dump_open(dead, argv[1]);
    if (out == nullptr) {
        std::fprintf(stderr, "gen-frames: %s: %s\n", argv[1], pcap_geterr(dead));
        return 1;
    }
    std::uint8_t frame[128];
    for (long i = 0; i < count; ++i) {
        std::memset(frame, 0, sizeof frame);
        const std::uint32_t host = rng.Next() % 500;
        std::memset(frame, 0xFF, 6);
        SourceMac(host, frame + 6);
        const std::uint32_t kind = rng.Next() % 100;
        std::uint32_t len = 60;
        const std::uint8_t ip[4] = {192, 168, static_cast<std::uint8_t>(host >> 8), static_cast<std::uint8_t>(host)};
        if (kind < 30) {  // ARP request
            frame[12] = 0x08, frame[13] = 0x06;
            frame[14] = 0, frame[15] = 1, frame[16] = 0x08, frame[18] = 6, frame[19] = 4, frame[21] = 1;
            std::memcpy(frame + 22, frame + 6, 6);
            std::memcpy(frame + 28, ip, 4);
            frame[38] = 192, frame[39] = 168, frame[40] = 0, frame[41] = 1;
        } else if (kind < 35) {  // ICMP echo
            frame[12] = 0x08, frame[13] = 0x00, frame[14] = 0x45, frame[22] = 64, frame[23] = 1;
            std::memcpy(frame + 26, ip, 4);
            frame[30] = 192, frame[31] = 168, frame[32] = 0, frame[33] = 1, frame[34] = 8;
            len = 98;
        } else if (kind < 95) {  // TCP or UDP
            frame[12] = 0x08, frame[13] = 0x00, frame[14] = 0x45, frame[22] = 64;
            frame[23] = kind < 75 ? 6 : 17;
            std::memcpy(frame + 26, ip, 4);
            frame[30] = 192, frame[31] = 168, frame[32] = 0, frame[33] = 1;
            const std::uint32_t ports = rng.Next();
            std::memcpy(frame + 34, &ports, 4);
            len = frame[23] == 6 ? 74 : 60;
        } else {  // IPv6
            frame[12] = 0x86, frame[13] = 0xDD, frame[14] = 0x60, frame[20] = 17, frame[21] = 64;
            len = 86;
        }
        pcap_pkthdr h{};
        h.ts.tv_sec = 1'500'000'000 + i / 1000;
        h.ts.tv_usec = static_cast<suseconds_t>(i % 1000) * 1000;
        h.caplen = h.len = len;
        pcap_dump(reinterpret_cast<u_char*>(out), &h, frame);
    }
    pcap_dump_close(out);
    pcap_close(dead);
    return 0;
}
