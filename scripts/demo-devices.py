#!/usr/bin/python3
"""Plays a small LAN segment on one interface: a few of the maker's devices
of different models and some other hosts, sending ARP and UDP. Bounded: a
fixed number of rounds, then it stops by itself.

usage: demo-devices.py IFACE [ROUNDS] [PAUSE_SECONDS]
"""
import sys
import time

from scapy.all import ARP, IP, UDP, Ether, Raw, conf, sendp

conf.verb = 0

MAKER = [  # MAC, IP: one of each of several models
    ("02:5c:e1:20:05:00", "192.168.50.11"),  # ZV52
    ("02:5c:e1:45:15:20", "192.168.50.12"),  # KR85E
    ("02:5c:e1:3a:05:00", "192.168.50.13"),  # ZV6G
    ("02:5c:e1:60:10:07", "192.168.50.14"),  # QS3500|RC650
    ("02:5c:e1:04:00:31", "192.168.50.15"),  # KT250
    ("02:5c:e1:43:01:00", "192.168.50.16"),  # ZV65E-uc
]
OTHERS = [("3c:52:82:00:00:%02x" % i, "192.168.50.%d" % (100 + i)) for i in range(1, 5)]
BCAST = "ff:ff:ff:ff:ff:ff"


def frames(round_no):
    for i, (mac, ip) in enumerate(MAKER):
        if round_no < i:  # devices come up one by one
            continue
        if round_no == i:  # asks for an address first: not listed yet
            yield Ether(src=mac, dst=BCAST) / IP(src="0.0.0.0", dst="255.255.255.255") / UDP(sport=68, dport=67) / Raw(bytes(32))
        yield Ether(src=mac, dst=BCAST) / ARP(hwsrc=mac, psrc=ip, pdst="192.168.50.1")
        yield Ether(src=mac, dst=BCAST) / IP(src=ip, dst="192.168.50.255") / UDP(sport=5001, dport=5001) / Raw(b"hello")
    for mac, ip in OTHERS:
        yield Ether(src=mac, dst=BCAST) / ARP(hwsrc=mac, psrc=ip, pdst="192.168.50.1")


def main():
    iface = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    pause = float(sys.argv[3]) if len(sys.argv) > 3 else 0.5
    for r in range(min(rounds, 1000)):
        sendp(list(frames(r)), iface=iface)
        time.sleep(pause)


if __name__ == "__main__":
    main()
