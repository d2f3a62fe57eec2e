// The texts the decoder writes into records and summary lines.
#pragma once

namespace texts {

inline constexpr char kProtocolArp[] = "ARP";
inline constexpr char kProtocolRarp[] = "RARP";
inline constexpr char kProtocolPup[] = "PUP";
inline constexpr char kProtocolIcmp[] = "ICMP";
inline constexpr char kProtocolTcp[] = "TCP";
inline constexpr char kProtocolUdp[] = "UDP";
inline constexpr char kProtocolUnknownIp[] = "Unknown IP package";
// Replay has always spelt this one with a lower-case u.
inline constexpr char kProtocolUnknownIpReplay[] = "unknown IP package";
inline constexpr char kProtocolUnknownEthernet[] = "Unknown Ethernet";

inline constexpr char kAddressPlaceholder[] = "----------";
inline constexpr char kPortPlaceholder[] = "--";

// The maker's prefix in MAC text form, and the address of a host that has
// none yet; neither kind of frame can announce a device.
inline constexpr char kMakerPrefix[] = "02:5C:E1";
inline constexpr char kNoAddress[] = "0.0.0.0";

// Summary line of an ARP frame:
// "ID:%s,TotalPacket:%s,Protocol:%s\nSrc:%s,%s:%s->Dest:%s,%s:%s\n"
inline constexpr char kSummaryId[] = "ID:";
inline constexpr char kSummaryTotal[] = ",TotalPacket:";
inline constexpr char kSummaryProtocol[] = ",Protocol:";
inline constexpr char kSummarySrc[] = "\nSrc:";
inline constexpr char kSummaryArrow[] = "->Dest:";

}  // namespace texts

// Live capture: the label of the start event and the capture thread's
// message boxes, which have no owner and this caption.
namespace texts {

inline constexpr char kStartEventName[] = "ThreadStartCap";
inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kTooManyCards[] = "You have too many network cards!";
inline constexpr char kNoNetworkDevices[] =
    "Please check your network devices! If you still can't use Ventis,maybe you uninstalled "
    "winpcap while you were using it.Please install winpcap manually and then restart Ventis";
// Filled with the slot number in decimal.
inline constexpr char kSetNetworkCardFormat[] = "Please set the network card %d first";

}  // namespace texts
