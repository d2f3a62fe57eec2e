// The capture filter record and its protocol test.
//
// The record is copied as a whole between the window and the filter dialog,
// and the capture thread reads its flags byte by byte, so it stays a plain
// 33-byte aggregate with no padding.
#pragma once

#include <cstddef>
#include <cstdint>

struct FilterSettings {
    std::uint8_t AllProtocols;   // set: every protocol passes
    std::uint8_t Icmp;
    std::uint8_t Tcp;
    std::uint8_t Udp;
    std::uint8_t Arp;
    std::uint8_t AllIp;          // set: no address qualification
    char QualifiedIp[16];        // dotted IPv4 text, NUL-terminated
    std::uint8_t AllPorts;       // set: no port qualification
    char QualifiedPort[10];      // decimal port text, NUL-terminated
};

static_assert(sizeof(FilterSettings) == 33);
static_assert(offsetof(FilterSettings, AllIp) == 5);
static_assert(offsetof(FilterSettings, QualifiedIp) == 6);
static_assert(offsetof(FilterSettings, AllPorts) == 22);
static_assert(offsetof(FilterSettings, QualifiedPort) == 23);

inline constexpr std::uint16_t kEtherTypeIpv4 = 0x0800;
inline constexpr std::uint16_t kEtherTypeArp = 0x0806;
inline constexpr std::uint8_t kIpProtocolIcmp = 1;
inline constexpr std::uint8_t kIpProtocolTcp = 6;
inline constexpr std::uint8_t kIpProtocolUdp = 17;

// Every protocol passes, no address or port qualification.
FilterSettings DefaultFilterSettings();

// The protocol test. The qualified address and port are stored for the
// dialog but take no part here; the protocol number matters only for IPv4.
bool PassesFilter(const FilterSettings& settings, std::uint16_t etherType, std::uint8_t ipProtocol);
