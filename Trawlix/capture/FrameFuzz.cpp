// Fuzz target: any bytes as a frame of any length, through the live
// procedure (under a filter taken from the first input byte) and through the
// replay decoding. Every text field must stay terminated within its width.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FrameDecoder.h"

namespace {

struct NullEvents final : FrameEvents {
    void LogLine(const char* text) override
    {
        if (std::strlen(text) > 200) std::abort();
    }
    void HandOff(PacketRecord&) override {}
};

template <std::size_t N>
void CheckTerminated(const char (&field)[N])
{
    if (std::memchr(field, '\0', N) == nullptr) std::abort();
}

void CheckRecord(const PacketRecord& r)
{
    CheckTerminated(r.ID);
    CheckTerminated(r.TotalPacket);
    CheckTerminated(r.Protocol);
    CheckTerminated(r.SrcIP);
    CheckTerminated(r.SrcMAC);
    CheckTerminated(r.SrcPort);
    CheckTerminated(r.DestIP);
    CheckTerminated(r.DestMAC);
    CheckTerminated(r.DestPort);
    CheckTerminated(r.CapLen);
    if (std::strlen(r.FrameHead) != kFrameHeadLength || r.Filtered > 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static RunState run;
    FilterSettings filter = DefaultFilterSettings();
    if (size > 0) {
        filter.AllProtocols = data[0] & 1;
        filter.Arp = data[0] & 2;
        filter.Icmp = data[0] & 4;
        filter.Tcp = data[0] & 8;
        filter.Udp = data[0] & 16;
        ++data;
        --size;
    }
    // The frame gets its own allocation of exactly its length, so the
    // sanitizer sees any read past the captured data.
    auto* frame = static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size));
    if (size != 0) std::memcpy(frame, data, size);

    PacketRecord record{};
    NullEvents events;
    const auto capLen = static_cast<std::uint32_t>(size);
    ProcessFrame(frame, capLen, filter, run, record, events);
    CheckRecord(record);
    ProcessFrame(frame, capLen, filter, run, record, events);  // a reused record
    CheckRecord(record);
    DecodeReplayFrame(frame, capLen, static_cast<std::int32_t>(size), record);
    CheckRecord(record);
    std::free(frame);
    return 0;
}
