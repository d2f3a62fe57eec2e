// Live capture on real interfaces: veth pairs in a namespace of the test's
// own, frames injected on the peer ends, the window played by HostDouble.
#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <memory>
#include <set>

#include "HostDouble.h"
#include "NetnsLab.h"

using namespace std::chrono_literals;
using framework::SendResult;

namespace {

constexpr char kTooMany[] = "You have too many network cards!";
constexpr char kNoDevices[] =
    "Please check your network devices! If you still can't use Ventis,maybe you uninstalled winpcap while "
    "you were using it.Please install winpcap manually and then restart Ventis";

double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

class LiveCapture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        if (!lab_.Enter(why)) GTEST_SKIP() << why;
        // Created inside the namespace: its thread, and the capture threads
        // it starts, see only the test's interfaces.
        host_ = std::make_unique<HostDouble>();
    }
    void TearDown() override
    {
        host_.reset();
        lab_.Leave();
    }

    void AddVeths(int n)
    {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(lab_.AddVeth("vc" + std::to_string(i)));
    }
    bool WaitRecords(std::size_t n, std::chrono::milliseconds limit = 3000ms)
    {
        return host_->WaitFor([&] { return host_->RecordCount() >= n; }, limit);
    }
    std::vector<std::string> Macs()
    {
        std::vector<std::string> macs;
        for (const Received& r : host_->Records()) macs.push_back(r.srcMac);
        return macs;
    }

    NetnsLab lab_;
    std::unique_ptr<HostDouble> host_;
};

TEST_F(LiveCapture, OneAdapterHandsOverEachMakerDeviceOnceAndLogsEveryArp)
{
    AddVeths(1);
    ASSERT_TRUE(host_->Start());
    EXPECT_STREQ(host_->AdapterSlots().Name(0), "vc0");
    EXPECT_TRUE(host_->AdapterSlots().IsEmpty(1));

    const std::uint64_t a = MakerMac(0x0A003F), b = MakerMac(0x0A0040), c = MakerMac(0x0A0041);
    const std::uint64_t other = 0x001122334455ULL;
    const Frame frames[] = {
        ArpFrame(a, "192.168.1.20", "192.168.1.1"),        // 1: handed over
        ArpFrame(a, "192.168.1.20", "192.168.1.1"),        // 2: already seen
        UdpFrame(b, "0.0.0.0", "255.255.255.255", 68, 67), // 3: no address yet
        ArpFrame(other, "10.0.0.7", "10.0.0.1"),           // 4: not the maker's
        UdpFrame(other, "10.0.0.7", "10.0.0.1", 5000, 53), // 5: not the maker's
        UdpFrame(b, "192.168.1.30", "192.168.1.1", 5060, 80),  // 6: handed over
        UdpFrame(c, "0.0.0.0", "255.255.255.255", 68, 67), // 7: no address yet
        ArpFrame(c, "0.0.0.0", "192.168.1.40"),            // 8: an address probe
    };
    for (const Frame& f : frames) lab_.Inject("vc0", f);

    ASSERT_TRUE(WaitRecords(2));
    ASSERT_TRUE(host_->WaitFor([&] { return host_->Log().size() >= 4; }, 3000ms));
    std::this_thread::sleep_for(300ms);   // room for anything handed over wrongly

    const std::vector<Received> records = host_->Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].srcMac, "02:5C:E1:0A:00:3F");
    EXPECT_EQ(records[0].srcIp, "192.168.1.20");
    EXPECT_EQ(records[0].id, "1");
    EXPECT_EQ(records[1].srcMac, "02:5C:E1:0A:00:40");
    EXPECT_EQ(records[1].srcIp, "192.168.1.30");
    EXPECT_EQ(records[1].id, "6");
    for (const Received& r : records) EXPECT_TRUE(r.senderWaiting);
    for (const HandOffTrace& t : host_->Traces()) EXPECT_EQ(t.result, SendResult::Handled);

    const std::vector<std::string> expectedLog = {
        "ID:1,TotalPacket:1,Protocol:ARP\nSrc:02:5C:E1:0A:00:3F,192.168.1.20:--->Dest:FF:FF:FF:FF:FF:FF,192.168.1.1:--\n",
        "ID:2,TotalPacket:2,Protocol:ARP\nSrc:02:5C:E1:0A:00:3F,192.168.1.20:--->Dest:FF:FF:FF:FF:FF:FF,192.168.1.1:--\n",
        "ID:4,TotalPacket:4,Protocol:ARP\nSrc:00:11:22:33:44:55,10.0.0.7:--->Dest:FF:FF:FF:FF:FF:FF,10.0.0.1:--\n",
        "ID:8,TotalPacket:8,Protocol:ARP\nSrc:02:5C:E1:0A:00:41,0.0.0.0:--->Dest:FF:FF:FF:FF:FF:FF,192.168.1.40:--\n",
    };
    EXPECT_EQ(host_->Log(), expectedLog);
    EXPECT_TRUE(host_->Boxes().empty());
}

