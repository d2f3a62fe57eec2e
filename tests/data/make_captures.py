#!/usr/bin/python3
"""Writes the small golden captures in this folder.

Frames are built with scapy where a real protocol stack helps and by hand
where the frame must be malformed; the files are written with a tiny pcap
writer so that short and truncated records come out exactly as intended.
Run it only to change the inputs, then regenerate the expected outputs
with scripts/regen-golden and review the diff.
"""
import os
import struct

from scapy.all import ARP, ICMP, IP, TCP, UDP, Dot1Q, Ether, IPv6, Raw, raw

HERE = os.path.dirname(os.path.abspath(__file__))
MAKER = "02:5c:e1:0a:00:3f"
MAKER2 = "02:5c:e1:45:15:00"
MAKER3 = "02:5c:e1:3a:05:00"
OTHER = "0a:1b:2c:3d:4e:5f"
BCAST = "ff:ff:ff:ff:ff:ff"


def write_pcap(name, frames, cut_last=None):
    """frames: bytes, or (bytes, caplen) to store fewer bytes than the frame."""
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(struct.pack("<IHHiIII", 0xA1B2C3D4, 2, 4, 0, 0, 65535, 1))
        for i, fr in enumerate(frames):
            data, orig = (fr, len(fr)) if isinstance(fr, bytes) else (fr[0], fr[1])
            f.write(struct.pack("<IIII", 1496309400 + i, 0, len(data), max(orig, len(data))))
            f.write(data)
        if cut_last is not None:
            data = cut_last
            f.write(struct.pack("<IIII", 1496309500, 0, len(data), len(data)))
            f.write(data[: len(data) // 2])  # the file ends inside this record


def pad(b, n=60):
    return b + bytes(max(0, n - len(b)))


arp_req = raw(Ether(src=MAKER, dst=BCAST) / ARP(hwsrc=MAKER, psrc="192.168.1.20", pdst="192.168.1.1"))
tcp = raw(Ether(src=MAKER2, dst=OTHER) / IP(src="192.168.1.30", dst="192.168.1.1") / TCP(sport=5060, dport=80))
ipv6 = raw(Ether(src=MAKER3, dst=OTHER) / IPv6(src="fe80::1", dst="ff02::1") / UDP(sport=546, dport=547))

write_pcap("three-frames.pcap", [pad(arp_req), tcp, ipv6])

rarp = bytearray(pad(arp_req))
rarp[12:14] = b"\x80\x35"
pup = bytearray(pad(raw(Ether(src=MAKER, dst=BCAST, type=0x0200) / Raw(b"\x00" * 30))))
ieee8023 = bytearray(pup)
ieee8023[12:14] = b"\x00\x40"
igmp = raw(Ether(src=MAKER, dst=OTHER) / IP(src="192.168.1.20", dst="224.0.0.1", proto=2) / Raw(b"\x11\x64\xee\x9b" + bytes(4)))
dhcp_probe = raw(Ether(src="02:5c:e1:20:05:00", dst=BCAST) / IP(src="0.0.0.0", dst="255.255.255.255") / UDP(sport=68, dport=67) / Raw(bytes(20)))
dhcp_later = raw(Ether(src="02:5c:e1:20:05:00", dst=BCAST) / IP(src="192.168.1.44", dst="255.255.255.255") / UDP(sport=68, dport=67) / Raw(bytes(20)))
icmp = raw(Ether(src="02:5c:e1:60:10:00", dst=OTHER) / IP(src="10.0.0.7", dst="10.0.0.1") / ICMP(type=8, id=0x0900, seq=1))
vlan = raw(Ether(src="02:5c:e1:44:02:00", dst=OTHER) / Dot1Q(vlan=5) / IP(src="10.0.0.8", dst="10.0.0.1") / UDP(sport=1, dport=2))
other_arp = pad(raw(Ether(src=OTHER, dst=BCAST) / ARP(op=2, hwsrc=OTHER, psrc="192.168.1.1", pdst="192.168.1.20")))
arp_probe = pad(raw(Ether(src="02:5c:e1:21:00:01", dst=BCAST) / ARP(hwsrc="02:5c:e1:21:00:01", psrc="0.0.0.0", pdst="192.168.1.50")))
udp_unknown = raw(Ether(src="02:5c:e1:66:00:00", dst=OTHER) / IP(src="10.0.0.9", dst="10.0.0.1") / UDP(sport=40000, dport=65535))

write_pcap(
    "classes.pcap",
    [
        pad(arp_req), pad(arp_req), tcp, bytes(rarp), bytes(pup), bytes(ieee8023), pad(igmp), ipv6,
        dhcp_probe, dhcp_later, icmp, vlan, other_arp, arp_probe, udp_unknown, tcp,
    ],
)

# Frames shorter than the 45 bytes the decoder reads, the host's own 42-byte
# ARP among them, and one whose stored bytes are fewer than its wire length.
short = [arp_req[:n] for n in (0, 1, 12, 13, 14, 29, 30, 33, 41)]
short.append(arp_req[:42])
short.append(tcp[:44])
short.append((tcp[:36], len(tcp)))
write_pcap("short-frames.pcap", short)

write_pcap("truncated.pcap", [pad(arp_req), tcp], cut_last=ipv6)

write_pcap("empty.pcap", [])
