// The timed synchronous send on Qt's event loop, with the test's main thread
// as the window's thread and std::threads as senders.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <mutex>
#include <random>
#include <thread>

#include "TimedSend.h"

using namespace std::chrono_literals;
using framework::MessageReceiver;
using framework::SendResult;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t kMessage = 0x455;

double MsSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// Serves the event loop until done() or the time is up.
void ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    while (!done() && Clock::now() < deadline) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A sender on its own thread, as the capture thread is.
struct Sender {
    std::thread thread;
    std::atomic<bool> done{false};
    SendResult result{};
    double ms = 0;
    Clock::time_point end;

    Sender(MessageReceiver& receiver, void* param, std::chrono::milliseconds limit = 1000ms)
    {
        thread = std::thread([&, param, limit] {
            const auto start = Clock::now();
            result = receiver.SendTimeout(kMessage, param, limit);
            end = Clock::now();
            ms = std::chrono::duration<double, std::milli>(end - start).count();
            done = true;
        });
    }
    ~Sender() { thread.join(); }
};

struct Calls {
    std::mutex mutex;
    int count = 0;
    std::uint32_t message = 0;
    void* param = nullptr;
    bool onReceiverThread = false;
    Clock::time_point end;
};

TEST(TimedSend, RunsTheHandlerOnTheReceiversThreadAndWaitsForIt)
{
    Calls calls;
    const auto mainThread = std::this_thread::get_id();
    MessageReceiver receiver([&](std::uint32_t message, void* param) {
        std::lock_guard lock(calls.mutex);
        ++calls.count;
        calls.message = message;
        calls.param = param;
        calls.onReceiverThread = std::this_thread::get_id() == mainThread;
    });
    int payload = 0;
    Sender sender(receiver, &payload);
    ServeUntil([&] { return sender.done.load(); }, 3000ms);
    ASSERT_TRUE(sender.done);
    EXPECT_EQ(sender.result, SendResult::Handled);
    std::lock_guard lock(calls.mutex);
    EXPECT_EQ(calls.count, 1);
    EXPECT_EQ(calls.message, kMessage);
    EXPECT_EQ(calls.param, &payload);
    EXPECT_TRUE(calls.onReceiverThread);
}

TEST(TimedSend, GivesUpOnABusyWindowAndTheHandlerNeverRunsForIt)
{
    Calls calls;
    MessageReceiver receiver([&](std::uint32_t, void*) {
        std::lock_guard lock(calls.mutex);
        ++calls.count;
    });
    int payload = 0;
    Sender sender(receiver, &payload);
    std::this_thread::sleep_for(1500ms);   // the window is busy, not serving
    EXPECT_TRUE(sender.done);
    EXPECT_EQ(sender.result, SendResult::TimedOut);
    EXPECT_GE(sender.ms, 990.0);
    EXPECT_LT(sender.ms, 1400.0);
    ServeUntil([] { return false; }, 500ms);   // the late request is dropped
    std::lock_guard lock(calls.mutex);
    EXPECT_EQ(calls.count, 0);
}

TEST(TimedSend, WaitsForAHandlerThatStartedBeforeTheLimit)
{
    Calls calls;
    MessageReceiver receiver([&](std::uint32_t, void*) {
        std::this_thread::sleep_for(300ms);
        std::lock_guard lock(calls.mutex);
        ++calls.count;
        calls.end = Clock::now();
    });
    int payload = 0;
    Sender sender(receiver, &payload);
    std::this_thread::sleep_for(900ms);
    ServeUntil([&] { return sender.done.load(); }, 3000ms);
    ASSERT_TRUE(sender.done);
    EXPECT_EQ(sender.result, SendResult::Handled);
    EXPECT_GE(sender.ms, 1150.0);
    std::lock_guard lock(calls.mutex);
    EXPECT_EQ(calls.count, 1);
    EXPECT_LE(calls.end, sender.end);
}

