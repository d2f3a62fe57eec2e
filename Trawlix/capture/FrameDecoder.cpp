#include "FrameDecoder.h"

#include <algorithm>
#include <cstring>

#include "CaptureTexts.h"

namespace {

// Field offsets in the frame. The IPv4 header is taken as 20 bytes and ARP
// is read with the Ethernet-and-IPv4 layout; nothing else is examined.
constexpr std::size_t kOffDestMac = 0;
constexpr std::size_t kOffSrcMac = 6;
constexpr std::size_t kOffEtherType = 12;
constexpr std::size_t kOffIpProtocol = 23;
constexpr std::size_t kOffIpSrc = 26;
constexpr std::size_t kOffArpSender = 28;
constexpr std::size_t kOffIpDest = 30;
constexpr std::size_t kOffSrcPort = 34;
constexpr std::size_t kOffDestPort = 36;
constexpr std::size_t kOffArpTarget = 38;

constexpr std::uint16_t kEtherTypeRarp = 0x8035;
constexpr std::uint16_t kEtherTypePup = 0x0200;

enum class FrameClass { Arp, Rarp, Pup, Icmp, Tcp, Udp, OtherIp, OtherEthernet };

// The first 45 bytes of a frame, zero-padded past the captured length, so
// no read ever leaves the captured data.
struct FrameHead {
    std::uint8_t b[48];

    FrameHead(const std::uint8_t* frame, std::uint32_t capLen)
    {
        if (capLen >= kFrameHeadLength) {
            std::memcpy(b, frame, kFrameHeadLength);
            b[45] = b[46] = b[47] = 0;
        } else {
            std::memset(b, 0, sizeof b);
            if (capLen != 0) std::memcpy(b, frame, capLen);
        }
    }
    std::uint16_t Be16(std::size_t at) const
    {
        return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]);
    }
};

// Lookup tables for the text forms: every byte as two upper-case hex digits,
// and as one to three decimal digits.
struct TextTables {
    char hex[256][2];
    char dec[256][4];  // digits, then the digit count in the last byte

    constexpr TextTables() : hex(), dec()
    {
        constexpr char kHexUpper[] = "0123456789ABCDEF";
        for (int i = 0; i < 256; ++i) {
            hex[i][0] = kHexUpper[i >> 4];
            hex[i][1] = kHexUpper[i & 0x0F];
            int n = 0;
            if (i >= 100) dec[i][n++] = static_cast<char>('0' + i / 100);
            if (i >= 10) dec[i][n++] = static_cast<char>('0' + i / 10 % 10);
            dec[i][n++] = static_cast<char>('0' + i % 10);
            dec[i][3] = static_cast<char>(n);
        }
    }
};
constexpr TextTables kTables;

// Decimal digits of v at out, two at a time; returns the end, not
// terminated.
char* AppendDecimal(char* out, std::uint32_t v)
{
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char digits[10];
    char* p = digits + sizeof digits;
    while (v >= 100) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * (v % 100), 2);
        v /= 100;
    }
    if (v >= 10) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * v, 2);
    } else {
        *--p = static_cast<char>('0' + v);
    }
    const std::size_t n = static_cast<std::size_t>(digits + sizeof digits - p);
    std::memcpy(out, p, n);
    return out + n;
}

template <std::size_t N>
void WriteDecimal(char (&field)[N], std::uint32_t v)
{
    static_assert(N >= 10, "a 10-byte field holds any value up to 999,999,999");
    *AppendDecimal(field, v) = '\0';
}

// Copies a text constant, terminator included; the size is known at compile
// time, so this is a fixed-size copy.
template <std::size_t N, std::size_t M>
void WriteText(char (&field)[N], const char (&text)[M])
{
    static_assert(M <= N, "the text must fit its field");
    std::memcpy(field, text, M);
}

void WriteMac(char* out, const std::uint8_t* mac)
{
    for (int i = 0; i < 6; ++i) {
        std::memcpy(out + 3 * i, kTables.hex[mac[i]], 2);
        out[3 * i + 2] = ':';
    }
    out[17] = '\0';
}

void WriteIpv4(char (&field)[16], const std::uint8_t* ip)
{
    char* p = field;
    for (int i = 0; i < 4; ++i) {
        const char* d = kTables.dec[ip[i]];
        std::memcpy(p, d, 3);  // the field has room for the spare bytes
        p += d[3];
        *p++ = '.';
    }
    p[-1] = '\0';
}

