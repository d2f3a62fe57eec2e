// Per-frame procedure: one Ethernet frame in, the thread's PacketRecord
// filled, the run counters advanced, and at most one summary line and one
// hand-off out. Pure logic: no clock, no file, no thread, no allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "FilterSettings.h"
#include "PacketRecord.h"

// The maker's devices already handed to the window in this run. Only frames
// whose source carries the maker's prefix ever reach the set, so the three
// remaining octets identify an address exactly: one bit each, which makes
// membership constant-time and leaves no run able to fill the set.
class SeenAddressSet {
public:
    SeenAddressSet();
    // Inserts the maker address with these last three octets; false when it
    // was already there.
    bool Insert(std::uint8_t b3, std::uint8_t b4, std::uint8_t b5);
    bool Contains(std::uint8_t b3, std::uint8_t b4, std::uint8_t b5) const;
    void Clear();
    std::size_t Size() const { return size_; }

private:
    static constexpr std::size_t kWords = (std::size_t{1} << 24) / 64;
    std::unique_ptr<std::uint64_t[]> bits_;
    std::size_t size_ = 0;
};

// State of one capture run. The counters saturate so that their texts always
// fit the record's 10-byte fields.
struct RunState {
    static constexpr std::int32_t kCounterMax = 999'999'999;

    std::int32_t id = 0;            // frames the filter accepted
    std::int32_t totalPacket = 0;   // frames decoded
    SeenAddressSet seen;

    void ResetCounters() { id = 0; totalPacket = 0; }
};

// Where the procedure's two results go. Both are called on the capture
// thread, at most once each per frame, in this order.
class FrameEvents {
public:
    // The two-line summary of an ARP frame, for the event log.
    virtual void LogLine(const char* text) = 0;
    // A new maker device: give the record to the window and wait for it.
    virtual void HandOff(PacketRecord& record) = 0;

protected:
    ~FrameEvents() = default;
};

// Bytes of the frame the procedure reads; anything past the captured length
// reads as zero.
inline constexpr std::size_t kFrameHeadLength = 45;

void ProcessFrame(const std::uint8_t* frame, std::uint32_t capLen, const FilterSettings& filter,
                  RunState& run, PacketRecord& record, FrameEvents& events);

// Replay of a capture-file frame: the same text forms with no filter, no
// counters, no summary line and no hand-off. ID carries the row number.
void DecodeReplayFrame(const std::uint8_t* frame, std::uint32_t capLen, std::int32_t rowNumber,
                       PacketRecord& record);