TEST_F(LiveCapture, StopEndsAnIdleCaptureWithinATurn)
{
    AddVeths(1);
    std::vector<double> stopMs;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(host_->Start());
        std::this_thread::sleep_for(50ms);
        stopMs.push_back(host_->StopAndJoinMs());
    }
    // The best of five shows the turn; the worst only bounds it on a
    // loaded machine.
    EXPECT_LT(*std::min_element(stopMs.begin(), stopMs.end()), 25.0);
    EXPECT_LT(*std::max_element(stopMs.begin(), stopMs.end()), 300.0);
}

TEST_F(LiveCapture, SilentAdapterDoesNotHoldUpTheBusyOnes)
{
    AddVeths(3);
    ASSERT_TRUE(host_->Start());
    constexpr int kDevices = 12;
    std::vector<Clock::time_point> sent;
    for (int i = 0; i < kDevices; ++i) {
        // vc1 stays silent throughout.
        const std::string name = i % 2 == 0 ? "vc0" : "vc2";
        sent.push_back(lab_.Inject(name, ArpFrame(MakerMac(0x100 + i), "192.168.1.50", "192.168.1.1")));
        std::this_thread::sleep_for(30ms);
    }
    ASSERT_TRUE(WaitRecords(kDevices));
    const std::vector<Received> records = host_->Records();
    std::vector<double> latencyMs;
    for (int i = 0; i < kDevices; ++i) {
        const std::string mac = MacText(MakerMac(0x100 + i));
        auto it = std::find_if(records.begin(), records.end(), [&](const Received& r) { return r.srcMac == mac; });
        ASSERT_NE(it, records.end()) << mac;
        latencyMs.push_back(std::chrono::duration<double, std::milli>(it->at - sent[i]).count());
    }
    std::sort(latencyMs.begin(), latencyMs.end());
    // A frame waits for at most the silent adapter's 10 ms turn plus the
    // kernel's 10 ms block timeout; the bounds leave room for load.
    EXPECT_LT(latencyMs[kDevices / 2], 60.0);
    EXPECT_LT(latencyMs.back(), 400.0);
}

TEST_F(LiveCapture, SeventeenAdaptersShowOneMessageAndCaptureOnTheFirstSixteen)
{
    AddVeths(17);
    ASSERT_TRUE(host_->Start());
    const std::vector<Box> boxes = host_->Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kTooMany);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_TRUE(boxes[0].onWindowThread);

    std::set<std::string> inSlots;
    for (std::size_t s = 0; s < kAdapterSlotCount; ++s) inSlots.insert(host_->AdapterSlots().Name(s));
    ASSERT_EQ(inSlots.size(), 16u);
    std::set<std::string> expected;
    for (int i = 0; i < 17; ++i) {
        const std::string name = "vc" + std::to_string(i);
        lab_.Inject(name, ArpFrame(MakerMac(i), "192.168.1.60", "192.168.1.1"));
        if (inSlots.count(name) != 0) expected.insert(MacText(MakerMac(i)));
    }
    ASSERT_EQ(expected.size(), 16u);
    ASSERT_TRUE(WaitRecords(16));
    std::this_thread::sleep_for(300ms);
    const std::vector<std::string> macs = Macs();
    EXPECT_EQ(std::set<std::string>(macs.begin(), macs.end()), expected);
    EXPECT_EQ(macs.size(), 16u);
}

