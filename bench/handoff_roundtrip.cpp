// Round trip of the timed hand-off to an idle window thread, against a peer
// measured in the same run: the same thread hop made with a bare mutex and
// condition variable. Prints the medians and their ratio.
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "TimedSend.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 20000;

double MedianUs(std::vector<double>& v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The peer: one thread waits for work, the other posts it and waits for the
// answer.
std::vector<double> CondVarRoundTrips()
{
    std::mutex mutex;
    std::condition_variable changed;
    int request = 0, answer = 0;
    bool quit = false;
    std::thread server([&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return quit || request != answer; });
            if (quit) return;
            answer = request;
            changed.notify_all();
        }
    });
    std::vector<double> us;
    for (int i = 1; i <= kRounds; ++i) {
        const auto t = Clock::now();
        std::unique_lock lock(mutex);
        request = i;
        changed.notify_all();
        changed.wait(lock, [&] { return answer == i; });
        lock.unlock();
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
    }
    {
        std::lock_guard lock(mutex);
        quit = true;
    }
    changed.notify_all();
    server.join();
    return us;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int handled = 0;
    framework::MessageReceiver receiver([&](std::uint32_t, void*) { ++handled; });
    std::vector<double> sendUs;
    std::thread sender([&] {
        int payload = 0;
        for (int i = 0; i < kRounds; ++i) {
            const auto t = Clock::now();
            receiver.SendTimeout(0x455, &payload, std::chrono::milliseconds(1000));
            sendUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
        }
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    app.exec();
    sender.join();
    std::vector<double> peerUs = CondVarRoundTrips();
    const double send = MedianUs(sendUs), peer = MedianUs(peerUs);
    std::printf("hand-off round trip: median %.1f us, p99 %.1f us (%d handled of %d)\n", send,
                sendUs[sendUs.size() * 99 / 100], handled, kRounds);
    std::printf("condition-variable peer: median %.1f us\n", peer);
    std::printf("ratio hand-off/peer: %.2f\n", send / peer);
    return 0;
}
