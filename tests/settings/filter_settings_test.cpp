#include "FilterSettings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

FilterSettings Flags(int all, int arp, int icmp, int tcp, int udp)
{
    FilterSettings f = DefaultFilterSettings();
    f.AllProtocols = static_cast<std::uint8_t>(all);
    f.Arp = static_cast<std::uint8_t>(arp);
    f.Icmp = static_cast<std::uint8_t>(icmp);
    f.Tcp = static_cast<std::uint8_t>(tcp);
    f.Udp = static_cast<std::uint8_t>(udp);
    return f;
}

TEST(FilterSettings, Defaults)
{
    const FilterSettings f = DefaultFilterSettings();
    EXPECT_EQ(f.AllProtocols, 1);
    EXPECT_EQ(f.Icmp + f.Tcp + f.Udp + f.Arp, 0);
    EXPECT_EQ(f.AllIp, 1);
    EXPECT_EQ(f.AllPorts, 1);
    EXPECT_STREQ(f.QualifiedIp, "");
    EXPECT_STREQ(f.QualifiedPort, "");
}

struct Frame {
    const char* name;
    std::uint16_t etherType;
    std::uint8_t protocol;
};
constexpr Frame kArp{"ARP", 0x0806, 0};
constexpr Frame kIcmp{"ICMP", 0x0800, 1};
constexpr Frame kTcp{"TCP", 0x0800, 6};
constexpr Frame kUdp{"UDP", 0x0800, 17};
constexpr Frame kFlagless[] = {
    {"RARP", 0x8035, 0}, {"PUP", 0x0200, 0}, {"IGMP", 0x0800, 2}, {"IPv6", 0x86DD, 6}, {"VLAN", 0x8100, 17},
};

TEST(PassesFilter, VerdictTable)
{
    const struct {
        const char* settings;
        FilterSettings filter;
        bool arp, icmp, tcp, udp;
    } cases[] = {
        {"defaults", DefaultFilterSettings(), true, true, true, true},
        {"only UDP", Flags(0, 0, 0, 0, 1), false, false, false, true},
        {"only ARP", Flags(0, 1, 0, 0, 0), true, false, false, false},
        {"only ICMP and TCP", Flags(0, 0, 1, 1, 0), false, true, true, false},
        {"none", Flags(0, 0, 0, 0, 0), false, false, false, false},
        {"all set with TCP", Flags(1, 0, 0, 1, 0), true, true, true, true},
        {"any non-zero byte counts as set", Flags(0, 0x80, 0, 0, 2), true, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        EXPECT_EQ(PassesFilter(c.filter, kArp.etherType, kArp.protocol), c.arp);
        EXPECT_EQ(PassesFilter(c.filter, kIcmp.etherType, kIcmp.protocol), c.icmp);
        EXPECT_EQ(PassesFilter(c.filter, kTcp.etherType, kTcp.protocol), c.tcp);
        EXPECT_EQ(PassesFilter(c.filter, kUdp.etherType, kUdp.protocol), c.udp);
        for (const Frame& f : kFlagless) {
            EXPECT_TRUE(PassesFilter(c.filter, f.etherType, f.protocol)) << f.name;
        }
    }
}

TEST(PassesFilter, QualifiedAddressAndPortChangeNoVerdict)
{
    FilterSettings plain = Flags(0, 0, 0, 1, 0);
    FilterSettings qualified = plain;
    qualified.AllIp = 0;
    std::strcpy(qualified.QualifiedIp, "10.0.0.1");
    qualified.AllPorts = 0;
    std::strcpy(qualified.QualifiedPort, "80");
    for (const Frame& f : {kArp, kIcmp, kTcp, kUdp}) {
        EXPECT_EQ(PassesFilter(plain, f.etherType, f.protocol), PassesFilter(qualified, f.etherType, f.protocol))
            << f.name;
    }
}

}  // namespace
