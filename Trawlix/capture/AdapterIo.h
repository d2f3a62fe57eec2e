// The platform edge of live capture: listing the adapters, opening one with
// the capture parameters and reading it so that every read returns within
// the read timeout. The Linux implementation is AdapterIoLinux.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct pcap;

// Whole frames, promiscuous, and a 10 ms read timeout, which keeps the
// rotation over the adapters moving.
inline constexpr int kSnapshotLength = 65536;
inline constexpr int kReadTimeoutMs = 10;
// Enough for a flood at full rate while the thread waits in a hand-off.
inline constexpr int kKernelBufferBytes = 8 << 20;

// The network interfaces that carry Ethernet frames, in the capture
// library's order. Held until destroyed or enumerated again.
class AdapterList {
public:
    AdapterList() = default;
    AdapterList(const AdapterList&) = delete;
    AdapterList& operator=(const AdapterList&) = delete;
    ~AdapterList() { Release(); }

    // A failed enumeration leaves the list empty and returns false.
    bool Enumerate();
    void Release();

    std::size_t Count() const { return names_.size(); }
    const char* Name(std::size_t i) const { return names_[i]; }
    // What a user recognises the adapter by: the capture library gives real
    // interfaces no description here, so the name and its addresses, as
    // "eth0 (192.168.1.20, fe80::1)".
    const std::string& Description(std::size_t i) const { return descriptions_[i]; }

private:
    void* libraryList_ = nullptr;
    std::vector<const char*> names_;
    std::vector<std::string> descriptions_;
};

enum class ReadResult { Frame, Timeout, Error };

struct AdapterStats {
    std::uint64_t received = 0;   // frames the kernel passed to the handle
    std::uint64_t dropped = 0;    // frames lost for want of buffer room
};

class AdapterHandle {
public:
    AdapterHandle() = default;
    AdapterHandle(const AdapterHandle&) = delete;
    AdapterHandle& operator=(const AdapterHandle&) = delete;
    ~AdapterHandle() { Close(); }

    // False when the adapter cannot be opened or carries no Ethernet.
    bool Open(const char* name);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // One frame if one is waiting or arrives within the read timeout. The
    // data stays valid until the next read or Close.
    ReadResult Read(const std::uint8_t*& data, std::uint32_t& capLen);

    AdapterStats Stats() const;

private:
    pcap* handle_ = nullptr;
    int fd_ = -1;
    char errorBuffer_[256] = {};
};
