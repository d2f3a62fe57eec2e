// The main window's part in capture, played with std:: primitives only: a
// thread that runs posted tasks one at a time stands for the window's
// thread, and the hand-off goes to it through the same SendGate as the real
// window's. It records what the capture thread asked of it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CaptureHost.h"
#include "CaptureRunner.h"
#include "NetnsLab.h"
#include "SendGate.h"

class WindowThread {
public:
    WindowThread();
    ~WindowThread();
    void Post(std::function<void()> task);
    // Runs the task on the window's thread and waits for it.
    template <typename F>
    auto Run(F f) -> decltype(f())
    {
        std::packaged_task<decltype(f())()> task(std::move(f));
        auto result = task.get_future();
        Post([&task] { task(); });
        return result.get();
    }
    bool OnThread() const { return std::this_thread::get_id() == thread_.get_id(); }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    bool quit_ = false;
    std::thread thread_;
};

struct Box {
    std::string text;
    std::string caption;
    bool onWindowThread;
};

// One record as the handler read it.
struct Received {
    std::string id, totalPacket, srcIp, srcMac;
    Clock::time_point at;
    bool senderWaiting;   // false would mean a read after the hand-off was over
};

struct HandOffTrace {
    std::string srcMac;
    Clock::time_point start, end;
    framework::SendResult result;
    double Ms() const { return std::chrono::duration<double, std::milli>(end - start).count(); }
};

class HostDouble final : public CaptureHost {
public:
    HostDouble() : filter_(DefaultFilterSettings()) {}
    ~HostDouble();

    AdapterSlotTable& AdapterSlots() override { return slots_; }
    const FilterSettings& Filter() override { return filter_; }
    CaptureSignals& Signals() override { return signals_; }
    void WriteLog(const char* text) override;
    void HandOff(PacketRecord& record) override;
    void RefuseHandOffs(bool refuse) override { gate_.Refuse(refuse); }
    void ShowMessageBox(const char* text, const char* caption) override;

    // Commands as the window gives them, on its thread.
    bool Start() { return window_.Run([this] { return runner_.Start(*this); }); }
    void Stop() { window_.Run([this] { runner_.Stop(); }); }
    double StopAndJoinMs();

    WindowThread& Window() { return window_; }
    CaptureRunner& Runner() { return runner_; }
    // Runs inside the handler, after the record is read: a slow window.
    void SetHandlerWork(std::function<void(const Received&)> work) { handlerWork_ = std::move(work); }

    std::vector<Box> Boxes();
    std::vector<std::string> Log();
    std::vector<Received> Records();
    std::vector<HandOffTrace> Traces();
    // Waits until the predicate over this double holds or the time is up.
    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);
    std::size_t RecordCount();
    std::size_t TraceCount();

private:
    void OnPacketRecord(PacketRecord& record);

    AdapterSlotTable slots_;
    FilterSettings filter_;
    CaptureSignals signals_;
    framework::SendGate gate_;
    std::function<void(const Received&)> handlerWork_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Box> boxes_;
    std::vector<std::string> log_;
    std::vector<Received> records_;
    std::vector<HandOffTrace> traces_;
    const PacketRecord* waiting_ = nullptr;   // the record whose sender waits

    WindowThread window_;
    CaptureRunner runner_;
};
