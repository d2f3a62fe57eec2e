// The per-frame record a capture thread fills and hands to the main window.
//
// Fixed-size fields of NUL-terminated 8-bit text, laid end to end with no
// padding, so both sides of the hand-off share this one declaration.
#pragma once

#include <cstddef>
#include <cstdint>

struct PacketRecord {
    char ID[10];             // accepted-frame counter (replay: row number)
    char TotalPacket[10];    // decoded-frame counter
    std::uint8_t Filtered;   // 1 when the protocol filter rejected the frame
    char Protocol[20];
    char SrcIP[16];
    char SrcMAC[19];         // 17 characters used
    char SrcPort[10];
    char DestIP[16];
    char DestMAC[19];
    char DestPort[10];
    char CapLen[10];
    char FrameHead[46];      // frame bytes 0..44, 0x00 shown as '.'
};

static_assert(sizeof(PacketRecord) == 187);
static_assert(offsetof(PacketRecord, ID) == 0);
static_assert(offsetof(PacketRecord, TotalPacket) == 10);
static_assert(offsetof(PacketRecord, Filtered) == 20);
static_assert(offsetof(PacketRecord, Protocol) == 21);
static_assert(offsetof(PacketRecord, SrcIP) == 41);
static_assert(offsetof(PacketRecord, SrcMAC) == 57);
static_assert(offsetof(PacketRecord, SrcPort) == 76);
static_assert(offsetof(PacketRecord, DestIP) == 86);
static_assert(offsetof(PacketRecord, DestMAC) == 102);
static_assert(offsetof(PacketRecord, DestPort) == 121);
static_assert(offsetof(PacketRecord, CapLen) == 131);
static_assert(offsetof(PacketRecord, FrameHead) == 141);