TEST(TimedSend, IsServedByANestedModalLoop)
{
    int handled = 0;
    MessageReceiver receiver([&](std::uint32_t, void*) { ++handled; });
    int payload = 0;
    std::unique_ptr<Sender> sender;
    // A modal box runs its own loop inside some handler of the window.
    QTimer::singleShot(0, [&] {
        QEventLoop modal;
        sender = std::make_unique<Sender>(receiver, &payload);
        QTimer::singleShot(400, &modal, &QEventLoop::quit);
        modal.exec();
        EXPECT_TRUE(sender->done);
        EXPECT_EQ(handled, 1);
    });
    ServeUntil([&] { return sender && sender->done.load(); }, 3000ms);
    ASSERT_TRUE(sender);
    EXPECT_EQ(sender->result, SendResult::Handled);
    EXPECT_LT(sender->ms, 400.0);
    ServeUntil([] { return false; }, 500ms);   // let the modal loop end
}

TEST(TimedSend, FromTheReceiversOwnThreadIsRefusedAtOnce)
{
    int handled = 0;
    MessageReceiver receiver([&](std::uint32_t, void*) { ++handled; });
    int payload = 0;
    const auto start = Clock::now();
    EXPECT_EQ(receiver.SendTimeout(kMessage, &payload, 1000ms), SendResult::Refused);
    EXPECT_LT(MsSince(start), 100.0);
    ServeUntil([] { return false; }, 50ms);
    EXPECT_EQ(handled, 0);
}

// What a join from the window's thread relies on: a pending send is given
// back at once, and no new one waits.
TEST(TimedSend, RefusingWithdrawsPendingSendsAndTurnsNewOnesAway)
{
    int handled = 0;
    MessageReceiver receiver([&](std::uint32_t, void*) { ++handled; });
    int payload = 0;
    {
        Sender pending(receiver, &payload);
        std::this_thread::sleep_for(100ms);
        receiver.RefuseSends(true);
        const auto start = Clock::now();
        while (!pending.done && MsSince(start) < 500) std::this_thread::sleep_for(1ms);
        EXPECT_TRUE(pending.done);
        EXPECT_EQ(pending.result, SendResult::Refused);
        Sender late(receiver, &payload);
        const auto lateStart = Clock::now();
        while (!late.done && MsSince(lateStart) < 500) std::this_thread::sleep_for(1ms);
        EXPECT_TRUE(late.done);
        EXPECT_EQ(late.result, SendResult::Refused);
        EXPECT_LT(late.ms, 100.0);
    }
    receiver.RefuseSends(false);
    ServeUntil([] { return false; }, 100ms);
    EXPECT_EQ(handled, 0);
    Sender after(receiver, &payload);
    ServeUntil([&] { return after.done.load(); }, 3000ms);
    EXPECT_EQ(after.result, SendResult::Handled);
    EXPECT_EQ(handled, 1);
}

// Sends whose limits run out around the moment the handler would start:
// whatever the interleaving, a handler runs only while its sender waits,
// and a send reported handled always had its handler run to the end.
TEST(TimedSend, HandlerNeverRunsAfterItsSenderHasGoneOn)
{
    struct Slot {
        std::mutex mutex;
        bool senderWaiting = false;
        int ran = 0;
        int ranLate = 0;
    } slot;
    MessageReceiver receiver([&](std::uint32_t, void* param) {
        auto* s = static_cast<Slot*>(param);
        std::lock_guard lock(s->mutex);
        ++s->ran;
        if (!s->senderWaiting) ++s->ranLate;
    });
    std::atomic<bool> finished{false};
    int handledCount = 0;
    std::thread sender([&] {
        std::mt19937 random(7);
        for (int i = 0; i < 400; ++i) {
            {
                std::lock_guard lock(slot.mutex);
                slot.senderWaiting = true;
            }
            const int ranBefore = [&] { std::lock_guard lock(slot.mutex); return slot.ran; }();
            const SendResult r = receiver.SendTimeout(kMessage, &slot, std::chrono::milliseconds(random() % 3));
            std::lock_guard lock(slot.mutex);
            slot.senderWaiting = false;
            if (r == SendResult::Handled) {
                ++handledCount;
                EXPECT_EQ(slot.ran, ranBefore + 1);
            }
        }
        finished = true;
    });
    std::mt19937 random(11);
    while (!finished) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
    }
    sender.join();
    ServeUntil([] { return false; }, 100ms);
    std::lock_guard lock(slot.mutex);
    EXPECT_EQ(slot.ranLate, 0);
    EXPECT_EQ(slot.ran, handledCount);
    EXPECT_GT(handledCount, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