FrameClass Classify(const FrameHead& h)
{
    switch (h.Be16(kOffEtherType)) {
    case kEtherTypeArp: return FrameClass::Arp;
    case kEtherTypeRarp: return FrameClass::Rarp;
    case kEtherTypePup: return FrameClass::Pup;
    case kEtherTypeIpv4:
        switch (h.b[kOffIpProtocol]) {
        case kIpProtocolIcmp: return FrameClass::Icmp;
        case kIpProtocolTcp: return FrameClass::Tcp;
        case kIpProtocolUdp: return FrameClass::Udp;
        default: return FrameClass::OtherIp;
        }
    default: return FrameClass::OtherEthernet;
    }
}

bool IsIpv4Transport(FrameClass c)
{
    return c == FrameClass::Icmp || c == FrameClass::Tcp || c == FrameClass::Udp;
}

// The texts every frame gets, and the placeholders for whatever its class
// does not write, so no field carries a value over from an earlier frame.
void WriteFrameTexts(const FrameHead& h, std::uint32_t capLen, FrameClass cls, PacketRecord& rec)
{
    WriteMac(rec.SrcMAC, h.b + kOffSrcMac);
    WriteMac(rec.DestMAC, h.b + kOffDestMac);
    WriteDecimal(rec.CapLen, std::min<std::uint32_t>(capLen, RunState::kCounterMax));
    for (std::size_t i = 0; i < kFrameHeadLength; ++i) {
        rec.FrameHead[i] = h.b[i] == 0 ? '.' : static_cast<char>(h.b[i]);
    }
    rec.FrameHead[kFrameHeadLength] = '\0';

    // IPv4 addresses are written before the filter verdict, so a rejected
    // ICMP, TCP or UDP frame still shows them.
    if (IsIpv4Transport(cls)) {
        WriteIpv4(rec.SrcIP, h.b + kOffIpSrc);
        WriteIpv4(rec.DestIP, h.b + kOffIpDest);
    } else {
        WriteText(rec.SrcIP, texts::kAddressPlaceholder);
        WriteText(rec.DestIP, texts::kAddressPlaceholder);
    }
    WriteText(rec.SrcPort, texts::kPortPlaceholder);
    WriteText(rec.DestPort, texts::kPortPlaceholder);
}

// The fields an accepted frame's class adds: protocol text, ARP addresses
// and transport ports.
enum class UnknownIpSpelling { Live, Replay };

void WriteClassTexts(const FrameHead& h, FrameClass cls, UnknownIpSpelling spelling, PacketRecord& rec)
{
    switch (cls) {
    case FrameClass::Arp:
        WriteText(rec.Protocol, texts::kProtocolArp);
        WriteIpv4(rec.SrcIP, h.b + kOffArpSender);
        WriteIpv4(rec.DestIP, h.b + kOffArpTarget);
        break;
    case FrameClass::Rarp: WriteText(rec.Protocol, texts::kProtocolRarp); break;
    case FrameClass::Pup: WriteText(rec.Protocol, texts::kProtocolPup); break;
    case FrameClass::Icmp: WriteText(rec.Protocol, texts::kProtocolIcmp); break;
    case FrameClass::Tcp:
    case FrameClass::Udp:
        if (cls == FrameClass::Tcp) WriteText(rec.Protocol, texts::kProtocolTcp);
        else WriteText(rec.Protocol, texts::kProtocolUdp);
        WriteDecimal(rec.SrcPort, h.Be16(kOffSrcPort));
        WriteDecimal(rec.DestPort, h.Be16(kOffDestPort));
        break;
    case FrameClass::OtherIp:
        if (spelling == UnknownIpSpelling::Live) WriteText(rec.Protocol, texts::kProtocolUnknownIp);
        else WriteText(rec.Protocol, texts::kProtocolUnknownIpReplay);
        break;
    case FrameClass::OtherEthernet: WriteText(rec.Protocol, texts::kProtocolUnknownEthernet); break;
    }
}

// The fields are short: a bounded byte copy beats a call into the
// library's length and copy routines.
template <std::size_t N>
char* AppendText(char* out, const char (&field)[N])
{
    for (std::size_t i = 0; i < N && field[i] != '\0'; ++i) *out++ = field[i];
    return out;
}

template <std::size_t N>
char* AppendLiteral(char* out, const char (&text)[N])
{
    std::memcpy(out, text, N - 1);
    return out + N - 1;
}

