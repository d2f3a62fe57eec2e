// What a capture thread needs from its owner, the main window: the adapter
// slots, the filter settings, the capture lock with the stop flag, the start
// event, the log writer, the hand-off and message boxes. The window
// implements CaptureHost; tests implement it with a double.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "CaptureTexts.h"
#include "FilterSettings.h"
#include "PacketRecord.h"

// The window message that carries a record's address to the window's thread.
inline constexpr std::uint32_t kWmPacketRecord = 0x455;   // WM_USER + 0x55
// How long a capture thread waits for the window to handle a record, so a
// busy window cannot stall capture for longer.
inline constexpr int kHandOffLimitMs = 1000;

inline constexpr std::size_t kAdapterSlotCount = 16;
inline constexpr std::size_t kAdapterNameSize = 256;

// System names of the adapters to open, exactly as the capture library
// names them. An empty slot means no adapter. Written by a capture thread
// while the window waits for its start, and by the adapter dialog (slot 0).
struct AdapterSlotTable {
    char names[kAdapterSlotCount][kAdapterNameSize] = {};

    bool IsEmpty(std::size_t slot) const { return names[slot][0] == '\0'; }
    const char* Name(std::size_t slot) const { return names[slot]; }
    // Longer names are cut to fit; such a name then fails to open.
    void Set(std::size_t slot, const char* name);
};

// Auto-reset event, not set at creation, on which Start waits for the
// capture thread to decide its start. While the window's thread waits here
// it handles nothing else, so the message boxes a starting capture thread
// raises are shown by the waiting thread itself: the thread hands the text
// over and waits for the box to close.
class StartEvent {
public:
    // The event's name; nothing looks it up.
    static constexpr const char* kLabel = texts::kStartEventName;

    // Capture thread: the start is decided.
    void Set();
    // Capture thread: have the window show a message box (caption "Error",
    // no owner) and wait until it is closed. Only called while the window
    // waits in WaitServingBoxes.
    void ShowBoxThroughWaiter(const char* text);

    // Window thread: waits without a time limit until the event is set, and
    // resets it. Meanwhile every box asked for is shown through show(text).
    template <typename ShowBox>
    void WaitServingBoxes(ShowBox&& show)
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return set_ || boxText_ != nullptr; });
            if (boxText_ != nullptr) {
                const char* text = boxText_;
                lock.unlock();
                show(text);
                lock.lock();
                boxText_ = nullptr;
                changed_.notify_all();
                continue;
            }
            set_ = false;
            return;
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool set_ = false;
    const char* boxText_ = nullptr;
};

// The capture lock, which guards the stop flag and nothing else, and the
// start event.
class CaptureSignals {
public:
    void WriteStopFlag(std::uint8_t value)
    {
        std::lock_guard lock(captureLock_);
        stopFlag_ = value;
    }
    std::uint8_t ReadStopFlag()
    {
        std::lock_guard lock(captureLock_);
        return stopFlag_;
    }
    StartEvent& Start() { return startEvent_; }

private:
    std::mutex captureLock_;
    // 1: capture threads are to end, or the last start failed.
    std::uint8_t stopFlag_ = 1;
    StartEvent startEvent_;
};

class CaptureHost {
public:
    virtual AdapterSlotTable& AdapterSlots() = 0;
    // Read by the capture thread for every frame, without a lock.
    virtual const FilterSettings& Filter() = 0;
    virtual CaptureSignals& Signals() = 0;

    // Capture thread: one event-log entry.
    virtual void WriteLog(const char* text) = 0;
    // Capture thread: WM_PACKET_RECORD with the record's address to the
    // window's thread; returns once the handler has finished or
    // kHandOffLimitMs have passed without it starting. The window never
    // reads the record after this returns.
    virtual void HandOff(PacketRecord& record) = 0;
    // Window thread, around a join of a capture thread: while refused, a
    // hand-off not yet started is withdrawn at once and new ones return at
    // once, because the window is not serving them.
    virtual void RefuseHandOffs(bool refuse) = 0;
    // Window thread: a modal message box with an OK button, without owner,
    // with this caption; returns when the user has closed it.
    virtual void ShowMessageBox(const char* text, const char* caption) = 0;

protected:
    ~CaptureHost() = default;
};
