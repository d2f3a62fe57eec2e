#include "NetnsLab.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <pcap/pcap.h>
#include <sched.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

extern char** environ;

namespace {

bool WriteFile(const char* path, const char* text)
{
    const int fd = open(path, O_WRONLY);
    if (fd < 0) return false;
    const bool ok = write(fd, text, std::strlen(text)) == static_cast<ssize_t>(std::strlen(text));
    close(fd);
    return ok;
}

// No IPv6 in this thread's namespace: no router or listener reports.
void SilenceIpv6()
{
    WriteFile("/proc/sys/net/ipv6/conf/default/disable_ipv6", "1");
    WriteFile("/proc/sys/net/ipv6/conf/all/disable_ipv6", "1");
}

bool RunIp(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    std::string ip = "ip";
    argv.push_back(ip.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "ip", nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool NetnsLab::Enter(std::string& why)
{
    if (geteuid() != 0) {
        why = "needs root to create network namespaces (run as root, as CI does)";
        return false;
    }
    originalNs_ = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    if (originalNs_ < 0 || unshare(CLONE_NEWNET) != 0) {
        why = std::string("cannot create a network namespace: ") + std::strerror(errno);
        if (originalNs_ >= 0) close(originalNs_);
        originalNs_ = -1;
        return false;
    }
    entered_ = true;
    SilenceIpv6();
    peer_ = std::thread([this] { PeerLoop(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return peerReady_ || peerFailed_; });
    if (peerFailed_) {
        why = "cannot create the injecting network namespace";
        return false;
    }
    return true;
}

void NetnsLab::Leave()
{
    if (peer_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        peer_.join();
    }
    if (entered_) {
        setns(originalNs_, CLONE_NEWNET);
        entered_ = false;
    }
    if (originalNs_ >= 0) close(originalNs_);
    originalNs_ = -1;
}

void NetnsLab::PeerLoop()
{
    const bool ok = unshare(CLONE_NEWNET) == 0;
    if (ok) SilenceIpv6();
    {
        std::lock_guard lock(mutex_);
        peerTid_ = static_cast<int>(syscall(SYS_gettid));
        (ok ? peerReady_ : peerFailed_) = true;
    }
    changed_.notify_all();
    if (!ok) return;
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
            if (jobs_.empty()) break;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
    for (auto& [name, handle] : injectors_) pcap_close(static_cast<pcap_t*>(handle));
    injectors_.clear();
}

void NetnsLab::OnPeer(std::function<void()> job)
{
    bool done = false;
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back([&, job] {
            job();
            std::lock_guard inner(mutex_);
            done = true;
            changed_.notify_all();
        });
    }
    changed_.notify_all();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return done; });
}

bool NetnsLab::Run(const std::vector<std::string>& ipArgs)
{
    return RunIp(ipArgs);
}

bool NetnsLab::AddVeth(const std::string& name, bool up)
{
    const std::string peer = "p" + name;
    if (!RunIp({"link", "add", name, "type", "veth", "peer", "name", peer, "netns", std::to_string(peerTid_)}))
        return false;
    if (up && !RunIp({"link", "set", name, "up"})) return false;
    bool peerUp = false;
    OnPeer([&] { peerUp = RunIp({"link", "set", peer, "up"}); });
    return peerUp;
}

Clock::time_point NetnsLab::Inject(const std::string& name, const Frame& frame)
{
    Clock::time_point sent{};
    OnPeer([&] {
        const std::string peer = "p" + name;
        void*& handle = injectors_[peer];
        if (handle == nullptr) {
            char err[PCAP_ERRBUF_SIZE];
            handle = pcap_open_live(peer.c_str(), 65536, 0, 10, err);
        }
        if (handle != nullptr && pcap_inject(static_cast<pcap_t*>(handle), frame.data(), frame.size()) > 0)
            sent = Clock::now();
    });
    return sent;
}

std::uint64_t MakerMac(std::uint32_t n)
{
    return 0x025CE1000000ULL | (n & 0xFFFFFF);
}

std::string MacText(std::uint64_t mac)
{
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", unsigned(mac >> 40 & 0xFF),
                  unsigned(mac >> 32 & 0xFF), unsigned(mac >> 24 & 0xFF), unsigned(mac >> 16 & 0xFF),
                  unsigned(mac >> 8 & 0xFF), unsigned(mac & 0xFF));
    return text;
}

namespace {

void PutMac(Frame& f, std::size_t at, std::uint64_t mac)
{
    for (int i = 0; i < 6; ++i) f[at + i] = static_cast<std::uint8_t>(mac >> (40 - 8 * i));
}
void PutIp(Frame& f, std::size_t at, const char* ip)
{
    in_addr a{};
    inet_pton(AF_INET, ip, &a);
    std::memcpy(&f[at], &a, 4);
}
void Put16(Frame& f, std::size_t at, std::uint16_t v)
{
    f[at] = static_cast<std::uint8_t>(v >> 8);
    f[at + 1] = static_cast<std::uint8_t>(v);
}

}  // namespace

Frame ArpFrame(std::uint64_t srcMac, const char* senderIp, const char* targetIp)
{
    Frame f(60, 0);
    PutMac(f, 0, 0xFFFFFFFFFFFFULL);
    PutMac(f, 6, srcMac);
    Put16(f, 12, 0x0806);
    Put16(f, 14, 1);
    Put16(f, 16, 0x0800);
    f[18] = 6;
    f[19] = 4;
    Put16(f, 20, 1);
    PutMac(f, 22, srcMac);
    PutIp(f, 28, senderIp);
    PutIp(f, 38, targetIp);
    return f;
}

Frame UdpFrame(std::uint64_t srcMac, const char* srcIp, const char* dstIp, std::uint16_t srcPort,
               std::uint16_t dstPort)
{
    Frame f(60, 0);
    PutMac(f, 0, 0xFFFFFFFFFFFFULL);
    PutMac(f, 6, srcMac);
    Put16(f, 12, 0x0800);
    f[14] = 0x45;
    Put16(f, 16, 46);
    f[22] = 64;
    f[23] = 17;
    PutIp(f, 26, srcIp);
    PutIp(f, 30, dstIp);
    Put16(f, 34, srcPort);
    Put16(f, 36, dstPort);
    Put16(f, 38, 26);
    return f;
}
