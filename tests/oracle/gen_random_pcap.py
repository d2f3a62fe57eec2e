#!/usr/bin/python3
"""Writes a deterministic capture file of random frames that stress the
frame decoder.

Usage: gen_random_pcap.py SEED OUT.pcap [COUNT] [--many-makers]

The same SEED and COUNT always give the same file. The seed also picks the
file's byte order, time-stamp resolution and link type, so a handful of
seeds covers every classic pcap variant. --many-makers makes most frames
come from new maker addresses with usable source addresses, so that one
run sees far more than 602 distinct devices.
"""

import random
import struct
import sys

MAKER = bytes([0x02, 0x5C, 0xE1])
# Prefixes that differ from the maker's in one place.
NEAR_MISSES = [bytes(b) for b in ([0x02, 0x5C, 0xE0], [0x03, 0x5C, 0xE1], [0x02, 0x5D, 0xE1],
                                  [0x00, 0x5C, 0xE1], [0x82, 0x5C, 0xE1], [0x02, 0x5C, 0xF1],
                                  [0x02, 0x4C, 0xE1], [0x12, 0x5C, 0xE1])]
# Fourth octets that the device-type table names, and the fifth/sixth octet
# pairs at or next to its block boundaries.
TABLE_OCTETS = [0x00, 0x01, 0x03, 0x04, 0x05, 0x0A, 0x10, 0x11, 0x13, 0x14, 0x15, 0x1A, 0x20,
                0x21, 0x25, 0x26, 0x29, 0x2A, 0x2B, 0x2D, 0x2E, 0x30, 0x31, 0x32, 0x33, 0x34,
                0x35, 0x36, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x41, 0x42, 0x43, 0x44, 0x45,
                0x4A, 0x51, 0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x0B, 0x40]
TAIL_EDGES = [0x0000, 0x00FF, 0x0100, 0x01FF, 0x0200, 0x04FF, 0x0500, 0x09FF, 0x0A00, 0x0FFF,
              0x1000, 0x14FF, 0x1500, 0x24FF, 0x2500, 0x2FFF, 0x3000, 0x5FFF, 0x6000, 0xEFFF,
              0xF000, 0xFFFF]

ETHER_TYPES = [
    (0x0806, 20), (0x8035, 6), (0x0200, 5), (0x0800, 40), (0x86DD, 5), (0x8100, 5),
    (None, 19),  # anything, biased towards near misses of the known values
]
IP_PROTOS = [(1, 20), (6, 30), (17, 30), (2, 10), (None, 10)]


def weighted(r, table):
    return r.choices([v for v, _ in table], weights=[w for _, w in table])[0]


def junk_byte(r):
    x = r.random()
    if x < 0.15:
        return 0
    if x < 0.22:
        return r.choice([0x09, 0x0A, 0x0D, 0x20, 0x22, 0x25, 0x2E, 0x5C, 0x3A, 0x2C])
    if x < 0.35:
        return r.randint(0x80, 0xFF)
    return r.randint(0, 255)


def junk(r, n):
    return bytearray(junk_byte(r) for _ in range(n))


def random_ether_type(r):
    x = r.random()
    if x < 0.3:
        # byte-swapped or off-by-one versions of the known types
        return r.choice([0x0608, 0x3580, 0x0002, 0x0008, 0x0807, 0x0805, 0x0801, 0x07FF,
                         0x8034, 0x8036, 0x0201, 0x01FF, 0x0000, 0xFFFF, 0x05DC, 0x0600])
    return r.randint(0, 0xFFFF)


