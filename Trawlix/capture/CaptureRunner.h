// Start, Stop and the capture thread.
//
// The window holds one CaptureRunner and drives it from its own thread. At
// most one capture thread exists at a time: a Start first stops and joins
// the running one, so two threads never share the run state, and the runner
// joins its thread before it is destroyed.
#pragma once

#include <cstdint>
#include <thread>

#include "CaptureHost.h"
#include "FrameDecoder.h"

struct CaptureRunStats {
    std::uint64_t framesRead = 0;
    std::uint64_t received = 0;   // summed over the run's adapters
    std::uint64_t dropped = 0;
};

class CaptureRunner {
public:
    CaptureRunner() = default;
    CaptureRunner(const CaptureRunner&) = delete;
    CaptureRunner& operator=(const CaptureRunner&) = delete;
    ~CaptureRunner() { StopAndJoin(); }

    // Window thread. Ends a running capture thread, starts a new one and
    // waits for it to decide its start, showing its message boxes
    // meanwhile. True when the new thread captures; false when it failed
    // (no adapter, or one that cannot be opened).
    bool Start(CaptureHost& host);

    // Window thread. Asks the capture thread to end; does not wait.
    void Stop();

    // Window thread. Stops the capture thread and waits until it has ended.
    // A hand-off it has pending is withdrawn at once, since the window is
    // not serving it while it waits here.
    void StopAndJoin();

    // Figures of the last run that ended; read after StopAndJoin.
    const CaptureRunStats& LastRunStats() const { return lastRun_; }

    // Window thread: a capture thread exists and has not been joined.
    bool IsRunning() const { return thread_.joinable(); }

private:
    void ThreadProc();

    CaptureHost* host_ = nullptr;
    std::thread thread_;
    // The counters and the seen-address set of the current run; touched by
    // the capture thread only.
    RunState run_;
    CaptureRunStats lastRun_;
};
