#include "CaptureRunner.h"

#include <cstdio>

#include "AdapterIo.h"
#include "CaptureTexts.h"

namespace {

// The decoder's two results, sent on to the host.
class HostEvents final : public FrameEvents {
public:
    explicit HostEvents(CaptureHost& host) : host_(host) {}
    void LogLine(const char* text) override { host_.WriteLog(text); }
    void HandOff(PacketRecord& record) override { host_.HandOff(record); }

private:
    CaptureHost& host_;
};

}  // namespace

void AdapterSlotTable::Set(std::size_t slot, const char* name)
{
    std::snprintf(names[slot], kAdapterNameSize, "%s", name);
}

void StartEvent::Set()
{
    std::lock_guard lock(mutex_);
    set_ = true;
    changed_.notify_all();
}

void StartEvent::ShowBoxThroughWaiter(const char* text)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return boxText_ == nullptr; });
    boxText_ = text;
    changed_.notify_all();
    changed_.wait(lock, [this, text] { return boxText_ != text; });
}

bool CaptureRunner::Start(CaptureHost& host)
{
    StopAndJoin();
    host_ = &host;
    thread_ = std::thread([this] { ThreadProc(); });
    host.Signals().Start().WaitServingBoxes(
        [&host](const char* text) { host.ShowMessageBox(text, texts::kErrorCaption); });
    return host.Signals().ReadStopFlag() == 0;
}

void CaptureRunner::Stop()
{
    if (host_ != nullptr) host_->Signals().WriteStopFlag(1);
}

void CaptureRunner::StopAndJoin()
{
    if (!thread_.joinable()) return;
    host_->Signals().WriteStopFlag(1);
    host_->RefuseHandOffs(true);
    thread_.join();
    host_->RefuseHandOffs(false);
}

void CaptureRunner::ThreadProc()
{
    CaptureHost& host = *host_;
    CaptureSignals& signals = host.Signals();
    StartEvent& started = signals.Start();
    AdapterSlotTable& slots = host.AdapterSlots();

    // Ends the start as failed. Handles opened so far, and the list, are
    // released when this function returns.
    auto fail = [&](const char* text) {
        started.ShowBoxThroughWaiter(text);
        signals.WriteStopFlag(1);
        started.Set();
    };

    AdapterList adapters;
    adapters.Enumerate();
    const std::size_t adapterCount = adapters.Count();
    for (std::size_t i = 0; i < adapterCount; ++i) {
        if (i < kAdapterSlotCount) {
            slots.Set(i, adapters.Name(i));
        } else {
            started.ShowBoxThroughWaiter(texts::kTooManyCards);
        }
    }

    run_.ResetCounters();

    if (adapterCount == 0) {
        fail(texts::kNoNetworkDevices);
        return;
    }

    // Slots past the adapter count keep what an earlier start wrote there;
    // such a slot is opened but never read.
    AdapterHandle handles[kAdapterSlotCount];
    for (std::size_t slot = 0; slot < kAdapterSlotCount; ++slot) {
        if (slots.IsEmpty(slot)) continue;
        if (!handles[slot].Open(slots.Name(slot))) {
            char text[sizeof texts::kSetNetworkCardFormat + 8];
            std::snprintf(text, sizeof text, texts::kSetNetworkCardFormat, static_cast<int>(slot));
            fail(text);
            return;
        }
    }

    signals.WriteStopFlag(0);
    started.Set();
    run_.seen.Clear();

    const FilterSettings& filter = host.Filter();
    PacketRecord record{};
    HostEvents events(host);
    CaptureRunStats stats;
    std::size_t pollingIndex = 0;
    std::uint8_t stop = signals.ReadStopFlag();
    while (stop == 0) {
        if (pollingIndex >= adapterCount) pollingIndex = 0;
        // Indexes from 16 on exist only with more than 16 adapters and make
        // no read.
        const std::size_t slot = pollingIndex++;
        if (slot < kAdapterSlotCount && handles[slot].IsOpen()) {
            const std::uint8_t* frame = nullptr;
            std::uint32_t capLen = 0;
            if (handles[slot].Read(frame, capLen) == ReadResult::Frame) {
                ++stats.framesRead;
                ProcessFrame(frame, capLen, filter, run_, record, events);
            }
        }
        stop = signals.ReadStopFlag();
    }

    for (const AdapterHandle& h : handles) {
        const AdapterStats s = h.Stats();
        stats.received += s.received;
        stats.dropped += s.dropped;
    }
    lastRun_ = stats;
}
