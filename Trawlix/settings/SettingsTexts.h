// The texts of the capture-settings dialogs and of replay.
#pragma once

namespace texts {

inline constexpr char kAdapterCaption[] = "Please select a network adapter";
inline constexpr char kNoAdapterList[] = "Could not get a list of network adapters";
inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = "Cancel";
inline constexpr char kCheck[] = "Check";

inline constexpr char kFilterCaption[] = "Filter settings";
inline constexpr char kProtocolGroup[] = "Protocol setting";
inline constexpr char kAllProtocols[] = "all protocols:";
inline constexpr char kYes[] = "Yes";
inline constexpr char kNo[] = "No";
inline constexpr char kArp[] = "ARP";
inline constexpr char kIcmp[] = "ICMP";
inline constexpr char kUdp[] = "UDP";
inline constexpr char kTcp[] = "TCP";
inline constexpr char kIpGroup[] = "IP set";
inline constexpr char kAllIp[] = "All IP:";
inline constexpr char kQualifiedIpLabel[] = "qualified IP:";
inline constexpr char kPortGroup[] = "Port setting";
inline constexpr char kAllPorts[] = "All ports:";
inline constexpr char kQualifiedPortLabel[] = "qualified port:";
inline constexpr char kPortError[] = "Port error";

inline constexpr char kCannotOpenRecordFile[] = "Cannot open a record file";
inline constexpr char kCaptureFileName[] = "*.CAP";
inline constexpr char kCapFilter[] = "CAP File(*.CAP)";
inline constexpr char kAllFilter[] = "CAP File(*.*)";

}  // namespace texts
