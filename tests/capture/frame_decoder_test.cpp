#include "FrameDecoder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Mac = std::array<std::uint8_t, 6>;
using Ip = std::array<std::uint8_t, 4>;

constexpr Mac kMaker{0x02, 0x5C, 0xE1, 0x0A, 0x00, 0x3F};
constexpr Mac kMakerLower{0x02, 0x5c, 0xe1, 0x20, 0x05, 0x00};  // same bytes, other case in the source
constexpr Mac kOther{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
constexpr Mac kBroadcast{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr Ip kHost{192, 168, 1, 20};
constexpr Ip kGateway{192, 168, 1, 1};
constexpr Ip kZero{0, 0, 0, 0};

void Put(Bytes& b, std::size_t at, const std::uint8_t* src, std::size_t n)
{
    std::memcpy(b.data() + at, src, n);
}
void Put16(Bytes& b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v);
}

Bytes Ethernet(std::uint16_t type, const Mac& src, const Mac& dst = kBroadcast, std::size_t len = 60)
{
    Bytes b(len, 0);
    Put(b, 0, dst.data(), 6);
    Put(b, 6, src.data(), 6);
    Put16(b, 12, type);
    return b;
}

Bytes ArpFrame(const Mac& src, const Ip& sender, const Ip& target)
{
    Bytes b = Ethernet(0x0806, src);
    Put16(b, 14, 1);       // hardware type
    Put16(b, 16, 0x0800);  // protocol type
    b[18] = 6;
    b[19] = 4;
    Put16(b, 20, 1);       // request
    Put(b, 22, src.data(), 6);
    Put(b, 28, sender.data(), 4);
    Put(b, 38, target.data(), 4);
    return b;
}

Bytes Ipv4Frame(std::uint8_t protocol, const Mac& src, const Ip& from, const Ip& to,
                std::uint16_t srcPort = 0, std::uint16_t dstPort = 0)
{
    Bytes b = Ethernet(0x0800, src, kOther);
    b[14] = 0x45;
    b[22] = 64;
    b[23] = protocol;
    Put(b, 26, from.data(), 4);
    Put(b, 30, to.data(), 4);
    Put16(b, 34, srcPort);
    Put16(b, 36, dstPort);
    return b;
}

struct Recorder final : FrameEvents {
    std::vector<std::string> lines;
    std::vector<PacketRecord> handedOff;
    void LogLine(const char* text) override { lines.emplace_back(text); }
    void HandOff(PacketRecord& record) override { handedOff.push_back(record); }
};

FilterSettings OnlyFlags(bool arp, bool icmp, bool tcp, bool udp)
{
    FilterSettings f = DefaultFilterSettings();
    f.AllProtocols = 0;
    f.Arp = arp;
    f.Icmp = icmp;
    f.Tcp = tcp;
    f.Udp = udp;
    return f;
}

// A capture run over a sequence of frames, as a capture thread does it.
class CaptureRun {
public:
    explicit CaptureRun(FilterSettings filter = DefaultFilterSettings()) : filter_(filter) {}

    const PacketRecord& Feed(const Bytes& frame) { return Feed(frame, static_cast<std::uint32_t>(frame.size())); }
    const PacketRecord& Feed(const Bytes& frame, std::uint32_t capLen)
    {
        ProcessFrame(frame.data(), capLen, filter_, state, record, events);
        return record;
    }

    FilterSettings filter_;
    RunState state;
    PacketRecord record{};
    Recorder events;
};

struct ClassCase {
    const char* name;
    Bytes frame;
    const char* protocol;
    const char* srcIp;
    const char* destIp;
    const char* srcPort;
    const char* destPort;
};

class Classification : public testing::TestWithParam<ClassCase> {};

TEST_P(Classification, WritesTheTextsOfItsClass)
{
    const ClassCase& c = GetParam();
    CaptureRun run;
    const PacketRecord& r = run.Feed(c.frame);
    EXPECT_STREQ(r.Protocol, c.protocol);
    EXPECT_STREQ(r.SrcIP, c.srcIp);
    EXPECT_STREQ(r.DestIP, c.destIp);
    EXPECT_STREQ(r.SrcPort, c.srcPort);
    EXPECT_STREQ(r.DestPort, c.destPort);
    EXPECT_EQ(r.Filtered, 0);
    EXPECT_STREQ(r.ID, "1");
    EXPECT_STREQ(r.TotalPacket, "1");
}

Bytes WithType(std::uint16_t type)
{
    Bytes b = Ipv4Frame(6, kMaker, kHost, kGateway, 5060, 80);
    Put16(b, 12, type);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    EveryClass, Classification,
    testing::Values(
        ClassCase{"Arp", ArpFrame(kMaker, kHost, kGateway), "ARP", "192.168.1.20", "192.168.1.1", "--", "--"},
        ClassCase{"Rarp", WithType(0x8035), "RARP", "----------", "----------", "--", "--"},
        ClassCase{"Pup", WithType(0x0200), "PUP", "----------", "----------", "--", "--"},
        ClassCase{"Icmp", Ipv4Frame(1, kMaker, kHost, kGateway, 0x0800, 0x1234), "ICMP", "192.168.1.20",
                  "192.168.1.1", "--", "--"},
        ClassCase{"Tcp", Ipv4Frame(6, kMaker, kHost, kGateway, 5060, 80), "TCP", "192.168.1.20", "192.168.1.1",
                  "5060", "80"},
        ClassCase{"Udp", Ipv4Frame(17, kMaker, Ip{10, 0, 0, 255}, Ip{255, 255, 255, 255}, 65535, 0), "UDP",
                  "10.0.0.255", "255.255.255.255", "65535", "0"},
        ClassCase{"Igmp", Ipv4Frame(2, kMaker, kHost, kGateway, 1, 2), "Unknown IP package", "----------",
                  "----------", "--", "--"},
        ClassCase{"Ipv6", WithType(0x86DD), "Unknown Ethernet", "----------", "----------", "--", "--"},
        ClassCase{"Vlan", WithType(0x8100), "Unknown Ethernet", "----------", "----------", "--", "--"},
        ClassCase{"Ieee8023Length", WithType(0x0040), "Unknown Ethernet", "----------", "----------", "--", "--"}),
    [](const testing::TestParamInfo<ClassCase>& info) { return std::string(info.param.name); });

TEST(FrameTexts, MacLengthAndHeadTexts)
{
    CaptureRun run;
    Bytes frame = Ipv4Frame(6, kMakerLower, kHost, kGateway, 1, 2);
    frame[44] = 0x09;  // a tab and a high byte travel as they are
    frame[43] = 0xFF;
    const PacketRecord& r = run.Feed(frame);
    EXPECT_STREQ(r.SrcMAC, "02:5C:E1:20:05:00");
    EXPECT_STREQ(r.DestMAC, "0A:1B:2C:3D:4E:5F");
    EXPECT_STREQ(r.CapLen, "60");
    ASSERT_EQ(std::strlen(r.FrameHead), 45u);
    EXPECT_EQ(std::memcmp(r.FrameHead, "\x0A\x1B\x2C\x3D\x4E\x5F\x02\x5C\xE1\x20\x05.\x08.E", 15), 0);
    EXPECT_EQ(r.FrameHead[43], '\xFF');
    EXPECT_EQ(r.FrameHead[44], '\t');
}

TEST(FrameTexts, ShortFramesReadZerosPastTheirEnd)
{
    // Only the captured bytes exist; an ARP frame cut at 30 bytes keeps its
    // type and half its sender address.
    const Bytes full = ArpFrame(kMaker, kHost, kGateway);
    const struct {
        std::uint32_t capLen;
        const char* protocol;
    } cases[] = {
        {0, "Unknown Ethernet"},    {1, "Unknown Ethernet"}, {13, "Unknown IP package"},  // 0x08 then a zero
        {14, "ARP"}, {30, "ARP"}, {42, "ARP"}, {44, "ARP"},
    };
    for (const auto& [capLen, protocol] : cases) {
        SCOPED_TRACE(capLen);
        Bytes exact(full.begin(), full.begin() + capLen);  // no byte past the captured length exists
        CaptureRun run;
        const PacketRecord& r = run.Feed(exact, capLen);
        EXPECT_EQ(std::strlen(r.FrameHead), 45u);
        for (std::uint32_t i = capLen; i < 45; ++i) EXPECT_EQ(r.FrameHead[i], '.') << i;
        EXPECT_STREQ(r.CapLen, std::to_string(capLen).c_str());
        EXPECT_STREQ(r.Protocol, protocol);
    }
    Bytes cut(full.begin(), full.begin() + 30);
    CaptureRun run;
    EXPECT_STREQ(run.Feed(cut).SrcIP, "192.168.0.0");
    EXPECT_STREQ(run.record.DestIP, "0.0.0.0");
}

TEST(SummaryLine, EveryArpFrameFromAnySender)
{
    CaptureRun run;
    run.Feed(Ipv4Frame(6, kOther, kHost, kGateway, 1, 2));
    run.Feed(ArpFrame(kMaker, kHost, kGateway));
    run.Feed(ArpFrame(kOther, Ip{10, 1, 2, 3}, Ip{10, 1, 2, 4}));
    ASSERT_EQ(run.events.lines.size(), 2u);
    EXPECT_EQ(run.events.lines[0],
              "ID:2,TotalPacket:2,Protocol:ARP\n"
              "Src:02:5C:E1:0A:00:3F,192.168.1.20:--->Dest:FF:FF:FF:FF:FF:FF,192.168.1.1:--\n");
    EXPECT_EQ(run.events.lines[1],
              "ID:3,TotalPacket:3,Protocol:ARP\n"
              "Src:0A:1B:2C:3D:4E:5F,10.1.2.3:--->Dest:FF:FF:FF:FF:FF:FF,10.1.2.4:--\n");
}

TEST(HandOff, OncePerDeviceWithAUsableAddress)
{
    CaptureRun run;
    const Mac quiet{0x02, 0x5C, 0xE1, 0x45, 0x15, 0x00};
    run.Feed(Ipv4Frame(17, quiet, kZero, Ip{255, 255, 255, 255}, 68, 67));  // asks for an address
    run.Feed(ArpFrame(kOther, kHost, kGateway));                              // not the maker's
    run.Feed(Ipv4Frame(2, kMaker, kHost, kGateway));                          // placeholder address
    run.Feed(WithType(0x86DD));
    EXPECT_TRUE(run.events.handedOff.empty());
    EXPECT_EQ(run.state.seen.Size(), 0u);

    run.Feed(ArpFrame(kMaker, kHost, kGateway));
    run.Feed(ArpFrame(kMaker, kHost, kGateway));
    run.Feed(Ipv4Frame(17, quiet, Ip{192, 168, 1, 30}, kGateway, 1, 2));
    run.Feed(Ipv4Frame(6, quiet, Ip{192, 168, 1, 30}, kGateway, 1, 2));
    ASSERT_EQ(run.events.handedOff.size(), 2u);
    EXPECT_STREQ(run.events.handedOff[0].SrcMAC, "02:5C:E1:0A:00:3F");
    EXPECT_STREQ(run.events.handedOff[0].SrcIP, "192.168.1.20");
    EXPECT_STREQ(run.events.handedOff[0].ID, "5");
    EXPECT_STREQ(run.events.handedOff[1].SrcMAC, "02:5C:E1:45:15:00");
    EXPECT_STREQ(run.events.handedOff[1].SrcIP, "192.168.1.30");
    EXPECT_EQ(run.events.lines.size(), 3u);  // the other's ARP and both of the maker's
}

TEST(HandOff, TheEthernetSourceDecidesNotTheArpSender)
{
    CaptureRun run;
    Bytes frame = ArpFrame(kOther, kHost, kGateway);
    Put(frame, 22, kMaker.data(), 6);  // sender hardware address of the maker
    run.Feed(frame);
    EXPECT_TRUE(run.events.handedOff.empty());
}

TEST(Filter, RejectedFramesCountButKeepTheLastId)
{
    CaptureRun run(OnlyFlags(true, false, false, false));
    const PacketRecord& tcp = run.Feed(Ipv4Frame(6, kOther, kHost, kGateway, 5060, 80));
    EXPECT_EQ(tcp.Filtered, 1);
    EXPECT_STREQ(tcp.ID, "0");
    EXPECT_STREQ(tcp.TotalPacket, "1");
    EXPECT_STREQ(tcp.Protocol, "");
    EXPECT_STREQ(tcp.SrcIP, "192.168.1.20");  // written before the verdict
    EXPECT_STREQ(tcp.DestIP, "192.168.1.1");
    EXPECT_STREQ(tcp.SrcPort, "--");
    EXPECT_STREQ(tcp.DestPort, "--");

    const PacketRecord& arp = run.Feed(ArpFrame(kOther, kHost, kGateway));
    EXPECT_EQ(arp.Filtered, 0);
    EXPECT_STREQ(arp.ID, "1");
    EXPECT_STREQ(arp.TotalPacket, "2");

    const PacketRecord& ipv6 = run.Feed(WithType(0x86DD));  // no flag of its own: always accepted
    EXPECT_EQ(ipv6.Filtered, 0);
    EXPECT_STREQ(ipv6.ID, "2");
}

TEST(Filter, RejectedArpWritesNoSummaryAndIsNeverHandedOver)
{
    CaptureRun run(OnlyFlags(false, false, false, true));
    run.Feed(ArpFrame(kMaker, kHost, kGateway));  // an earlier ARP would have left "ARP" behind
    const PacketRecord& r = run.Feed(ArpFrame(kMaker, kHost, kGateway));
    EXPECT_STREQ(r.Protocol, "");
    EXPECT_STREQ(r.SrcIP, "----------");
    EXPECT_STREQ(r.DestIP, "----------");
    EXPECT_TRUE(run.events.lines.empty());
    EXPECT_TRUE(run.events.handedOff.empty());
}

TEST(Filter, ADeviceFirstSeenInARejectedProtocolIsHandedOverFilteredOnce)
{
    CaptureRun run(OnlyFlags(true, false, false, false));
    run.Feed(Ipv4Frame(6, kMaker, kHost, kGateway, 1, 2));
    run.Feed(ArpFrame(kMaker, kHost, kGateway));
    ASSERT_EQ(run.events.handedOff.size(), 1u);
    EXPECT_EQ(run.events.handedOff[0].Filtered, 1);
    EXPECT_EQ(run.events.lines.size(), 1u);
}

TEST(NoCarryOver, FieldsOfAnEarlierFrameNeverLeakIntoRarp)
{
    // A RARP frame writes no address: after a TCP frame it must not show
    // the TCP frame's address, nor be handed over with it.
    CaptureRun run;
    run.Feed(Ipv4Frame(6, kOther, kHost, kGateway, 5060, 80));
    Bytes rarp = ArpFrame(kMaker, kHost, kGateway);
    Put16(rarp, 12, 0x8035);
    const PacketRecord& r = run.Feed(rarp);
    EXPECT_STREQ(r.Protocol, "RARP");
    EXPECT_STREQ(r.SrcIP, "----------");
    EXPECT_STREQ(r.SrcPort, "--");
    EXPECT_TRUE(run.events.handedOff.empty());
}

TEST(NoCarryOver, ARejectedFrameAfterAnArpFrameWritesNoSummary)
{
    FilterSettings filter = OnlyFlags(true, false, false, false);
    CaptureRun run(filter);
    run.Feed(ArpFrame(kOther, kHost, kGateway));
    run.Feed(Ipv4Frame(1, kOther, kHost, kGateway));
    EXPECT_EQ(run.events.lines.size(), 1u);
}

TEST(Counters, SaturateAtNineDigits)
{
    CaptureRun run;
    run.state.id = RunState::kCounterMax - 1;
    run.state.totalPacket = RunState::kCounterMax - 1;
    run.Feed(WithType(0x86DD));
    EXPECT_STREQ(run.record.ID, "999999999");
    run.Feed(WithType(0x86DD));
    EXPECT_STREQ(run.record.ID, "999999999");
    EXPECT_STREQ(run.record.TotalPacket, "999999999");
    EXPECT_EQ(run.state.id, RunState::kCounterMax);
}

TEST(SeenSet, StaysExactFarBeyondSixHundredDevices)
{
    CaptureRun run;
    constexpr int kDevices = 20000;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < kDevices; ++i) {
            const Mac mac{0x02, 0x5C, 0xE1, static_cast<std::uint8_t>(i >> 16), static_cast<std::uint8_t>(i >> 8),
                          static_cast<std::uint8_t>(i)};
            run.Feed(Ipv4Frame(17, mac, kHost, kGateway, 1, 2));
        }
    }
    EXPECT_EQ(run.events.handedOff.size(), static_cast<std::size_t>(kDevices));
    EXPECT_EQ(run.state.seen.Size(), static_cast<std::size_t>(kDevices));
    run.state.seen.Clear();
    run.Feed(Ipv4Frame(17, kMaker, kHost, kGateway, 1, 2));
    EXPECT_EQ(run.events.handedOff.size(), static_cast<std::size_t>(kDevices) + 1);
}

