// Real interfaces for capture tests, never the machine's own: the calling
// thread moves into a fresh network namespace holding only the capture ends
// of veth pairs, whose peer ends sit in a second namespace owned by a helper
// thread that injects frames there. Both namespaces vanish with their last
// user; IPv6 is off in both so the kernel itself sends nothing.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using Frame = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

class NetnsLab {
public:
    NetnsLab() = default;
    NetnsLab(const NetnsLab&) = delete;
    NetnsLab& operator=(const NetnsLab&) = delete;
    ~NetnsLab() { Leave(); }

    // Moves the calling thread (and the threads it starts from then on)
    // into a new namespace. False, with the reason, when that cannot be done.
    bool Enter(std::string& why);
    // Back to the namespace the thread came from.
    void Leave();

    // A veth pair: `name` here, its peer in the injecting namespace (up).
    bool AddVeth(const std::string& name, bool up = true);
    bool Run(const std::vector<std::string>& ipArgs);   // `ip ARGS` here

    // Sends one frame out of the peer of `name`; returns when it is sent,
    // with the time. Bounded: one frame per call.
    Clock::time_point Inject(const std::string& name, const Frame& frame);

private:
    void PeerLoop();
    void OnPeer(std::function<void()> job);

    int originalNs_ = -1;
    bool entered_ = false;
    std::thread peer_;
    int peerTid_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    bool peerReady_ = false;
    bool peerFailed_ = false;
    bool quit_ = false;
    std::map<std::string, void*> injectors_;   // peer thread only
};

// 60-byte frames as devices send them.
Frame ArpFrame(std::uint64_t srcMac, const char* senderIp, const char* targetIp);
Frame UdpFrame(std::uint64_t srcMac, const char* srcIp, const char* dstIp, std::uint16_t srcPort,
               std::uint16_t dstPort);
// 02:5C:E1 followed by the low three bytes of n.
std::uint64_t MakerMac(std::uint32_t n);
std::string MacText(std::uint64_t mac);