class Gen:
    def __init__(self, seed, many_makers):
        self.r = random.Random(seed)
        self.many = many_makers
        self.makers = []

    def new_maker(self):
        r = self.r
        o4 = r.choice(TABLE_OCTETS) if r.random() < 0.7 else r.randint(0, 255)
        tail = r.choice(TAIL_EDGES) if r.random() < 0.5 else r.randint(0, 0xFFFF)
        if self.many:
            # keep the addresses distinct: spread them over the whole tail space
            tail = r.randint(0, 0xFFFF)
        mac = MAKER + bytes([o4, tail >> 8, tail & 0xFF])
        self.makers.append(mac)
        return mac

    def src_mac(self):
        r = self.r
        x = r.random()
        if self.many:
            if x < 0.85:
                return self.new_maker()
            if x < 0.95 and self.makers:
                return r.choice(self.makers)
            return bytes(junk(r, 6))
        if x < 0.30 and self.makers:
            return r.choice(self.makers)
        if x < 0.50:
            return self.new_maker()
        if x < 0.60:
            return r.choice(NEAR_MISSES) + bytes(junk(r, 3))
        return bytes(junk(r, 6))

    def ip(self):
        r = self.r
        x = r.random()
        if x < (0.05 if self.many else 0.25):
            return bytes(4)
        if x < 0.45:
            return bytes([192, 168, r.randint(0, 255), r.randint(0, 255)])
        if x < 0.55:
            return bytes([10, r.randint(0, 255), r.randint(0, 255), r.randint(0, 255)])
        if x < 0.62:
            return r.choice([b"\xff\xff\xff\xff", b"\x00\x00\x00\x01", b"\x01\x00\x00\x00",
                             b"\x00\x00\x00\xff", b"\x00\x00\x01\x00", b"\x7f\x00\x00\x01"])
        return bytes(r.randint(0, 255) for _ in range(4))

    def length(self):
        r = self.r
        x = r.random()
        if x < 0.25:
            return r.randint(0, 44)
        if x < 0.30:
            return 45
        if x < 0.35:
            return r.randint(46, 59)
        if x < 0.60:
            return 60
        if x < 0.95:
            return r.randint(61, 1514)
        return r.randint(1515, 3000)

    def frame(self):
        r = self.r
        n = self.length()
        body = junk(r, max(n, 64))
        x = r.random()
        if x < 0.3:
            body[0:6] = b"\xff" * 6
        elif x < 0.4:
            body[0:6] = r.choice(self.makers) if self.makers else MAKER + b"\0\0\0"
        body[6:12] = self.src_mac()
        etype = weighted(r, ETHER_TYPES)
        if etype is None:
            etype = random_ether_type(r)
        body[12:14] = struct.pack(">H", etype)
        if etype in (0x0806, 0x8035):
            if r.random() < 0.7:
                body[14:22] = b"\x00\x01\x08\x00\x06\x04\x00" + bytes([r.choice([1, 2, 3, 4])])
            if r.random() < 0.7:
                body[22:28] = body[6:12]
            body[28:32] = self.ip()
            body[38:42] = self.ip()
        elif etype == 0x0800:
            if r.random() < 0.8:
                body[14] = 0x45
            proto = weighted(r, IP_PROTOS)
            body[23] = r.randint(0, 255) if proto is None else proto
            body[26:30] = self.ip()
            body[30:34] = self.ip()
            if r.random() < 0.5:
                body[34:38] = struct.pack(">HH", r.choice([0, 53, 67, 68, 80, 5060, 65535]),
                                          r.randint(0, 65535))
        return bytes(body[:n])


def write_pcap(path, frames, seed):
    endian = "<" if seed % 2 == 0 else ">"
    nanos = (seed // 2) % 2 == 1
    magic = 0xA1B23C4D if nanos else 0xA1B2C3D4
    linktype = 101 if seed % 5 == 4 else 1  # the decoder ignores the link type
    r = random.Random(seed ^ 0x5EED)
    out = [struct.pack(endian + "IHHiIII", magic, 2, 4, 0, 0, 65535, linktype)]
    sec = 1_500_000_000 + seed
    for frame in frames:
        sec += r.randint(0, 2)
        frac = r.randint(0, 999_999_999 if nanos else 999_999)
        wire = len(frame) if r.random() < 0.8 else len(frame) + r.randint(1, 1000)
        out.append(struct.pack(endian + "IIII", sec, frac, len(frame), wire))
        out.append(frame)
    with open(path, "wb") as f:
        f.write(b"".join(out))


def main(argv):
    args = [a for a in argv[1:] if a != "--many-makers"]
    many = len(args) != len(argv) - 1
    if len(args) not in (2, 3):
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    seed = int(args[0])
    count = int(args[2]) if len(args) == 3 else 1000
    g = Gen(seed, many)
    frames = [g.frame() for _ in range(count)]
    write_pcap(args[1], frames, seed)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