TEST(Replay, DecodesWithoutFilterCountersOrHandOff)
{
    PacketRecord r{};
    const Bytes igmp = Ipv4Frame(2, kMaker, kHost, kGateway);
    DecodeReplayFrame(igmp.data(), static_cast<std::uint32_t>(igmp.size()), 7, r);
    EXPECT_STREQ(r.ID, "7");
    EXPECT_STREQ(r.Protocol, "unknown IP package");
    EXPECT_STREQ(r.SrcIP, "----------");

    const Bytes tcp = Ipv4Frame(6, kMaker, kHost, kGateway, 5060, 80);
    DecodeReplayFrame(tcp.data(), static_cast<std::uint32_t>(tcp.size()), 8, r);
    EXPECT_STREQ(r.ID, "8");
    EXPECT_STREQ(r.Protocol, "TCP");
    EXPECT_STREQ(r.SrcIP, "192.168.1.20");
    EXPECT_STREQ(r.SrcPort, "5060");
    EXPECT_EQ(r.Filtered, 0);

    Bytes rarp = ArpFrame(kMaker, kHost, kGateway);
    Put16(rarp, 12, 0x8035);
    DecodeReplayFrame(rarp.data(), static_cast<std::uint32_t>(rarp.size()), 9, r);
    EXPECT_STREQ(r.Protocol, "RARP");
    EXPECT_STREQ(r.SrcIP, "----------");
    EXPECT_STREQ(r.SrcPort, "--");
}

}  // namespace
