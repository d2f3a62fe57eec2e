// The capture loop for the flood benchmark: starts a capture on every
// adapter of the namespace it runs in, with a host that takes hand-offs at
// once, runs until SIGINT or SIGTERM, then prints what it read.
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include "CaptureHost.h"
#include "CaptureRunner.h"

namespace {

std::atomic<bool> g_quit{false};

class FloodHost final : public CaptureHost {
public:
    FloodHost() : filter_(DefaultFilterSettings()) {}
    AdapterSlotTable& AdapterSlots() override { return slots_; }
    const FilterSettings& Filter() override { return filter_; }
    CaptureSignals& Signals() override { return signals_; }
    void WriteLog(const char*) override { ++logLines; }
    void HandOff(PacketRecord& record) override
    {
        std::memcpy(&lastRecord_, &record, sizeof record);
        ++handOffs;
    }
    void RefuseHandOffs(bool) override {}
    void ShowMessageBox(const char* text, const char* caption) override
    {
        std::fprintf(stderr, "%s: %s\n", caption, text);
    }

    std::uint64_t logLines = 0;
    std::uint64_t handOffs = 0;

private:
    AdapterSlotTable slots_;
    FilterSettings filter_;
    CaptureSignals signals_;
    PacketRecord lastRecord_{};
};

}  // namespace

int main()
{
    std::signal(SIGINT, [](int) { g_quit = true; });
    std::signal(SIGTERM, [](int) { g_quit = true; });
    FloodHost host;
    CaptureRunner runner;
    if (!runner.Start(host)) return 1;
    std::printf("ready %s\n", host.AdapterSlots().Name(0));
    std::fflush(stdout);
    while (!g_quit) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    runner.StopAndJoin();
    const CaptureRunStats& s = runner.LastRunStats();
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    const double cpu = static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
                       static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    std::printf("frames=%llu ps_recv=%llu ps_drop=%llu handoffs=%llu log=%llu cpu=%.3f\n",
                static_cast<unsigned long long>(s.framesRead), static_cast<unsigned long long>(s.received),
                static_cast<unsigned long long>(s.dropped), static_cast<unsigned long long>(host.handOffs),
                static_cast<unsigned long long>(host.logLines), cpu);
    return 0;
}
