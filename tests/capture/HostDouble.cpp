#include "HostDouble.h"

WindowThread::WindowThread() : thread_([this] {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return quit_ || !tasks_.empty(); });
            if (tasks_.empty()) return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
})
{
}

WindowThread::~WindowThread()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void WindowThread::Post(std::function<void()> task)
{
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    changed_.notify_all();
}

HostDouble::~HostDouble()
{
    // The window joins its capture thread before anything it shares goes.
    window_.Run([this] { runner_.StopAndJoin(); });
}

double HostDouble::StopAndJoinMs()
{
    return window_.Run([this] {
        const auto start = Clock::now();
        runner_.StopAndJoin();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    });
}

void HostDouble::WriteLog(const char* text)
{
    std::lock_guard lock(mutex_);
    log_.emplace_back(text);
    changed_.notify_all();
}

void HostDouble::ShowMessageBox(const char* text, const char* caption)
{
    std::lock_guard lock(mutex_);
    boxes_.push_back({text, caption, window_.OnThread()});
    changed_.notify_all();
}

void HostDouble::HandOff(PacketRecord& record)
{
    HandOffTrace trace{record.SrcMAC, Clock::now(), {}, framework::SendResult::Refused};
    std::shared_ptr<framework::SendGate::Ticket> ticket = gate_.Open();
    if (ticket) {
        {
            std::lock_guard lock(mutex_);
            waiting_ = &record;
        }
        window_.Post([this, ticket, &record] {
            if (!gate_.Begin(*ticket)) return;
            OnPacketRecord(record);
            gate_.Finish(*ticket);
        });
        trace.result = gate_.Await(*ticket, trace.start + std::chrono::milliseconds(kHandOffLimitMs));
    }
    trace.end = Clock::now();
    std::lock_guard lock(mutex_);
    waiting_ = nullptr;
    traces_.push_back(trace);
    changed_.notify_all();
}

void HostDouble::OnPacketRecord(PacketRecord& record)
{
    Received r{record.ID, record.TotalPacket, record.SrcIP, record.SrcMAC, Clock::now(), false};
    {
        std::lock_guard lock(mutex_);
        r.senderWaiting = waiting_ == &record;
    }
    if (handlerWork_) handlerWork_(r);
    std::lock_guard lock(mutex_);
    records_.push_back(r);
    changed_.notify_all();
}

std::vector<Box> HostDouble::Boxes()
{
    std::lock_guard lock(mutex_);
    return boxes_;
}
std::vector<std::string> HostDouble::Log()
{
    std::lock_guard lock(mutex_);
    return log_;
}
std::vector<Received> HostDouble::Records()
{
    std::lock_guard lock(mutex_);
    return records_;
}
std::vector<HandOffTrace> HostDouble::Traces()
{
    std::lock_guard lock(mutex_);
    return traces_;
}
std::size_t HostDouble::RecordCount()
{
    std::lock_guard lock(mutex_);
    return records_.size();
}
std::size_t HostDouble::TraceCount()
{
    std::lock_guard lock(mutex_);
    return traces_.size();
}

bool HostDouble::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    std::unique_lock lock(mutex_);
    while (Clock::now() < deadline) {
        lock.unlock();
        if (done()) return true;
        lock.lock();
        changed_.wait_for(lock, std::chrono::milliseconds(5));
    }
    lock.unlock();
    return done();
}
