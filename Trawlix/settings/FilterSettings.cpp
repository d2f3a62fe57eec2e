#include "FilterSettings.h"

FilterSettings DefaultFilterSettings()
{
    FilterSettings s{};
    s.AllProtocols = 1;
    s.AllIp = 1;
    s.AllPorts = 1;
    return s;
}

bool PassesFilter(const FilterSettings& settings, std::uint16_t etherType, std::uint8_t ipProtocol)
{
    std::uint8_t flag;
    if (etherType == kEtherTypeArp) {
        flag = settings.Arp;
    } else if (etherType == kEtherTypeIpv4 && ipProtocol == kIpProtocolIcmp) {
        flag = settings.Icmp;
    } else if (etherType == kEtherTypeIpv4 && ipProtocol == kIpProtocolTcp) {
        flag = settings.Tcp;
    } else if (etherType == kEtherTypeIpv4 && ipProtocol == kIpProtocolUdp) {
        flag = settings.Udp;
    } else {
        return true;  // classes without a flag of their own always pass
    }
    return settings.AllProtocols != 0 || flag != 0;
}
