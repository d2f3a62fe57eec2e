// Per-frame cost of the decoding core on the frame kinds a LAN carries.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "FrameDecoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(std::uint16_t type, std::uint8_t protocol, std::uint8_t srcLast = 0x10)
{
    Bytes b(60, 0);
    const std::uint8_t dst[6] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
    const std::uint8_t src[6] = {0x3C, 0x52, 0x82, 0x11, 0x22, srcLast};
    std::memcpy(b.data(), dst, 6);
    std::memcpy(b.data() + 6, src, 6);
    b[12] = static_cast<std::uint8_t>(type >> 8);
    b[13] = static_cast<std::uint8_t>(type);
    b[14] = 0x45;
    b[23] = protocol;
    const std::uint8_t addrs[12] = {192, 168, 1, 20, 192, 168, 1, 1, 0x13, 0xC4, 0x00, 0x50};
    std::memcpy(b.data() + 26, addrs, 12);
    std::memcpy(b.data() + 38, addrs + 4, 4);
    return b;
}

// Formats what it is given, as the log writer's caller would, and discards it.
struct SinkEvents final : FrameEvents {
    void LogLine(const char* text) override { benchmark::DoNotOptimize(text); }
    void HandOff(PacketRecord& record) override { benchmark::DoNotOptimize(&record); }
};

void RunFrames(benchmark::State& state, const Bytes& frame)
{
    const FilterSettings filter = DefaultFilterSettings();
    RunState run;
    PacketRecord record{};
    SinkEvents events;
    for (auto _ : state) {
        ProcessFrame(frame.data(), static_cast<std::uint32_t>(frame.size()), filter, run, record, events);
        benchmark::ClobberMemory();
    }
}

void BM_Tcp(benchmark::State& s) { RunFrames(s, Frame(0x0800, 6)); }
void BM_Udp(benchmark::State& s) { RunFrames(s, Frame(0x0800, 17)); }
void BM_UnknownEtherType(benchmark::State& s) { RunFrames(s, Frame(0x86DD, 0)); }
void BM_ArpWithSummaryLine(benchmark::State& s) { RunFrames(s, Frame(0x0806, 0)); }

// A new maker device each iteration, with 600 already in the seen set.
void BM_NewMakerDevice(benchmark::State& state)
{
    const FilterSettings filter = DefaultFilterSettings();
    RunState run;
    PacketRecord record{};
    SinkEvents events;
    Bytes frame = Frame(0x0800, 17);
    frame[6] = 0x02;
    frame[7] = 0x5C;
    frame[8] = 0xE1;
    std::uint32_t next = 0;
    auto feedNew = [&] {
        frame[9] = static_cast<std::uint8_t>(next >> 16);
        frame[10] = static_cast<std::uint8_t>(next >> 8);
        frame[11] = static_cast<std::uint8_t>(next);
        next = (next + 1) & 0xFFFFFF;
        ProcessFrame(frame.data(), static_cast<std::uint32_t>(frame.size()), filter, run, record, events);
    };
    for (int i = 0; i < 600; ++i) feedNew();
    for (auto _ : state) {
        feedNew();
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_Tcp);
BENCHMARK(BM_Udp);
BENCHMARK(BM_UnknownEtherType);
BENCHMARK(BM_ArpWithSummaryLine);
BENCHMARK(BM_NewMakerDevice);

}  // namespace
