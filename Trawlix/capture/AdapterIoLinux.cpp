// Adapters on Linux through libpcap.
//
// Two things differ from what the capture loop assumes elsewhere. A blocking
// pcap_next_ex on an idle interface does not return when the read timeout
// passes (the timeout only runs once a frame has arrived), so handles are
// non-blocking and a read waits on the handle's descriptor for at most the
// read timeout instead. And libpcap lists many pseudo-devices (any, nflog,
// nfqueue, usbmon, dbus, bluetooth) that are no network adapter, so the
// list keeps only interfaces with an Ethernet hardware address.

#include "AdapterIo.h"

#include <arpa/inet.h>
#include <linux/if_packet.h>
#include <netinet/in.h>
#include <net/if_arp.h>
#include <pcap/pcap.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>

#include <cstring>

namespace {

bool HasEthernetAddress(const pcap_if_t& dev)
{
    for (const pcap_addr_t* a = dev.addresses; a != nullptr; a = a->next) {
        if (a->addr == nullptr || a->addr->sa_family != AF_PACKET) continue;
        const auto* ll = reinterpret_cast<const sockaddr_ll*>(a->addr);
        if (ll->sll_hatype == ARPHRD_ETHER) return true;
    }
    return false;
}

// Administratively down interfaces are left out, like disabled adapters
// that the Windows driver does not list: otherwise one switched-off
// interface would make every start fail. An interface that is up without a
// carrier opens and is read like any other.
bool IsCaptureAdapter(const pcap_if_t& dev)
{
    if (std::strcmp(dev.name, "any") == 0) return false;
    if ((dev.flags & PCAP_IF_LOOPBACK) != 0) return false;
    if ((dev.flags & PCAP_IF_UP) == 0) return false;
    return HasEthernetAddress(dev);
}

void SleepMs(int ms)
{
    timespec ts{0, static_cast<long>(ms) * 1'000'000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

// "eth0 (192.168.1.20, fe80::1)", or the bare name without addresses. The
// name leads, so two entries are only alike when their names are.
std::string DescribeAdapter(const pcap_if_t& dev)
{
    std::string text = dev.name;
    if (dev.description != nullptr && dev.description[0] != '\0') {
        text += " - ";
        text += dev.description;
    }
    std::string addresses;
    for (const pcap_addr_t* a = dev.addresses; a != nullptr; a = a->next) {
        if (a->addr == nullptr) continue;
        char buffer[INET6_ADDRSTRLEN] = {};
        const void* bytes = nullptr;
        if (a->addr->sa_family == AF_INET) bytes = &reinterpret_cast<const sockaddr_in*>(a->addr)->sin_addr;
        if (a->addr->sa_family == AF_INET6) bytes = &reinterpret_cast<const sockaddr_in6*>(a->addr)->sin6_addr;
        if (bytes == nullptr || inet_ntop(a->addr->sa_family, bytes, buffer, sizeof buffer) == nullptr) continue;
        addresses += addresses.empty() ? "" : ", ";
        addresses += buffer;
    }
    if (!addresses.empty()) text += " (" + addresses + ")";
    return text;
}

}  // namespace

bool AdapterList::Enumerate()
{
    Release();
    char errorBuffer[PCAP_ERRBUF_SIZE];
    pcap_if_t* all = nullptr;
    const bool listed = pcap_findalldevs(&all, errorBuffer) == 0;
    if (!listed) all = nullptr;
    libraryList_ = all;
    for (const pcap_if_t* dev = all; dev != nullptr; dev = dev->next) {
        if (!IsCaptureAdapter(*dev)) continue;
        names_.push_back(dev->name);
        descriptions_.push_back(DescribeAdapter(*dev));
    }
    return listed;
}

void AdapterList::Release()
{
    names_.clear();
    descriptions_.clear();
    if (libraryList_ != nullptr) pcap_freealldevs(static_cast<pcap_if_t*>(libraryList_));
    libraryList_ = nullptr;
}

bool AdapterHandle::Open(const char* name)
{
    Close();
    static_assert(sizeof errorBuffer_ >= PCAP_ERRBUF_SIZE);
    pcap_t* p = pcap_create(name, errorBuffer_);
    if (p == nullptr) return false;
    // Immediate mode stays off: with whole-frame snapshots its fixed slots
    // hold few frames and a flood overruns them.
    const bool configured = pcap_set_snaplen(p, kSnapshotLength) == 0 && pcap_set_promisc(p, 1) == 0 &&
                            pcap_set_timeout(p, kReadTimeoutMs) == 0 &&
                            pcap_set_buffer_size(p, kKernelBufferBytes) == 0 && pcap_set_immediate_mode(p, 0) == 0;
    // A positive result is a warning, which still leaves a usable handle.
    if (!configured || pcap_activate(p) < 0 || pcap_datalink(p) != DLT_EN10MB ||
        pcap_setnonblock(p, 1, errorBuffer_) != 0) {
        pcap_close(p);
        return false;
    }
    fd_ = pcap_get_selectable_fd(p);
    if (fd_ < 0) {
        pcap_close(p);
        return false;
    }
    handle_ = p;
    return true;
}

void AdapterHandle::Close()
{
    if (handle_ != nullptr) pcap_close(handle_);
    handle_ = nullptr;
    fd_ = -1;
}

ReadResult AdapterHandle::Read(const std::uint8_t*& data, std::uint32_t& capLen)
{
    pcap_pkthdr* header = nullptr;
    const u_char* bytes = nullptr;
    // A frame already in the ring needs no wait; under load this is every
    // read but the first of a block.
    int r = pcap_next_ex(handle_, &header, &bytes);
    bool waited = false;
    if (r == 0) {
        pollfd pfd{fd_, POLLIN, 0};
        const int ready = poll(&pfd, 1, kReadTimeoutMs);
        if (ready == 0) return ReadResult::Timeout;
        waited = ready > 0 && (pfd.revents & POLLIN) != 0;
        r = pcap_next_ex(handle_, &header, &bytes);
    }
    if (r == 1) {
        data = bytes;
        capLen = header->caplen;
        return ReadResult::Frame;
    }
    // An interface that went away or down fails every read and keeps its
    // descriptor in an error state, which would end every wait at once.
    // Such a turn takes the read timeout, like a quiet adapter's, instead
    // of spinning.
    if (!waited) SleepMs(kReadTimeoutMs);
    return r == 0 ? ReadResult::Timeout : ReadResult::Error;
}

AdapterStats AdapterHandle::Stats() const
{
    AdapterStats s;
    pcap_stat ps{};
    if (handle_ != nullptr && pcap_stats(handle_, &ps) == 0) {
        s.received = ps.ps_recv;
        s.dropped = ps.ps_drop;
    }
    return s;
}