TEST_F(LiveCapture, AdapterGoneBetweenStartsLeavesAStaleSlotThatFailsTheStart)
{
    AddVeths(4);
    ASSERT_TRUE(host_->Start());
    host_->StopAndJoinMs();
    ASSERT_TRUE(lab_.Run({"link", "del", "vc3"}));

    EXPECT_FALSE(host_->Start());
    const std::vector<Box> boxes = host_->Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Please set the network card 3 first");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_TRUE(boxes[0].onWindowThread);
    EXPECT_STREQ(host_->AdapterSlots().Name(3), "vc3");
    EXPECT_EQ(host_->Signals().ReadStopFlag(), 1);

    // Nothing captures after a failed start.
    lab_.Inject("vc0", ArpFrame(MakerMac(1), "192.168.1.70", "192.168.1.1"));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(host_->RecordCount(), 0u);
    EXPECT_TRUE(host_->Log().empty());
}

// Interfaces that are switched off are not adapters the user would expect
// to be asked about, so they count as absent.
class NoUsableAdapter : public LiveCapture, public ::testing::WithParamInterface<bool> {};

TEST_P(NoUsableAdapter, FailsTheStartWithTheMissingAdapterMessage)
{
    if (GetParam()) {
        ASSERT_TRUE(lab_.AddVeth("vc0", /*up=*/false));
    }
    host_->AdapterSlots().Set(0, "before");
    EXPECT_FALSE(host_->Start());
    const std::vector<Box> boxes = host_->Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kNoDevices);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_TRUE(boxes[0].onWindowThread);
    EXPECT_STREQ(host_->AdapterSlots().Name(0), "before");
    EXPECT_EQ(host_->Signals().ReadStopFlag(), 1);
}

