#!/usr/bin/python3
"""Independent model of the frame decoder, written from the behaviour
description alone, so that trawlix-decode can be checked against it.

Usage:
  decode_model.py [--protocols=all|LIST] FILE   one capture run: F, L, H lines
  decode_model.py --replay FILE                 replay decoding: R lines
  decode_model.py --device-type TEXT            model name of a MAC text

The output is what trawlix-decode must print, byte for byte.
"""

import os
import struct
import sys

HEAD_LEN = 45
ADDR_NONE = "----------"
PORT_NONE = "--"
MAKER_PREFIX = "02:5C:E1"
COUNTER_MAX = 999_999_999
# The seen-address set is exact for at least this many addresses.
SEEN_CAPACITY = 16_384


# --------------------------------------------------------------------------
# Capture files (classic pcap, either byte order, µs or ns time stamps)

class PcapError(Exception):
    pass


def read_pcap(path):
    """Yields the captured bytes of each record in file order.

    Raises PcapError when the file is not a readable capture file (before
    the first record) or when a record is truncated (after the records
    before it have been yielded)."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise PcapError(f"{path}: {e.strerror}")
    if len(data) < 24:
        raise PcapError(f"{path}: file too short for a capture file header")
    magic_le = struct.unpack("<I", data[:4])[0]
    if magic_le in (0xA1B2C3D4, 0xA1B23C4D):
        endian = "<"
    elif struct.unpack(">I", data[:4])[0] in (0xA1B2C3D4, 0xA1B23C4D):
        endian = ">"
    else:
        raise PcapError(f"{path}: unknown file format")
    snaplen = struct.unpack(endian + "I", data[16:20])[0]
    pos = 24
    while pos < len(data):
        if len(data) - pos < 16:
            raise PcapError(f"{path}: truncated record header")
        _sec, _frac, caplen, _wirelen = struct.unpack(endian + "IIII", data[pos:pos + 16])
        pos += 16
        if len(data) - pos < caplen:
            raise PcapError(f"{path}: truncated record")
        frame = data[pos:pos + caplen]
        pos += caplen
        # A reader hands over at most the file's snapshot length of a record.
        if 0 < snaplen < caplen:
            frame = frame[:snaplen]
        yield frame


# --------------------------------------------------------------------------
# Text forms

def mac_text(b):
    return ":".join("%02X" % x for x in b)


def ip_text(b):
    return ".".join("%d" % x for x in b)


def port_text(b):
    return "%d" % ((b[0] << 8) | b[1])


def frame_head(buf):
    # Zero bytes show as '.', everything else is copied unchanged.
    return bytes(0x2E if x == 0 else x for x in buf[:HEAD_LEN])


# --------------------------------------------------------------------------
# Device types

# (prefixes, tail range or None, name), tested in this order.
DEVICE_RULES = [
    (["02:5C:E1:20"], (0x0500, 0xFFFF), "ZV52"),
    (["02:5C:E1:20"], (0x0000, 0x04FF), "ZV110"),
    (["02:5C:E1:04:00"], None, "KT250"),
    (["02:5C:E1:14:00"], None, "KT250"),
    (["02:5C:E1:05", "02:5C:E1:15"], (0x0000, 0x09FF), "KR250"),
    (["02:5C:E1:0A:0", "02:5C:E1:1A:0"], None, "KR250(B)"),
    (["02:5C:E1:21"], None, "PL3"),
    (["02:5C:E1:25"], None, "KR9"),
    (["02:5C:E1:26"], None, "DELN2500"),
    (["02:5C:E1:29"], None, "PL3E"),
    (["02:5C:E1:2A"], None, "PL3G"),
    (["02:5C:E1:2B"], None, "PL3E-uc"),
    (["02:5C:E1:2D"], None, "KR25"),
    (["02:5C:E1:2E"], None, "KR25G"),
    (["02:5C:E1:35"], None, "KR15"),
    (["02:5C:E1:34"], None, "KT15"),
    (["02:5C:E1:36"], None, "DELN3500"),
    (["02:5C:E1:39"], None, "ZV6A"),
    (["02:5C:E1:3A"], None, "ZV6G"),
    # Shadowed by the whole-block rule above; kept where it is, it never decides.
    (["02:5C:E1:3A:0"], None, "KR18(B)"),
    (["02:5C:E1:3B", "02:5C:E1:3C"], None, "ZV6A-uc"),
    (["02:5C:E1:3D"], None, "KR55"),
    (["02:5C:E1:3E"], None, "KR55G"),
    (["02:5C:E1:44"], (0x0000, 0x01FF), "KT85"),
    (["02:5C:E1:45"], (0x0000, 0x14FF), "KR85"),
    (["02:5C:E1:44"], (0x0200, 0xFFFF), "KR85SE"),
    (["02:5C:E1:45"], (0x1500, 0xFFFF), "KR85E"),
    (["02:5C:E1:4A:0"], None, "KR85(B)"),
    (["02:5C:E1:51"], None, "EGW350x"),
    (["02:5C:E1:65"], None, "KR550"),
    (["02:5C:E1:00:0", "02:5C:E1:10:0", "02:5C:E1:00:F", "02:5C:E1:10:F"], None, "ZV110"),
    (["02:5C:E1:31"], None, "ZV6"),
    (["02:5C:E1:30"], (0x0000, 0x5FFF), "ZV6"),
    (["02:5C:E1:32"], None, "IZV6"),
    (["02:5C:E1:33"], None, "ZV6-uc"),
    (["02:5C:E1:41"], None, "ZV65"),
    (["02:5C:E1:42"], None, "ZV65E"),
    (["02:5C:E1:43:00"], None, "ZV65-uc"),
    (["02:5C:E1:43"], (0x0100, 0xFFFF), "ZV65E-uc"),
    (["02:5C:E1:01", "02:5C:E1:11"], (0x0000, 0x24FF), "ZV130"),
    (["02:5C:E1:01", "02:5C:E1:11"], (0x2500, 0xFFFF), "ZV130G"),
    (["02:5C:E1:03", "02:5C:E1:13"], None, "ZV130-uc"),
    (["02:5C:E1:04", "02:5C:E1:14"], (0x0100, 0xFFFF), "KT250G"),
    (["02:5C:E1:05", "02:5C:E1:15"], (0x0A00, 0xFFFF), "KR250G"),
    (["02:5C:E1:60"], (0x1000, 0x2FFF), "QS3500|RC650"),
    (["02:5C:E1:61", "02:5C:E1:62", "02:5C:E1:63", "02:5C:E1:64"], None, "ZV110-TK"),
]
DEVICE_RULES = [([p.encode() for p in ps], rng, name) for ps, rng, name in DEVICE_RULES]


def _hex_digit(c):
    # Only '1'-'9' and upper-case 'A'-'F' count; anything else is 0.
    if 0x31 <= c <= 0x39:
        return c - 0x30
    if 0x41 <= c <= 0x46:
        return c - 0x41 + 10
    return 0


def device_type(text):
    """text: bytes of the MAC text (may be malformed or empty)."""
    field = (text[:31] + bytes(32))[:32]  # zero-filled copy; NUL ends the text
    nul = field.find(b"\0")
    text = field[:nul]
    tail = (_hex_digit(field[12]) << 12) | (_hex_digit(field[13]) << 8) \
        | (_hex_digit(field[15]) << 4) | _hex_digit(field[16])
    for prefixes, rng, name in DEVICE_RULES:
        if not any(text[:len(p)] == p for p in prefixes):
            continue
        if rng is not None and not (rng[0] <= tail <= rng[1]):
            continue
        return name
    return "UNKNOWN"


# --------------------------------------------------------------------------
# Frame decoding

ARP, ICMP, TCP, UDP = "arp", "icmp", "tcp", "udp"


def decode_fields(frame, replay):
    """Decodes the header fields common to live capture and replay.

    Returns (record, filter flag name or None, fields of the class). The
    record holds what is written before the filter verdict, placeholders
    elsewhere and an empty Protocol; the fields of the class (Protocol and
    the address and port texts the class gives) go in once the frame is
    accepted."""
    buf = (frame[:HEAD_LEN] + bytes(HEAD_LEN))[:HEAD_LEN]  # zero past the end
    rec = {
        "SrcMAC": mac_text(buf[6:12]),
        "DestMAC": mac_text(buf[0:6]),
        "CapLen": "%d" % len(frame),
        "FrameHead": frame_head(buf),
        "Protocol": "",
        "SrcIP": ADDR_NONE,
        "DestIP": ADDR_NONE,
        "SrcPort": PORT_NONE,
        "DestPort": PORT_NONE,
    }
    etype = (buf[12] << 8) | buf[13]
    flag = None
    accept_fields = {}
    if etype == 0x0806:
        flag = ARP
        accept_fields = {"Protocol": "ARP", "SrcIP": ip_text(buf[28:32]),
                         "DestIP": ip_text(buf[38:42])}
    elif etype == 0x8035:
        accept_fields = {"Protocol": "RARP"}
    elif etype == 0x0200:
        accept_fields = {"Protocol": "PUP"}
    elif etype == 0x0800:
        # Addresses are written before the protocol number is looked at,
        # so they survive a rejection.
        rec["SrcIP"] = ip_text(buf[26:30])
        rec["DestIP"] = ip_text(buf[30:34])
        proto = buf[23]
        if proto == 1:
            flag = ICMP
            accept_fields = {"Protocol": "ICMP"}
        elif proto in (6, 17):
            flag = TCP if proto == 6 else UDP
            accept_fields = {"Protocol": flag.upper(), "SrcPort": port_text(buf[34:36]),
                             "DestPort": port_text(buf[36:38])}
        else:
            rec["SrcIP"] = ADDR_NONE
            rec["DestIP"] = ADDR_NONE
            accept_fields = {"Protocol": "unknown IP package" if replay else "Unknown IP package"}
    else:
        accept_fields = {"Protocol": "Unknown Ethernet"}
    return rec, flag, accept_fields


class Run:
    def __init__(self, flags):
        # flags: None for all protocols, else the set of flag names that are set
        self.flags = flags
        self.id = 0
        self.total = 0
        self.seen = set()
        self.out = []

    def passes(self, flag):
        return flag is None or self.flags is None or flag in self.flags

    def frame(self, frame):
        rec, flag, accept_fields = decode_fields(frame, replay=False)
        if self.passes(flag):
            rec.update(accept_fields)
            self.id = min(self.id + 1, COUNTER_MAX)
            self.total = min(self.total + 1, COUNTER_MAX)
            filtered = 0
        else:
            self.total = min(self.total + 1, COUNTER_MAX)
            filtered = 1
        rec["ID"] = "%d" % self.id
        rec["TotalPacket"] = "%d" % self.total
        out = self.out
        out.append("\t".join(["F", rec["ID"], rec["TotalPacket"], "%d" % filtered,
                              rec["Protocol"], rec["SrcIP"], rec["SrcMAC"], rec["SrcPort"],
                              rec["DestIP"], rec["DestMAC"], rec["DestPort"], rec["CapLen"],
                              rec["FrameHead"].hex()]))
        if rec["Protocol"] == "ARP":
            out.append("L\tID:%s,TotalPacket:%s,Protocol:%s\tSrc:%s,%s:%s->Dest:%s,%s:%s" % (
                rec["ID"], rec["TotalPacket"], rec["Protocol"], rec["SrcMAC"], rec["SrcIP"],
                rec["SrcPort"], rec["DestMAC"], rec["DestIP"], rec["DestPort"]))
        mac, ip = rec["SrcMAC"], rec["SrcIP"]
        if (mac[:8] == MAKER_PREFIX and ip[:7] != "0.0.0.0" and ip[:10] != ADDR_NONE
                and mac not in self.seen and len(self.seen) < SEEN_CAPACITY):
            self.seen.add(mac)
            out.append("\t".join(["H", mac, ip, "%d" % filtered,
                                  device_type(mac.encode())]))


def replay_line(row, frame):
    rec, _flag, accept_fields = decode_fields(frame, replay=True)
    rec.update(accept_fields)
    return "\t".join(["R", "%d" % row, rec["Protocol"], rec["SrcIP"], rec["SrcMAC"],
                      rec["SrcPort"], rec["DestIP"], rec["DestMAC"], rec["DestPort"],
                      rec["CapLen"], rec["FrameHead"].hex()])


# --------------------------------------------------------------------------

def parse_protocols(value):
    if value == "all":
        return None
    names = [n for n in value.split(",") if n != ""]
    for n in names:
        if n not in (ARP, ICMP, TCP, UDP):
            raise ValueError(n)
    return set(names)


def main(argv):
    usage = "usage: decode_model.py [--protocols=all|LIST] FILE | --replay FILE | --device-type TEXT"
    args = argv[1:]
    if len(args) == 2 and args[0] == "--device-type":
        sys.stdout.write(device_type(os.fsencode(args[1])) + "\n")
        return 0
    replay = False
    flags = None
    path = None
    for a in args:
        if a == "--replay":
            replay = True
        elif a.startswith("--protocols="):
            try:
                flags = parse_protocols(a[len("--protocols="):])
            except ValueError:
                print(usage, file=sys.stderr)
                return 2
        elif path is None and not a.startswith("--"):
            path = a
        else:
            print(usage, file=sys.stderr)
            return 2
    if path is None:
        print(usage, file=sys.stderr)
        return 2

    out = sys.stdout
    rc = 0
    if replay:
        lines = []
        try:
            for row, frame in enumerate(read_pcap(path)):
                lines.append(replay_line(row, frame))
        except PcapError as e:
            err, rc = str(e), 1
    else:
        run = Run(flags)
        lines = run.out
        try:
            for frame in read_pcap(path):
                run.frame(frame)
        except PcapError as e:
            err, rc = str(e), 1
    if lines:
        out.write("\n".join(lines) + "\n")
    out.flush()
    if rc:
        print(err, file=sys.stderr)
    return rc


if __name__ == "__main__":
    sys.exit(main(sys.argv))