// "ID:%s,TotalPacket:%s,Protocol:%s\nSrc:%s,%s:%s->Dest:%s,%s:%s\n"; every
// field is bounded, so the line always fits the buffer.
void FormatSummaryLine(const PacketRecord& rec, char (&line)[256])
{
    char* p = line;
    p = AppendLiteral(p, texts::kSummaryId);
    p = AppendText(p, rec.ID);
    p = AppendLiteral(p, texts::kSummaryTotal);
    p = AppendText(p, rec.TotalPacket);
    p = AppendLiteral(p, texts::kSummaryProtocol);
    p = AppendText(p, rec.Protocol);
    p = AppendLiteral(p, texts::kSummarySrc);
    p = AppendText(p, rec.SrcMAC);
    *p++ = ',';
    p = AppendText(p, rec.SrcIP);
    *p++ = ':';
    p = AppendText(p, rec.SrcPort);
    p = AppendLiteral(p, texts::kSummaryArrow);
    p = AppendText(p, rec.DestMAC);
    *p++ = ',';
    p = AppendText(p, rec.DestIP);
    *p++ = ':';
    p = AppendText(p, rec.DestPort);
    *p++ = '\n';
    *p = '\0';
}

void Advance(std::int32_t& counter)
{
    if (counter < RunState::kCounterMax) ++counter;
}

}  // namespace

SeenAddressSet::SeenAddressSet() : bits_(new std::uint64_t[kWords]()) {}

bool SeenAddressSet::Contains(std::uint8_t b3, std::uint8_t b4, std::uint8_t b5) const
{
    const std::uint32_t key = std::uint32_t{b3} << 16 | std::uint32_t{b4} << 8 | b5;
    return (bits_[key / 64] >> (key % 64) & 1) != 0;
}

bool SeenAddressSet::Insert(std::uint8_t b3, std::uint8_t b4, std::uint8_t b5)
{
    const std::uint32_t key = std::uint32_t{b3} << 16 | std::uint32_t{b4} << 8 | b5;
    std::uint64_t& word = bits_[key / 64];
    const std::uint64_t bit = std::uint64_t{1} << (key % 64);
    if ((word & bit) != 0) return false;
    word |= bit;
    ++size_;
    return true;
}

void SeenAddressSet::Clear()
{
    if (size_ == 0) return;
    std::memset(bits_.get(), 0, kWords * sizeof(std::uint64_t));
    size_ = 0;
}

void ProcessFrame(const std::uint8_t* frame, std::uint32_t capLen, const FilterSettings& filter,
                  RunState& run, PacketRecord& rec, FrameEvents& events)
{
    const FrameHead h(frame, capLen);
    const FrameClass cls = Classify(h);
    WriteFrameTexts(h, capLen, cls, rec);

    if (PassesFilter(filter, h.Be16(kOffEtherType), h.b[kOffIpProtocol])) {
        WriteClassTexts(h, cls, UnknownIpSpelling::Live, rec);
        Advance(run.id);
        rec.Filtered = 0;
    } else {
        rec.Protocol[0] = '\0';
        rec.Filtered = 1;
    }
    Advance(run.totalPacket);
    WriteDecimal(rec.ID, static_cast<std::uint32_t>(run.id));
    WriteDecimal(rec.TotalPacket, static_cast<std::uint32_t>(run.totalPacket));

    if (std::memcmp(rec.Protocol, texts::kProtocolArp, sizeof texts::kProtocolArp) == 0) {
        char line[256];
        FormatSummaryLine(rec, line);
        events.LogLine(line);
    }

    // A new maker device with a usable IPv4 source address. The address
    // stays in the set whatever the hand-off's outcome.
    if (std::memcmp(rec.SrcMAC, texts::kMakerPrefix, 8) != 0) return;
    if (std::strncmp(rec.SrcIP, texts::kNoAddress, 7) == 0) return;
    if (std::strncmp(rec.SrcIP, texts::kAddressPlaceholder, 10) == 0) return;
    if (!run.seen.Insert(h.b[kOffSrcMac + 3], h.b[kOffSrcMac + 4], h.b[kOffSrcMac + 5])) return;
    events.HandOff(rec);
}

void DecodeReplayFrame(const std::uint8_t* frame, std::uint32_t capLen, std::int32_t rowNumber,
                       PacketRecord& rec)
{
    const FrameHead h(frame, capLen);
    const FrameClass cls = Classify(h);
    WriteFrameTexts(h, capLen, cls, rec);
    WriteClassTexts(h, cls, UnknownIpSpelling::Replay, rec);
    rec.Filtered = 0;
    rec.TotalPacket[0] = '\0';
    WriteDecimal(rec.ID, static_cast<std::uint32_t>(std::clamp(rowNumber, 0, RunState::kCounterMax)));
}