INSTANTIATE_TEST_SUITE_P(LoopbackOnly, NoUsableAdapter, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(DownInterface, NoUsableAdapter, ::testing::Values(true));

TEST_F(LiveCapture, StopThenStartCountsAgainAndReportsEveryDeviceAgain)
{
    AddVeths(1);
    ASSERT_TRUE(host_->Start());
    const Frame a = ArpFrame(MakerMac(0xA), "192.168.1.80", "192.168.1.1");
    lab_.Inject("vc0", ArpFrame(0x001122334455ULL, "10.0.0.7", "10.0.0.1"));
    lab_.Inject("vc0", a);
    ASSERT_TRUE(WaitRecords(1));
    EXPECT_EQ(host_->Records()[0].id, "2");

    host_->Stop();
    ASSERT_TRUE(host_->Start());
    lab_.Inject("vc0", a);
    ASSERT_TRUE(WaitRecords(2));
    const Received again = host_->Records()[1];
    EXPECT_EQ(again.srcMac, MacText(MakerMac(0xA)));
    EXPECT_EQ(again.id, "1");
    EXPECT_EQ(again.totalPacket, "1");
    ASSERT_EQ(host_->Log().size(), 3u);
    EXPECT_EQ(host_->Log()[2].substr(0, 32), "ID:1,TotalPacket:1,Protocol:ARP\n");
}

// Start while a thread runs, and Start right after Stop: the old thread is
// joined first, so each frame is decoded by one thread only.
class Restart : public LiveCapture, public ::testing::WithParamInterface<bool> {};

TEST_P(Restart, NeverLeavesTwoThreads)
{
    AddVeths(1);
    ASSERT_TRUE(host_->Start());
    if (GetParam()) host_->Stop();
    ASSERT_TRUE(host_->Start());
    lab_.Inject("vc0", ArpFrame(MakerMac(0xB), "192.168.1.90", "192.168.1.1"));
    ASSERT_TRUE(WaitRecords(1));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(host_->RecordCount(), 1u);
    EXPECT_EQ(host_->Log().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(WhileRunning, Restart, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(AfterStop, Restart, ::testing::Values(true));

TEST_F(LiveCapture, RestartWithdrawsAPendingHandOffInsteadOfSittingItOut)
{
    AddVeths(1);
    ASSERT_TRUE(host_->Start());
    std::promise<double> startMs;
    // The window is busy, then restarts: the old thread's hand-off is still
    // queued behind it when the join begins.
    host_->Window().Post([&] {
        std::this_thread::sleep_for(300ms);
        const auto t = Clock::now();
        const bool ok = host_->Runner().Start(*host_);
        startMs.set_value(ok ? std::chrono::duration<double, std::milli>(Clock::now() - t).count() : -1);
    });
    lab_.Inject("vc0", ArpFrame(MakerMac(0xC), "192.168.1.91", "192.168.1.1"));
    const double ms = startMs.get_future().get();
    EXPECT_GE(ms, 0.0);
    EXPECT_LT(ms, 450.0);   // sitting it out would take about 700 ms
    ASSERT_EQ(host_->TraceCount(), 1u);
    EXPECT_EQ(host_->Traces()[0].result, SendResult::Refused);
    EXPECT_EQ(host_->RecordCount(), 0u);

    // The new run reports the device again.
    lab_.Inject("vc0", ArpFrame(MakerMac(0xC), "192.168.1.91", "192.168.1.1"));
    ASSERT_TRUE(WaitRecords(1));
}

TEST_F(LiveCapture, HandOffRunsOutWhenTheWindowIsBusyAndCaptureGoesOn)
{
    AddVeths(1);
    ASSERT_TRUE(host_->Start());
    host_->Window().Post([] { std::this_thread::sleep_for(1500ms); });
    lab_.Inject("vc0", ArpFrame(MakerMac(1), "192.168.1.101", "192.168.1.1"));
    std::this_thread::sleep_for(200ms);
    lab_.Inject("vc0", ArpFrame(MakerMac(2), "192.168.1.102", "192.168.1.1"));

    ASSERT_TRUE(WaitRecords(1, 4000ms));
    std::this_thread::sleep_for(500ms);   // the window is free again: nothing late arrives
    const std::vector<HandOffTrace> traces = host_->Traces();
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(traces[0].srcMac, MacText(MakerMac(1)));
    EXPECT_EQ(traces[0].result, SendResult::TimedOut);
    EXPECT_GE(traces[0].Ms(), 990.0);
    EXPECT_LT(traces[0].Ms(), 1400.0);
    EXPECT_EQ(traces[1].result, SendResult::Handled);
    const std::vector<Received> records = host_->Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].srcMac, MacText(MakerMac(2)));
    EXPECT_TRUE(records[0].senderWaiting);
}

TEST_F(LiveCapture, HandOffWaitsForAHandlerThatStartedInTime)
{
    AddVeths(1);
    ASSERT_TRUE(host_->Start());
    Clock::time_point handlerEnd{};
    host_->SetHandlerWork([&](const Received&) {
        std::this_thread::sleep_for(300ms);
        handlerEnd = Clock::now();
    });
    host_->Window().Post([] { std::this_thread::sleep_for(900ms); });
    lab_.Inject("vc0", ArpFrame(MakerMac(3), "192.168.1.103", "192.168.1.1"));
    ASSERT_TRUE(host_->WaitFor([&] { return host_->TraceCount() == 1; }, 4000ms));
    const HandOffTrace trace = host_->Traces()[0];
    EXPECT_EQ(trace.result, SendResult::Handled);
    EXPECT_GE(trace.Ms(), 1100.0);
    ASSERT_EQ(host_->RecordCount(), 1u);
    EXPECT_TRUE(host_->Records()[0].senderWaiting);
    EXPECT_LE(handlerEnd, trace.end);
}

// An interface that disappears or goes down while being read fails every
// read; it stays in the rotation, the others go on, and when nothing but
// lost adapters is left the thread still does not spin.
class LostAdapter : public LiveCapture, public ::testing::WithParamInterface<bool> {
protected:
    bool Lose(const std::string& name)
    {
        return GetParam() ? lab_.Run({"link", "del", name}) : lab_.Run({"link", "set", name, "down"});
    }
};

TEST_P(LostAdapter, StaysInTheRotationWithoutSpinning)
{
    AddVeths(2);
    ASSERT_TRUE(host_->Start());
    ASSERT_TRUE(Lose("vc1"));
    lab_.Inject("vc0", ArpFrame(MakerMac(4), "192.168.1.104", "192.168.1.1"));
    ASSERT_TRUE(WaitRecords(1));

    ASSERT_TRUE(Lose("vc0"));
    std::this_thread::sleep_for(100ms);
    const double cpu0 = CpuSeconds();
    const auto wall0 = Clock::now();
    std::this_thread::sleep_for(1000ms);
    const double cpu = CpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    EXPECT_LT(cpu / wall, 0.25) << "the capture thread spins on lost adapters";
    EXPECT_LT(host_->StopAndJoinMs(), 300.0);
    EXPECT_TRUE(host_->Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(SwitchedOff, LostAdapter, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(Deleted, LostAdapter, ::testing::Values(true));

}  // namespace
