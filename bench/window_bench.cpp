// The main window under load, in a network namespace with one veth adapter.
//   window_bench startup   time from process start (VENTIS_BENCH_T0, ns of
//                          CLOCK_REALTIME, set just before exec) to the window
//                          shown with capture running; run by bench/window
//   window_bench burst     600 devices announced in one burst: time until all
//                          are listed, the longest stall of the window's event
//                          loop meanwhile, and the RSS with 600 rows
#include <QCoreApplication>
#include <QTimer>

#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "NetnsLab.h"
#include "ResourceIds.h"
#include "TrawlixApp.h"
#include "TrawlixDlg.h"

namespace {

double NowRealtimeMs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

long RssKb()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

class StartupWindow : public CTrawlixDlg {
public:
    double initBegin = 0, initEnd = 0;

protected:
    bool OnInitDialog() override
    {
        initBegin = NowRealtimeMs();
        const bool r = CTrawlixDlg::OnInitDialog();
        initEnd = NowRealtimeMs();
        return r;
    }
};

int Startup()
{
    const char* t0text = std::getenv("VENTIS_BENCH_T0");
    if (t0text == nullptr) {
        std::fprintf(stderr, "window_bench startup: set VENTIS_BENCH_T0 (run it through bench/window)\n");
        return 2;
    }
    const double t0 = std::strtod(t0text, nullptr) / 1e6;
    int argc = 1;
    char name[] = "window_bench";
    char* argv[] = {name, nullptr};
    CTrawlixApp app(argc, argv);
    StartupWindow dlg;
    // Queued before the modal loop starts: runs once the window is shown.
    QTimer::singleShot(0, [&] {
        const double shown = NowRealtimeMs();
        std::printf("startup %.1f ms, of which capture start %.1f ms, capturing %d\n", shown - t0,
                    dlg.initEnd - dlg.initBegin, dlg.CaptureState());
        dlg.EndDialog(framework::kIdCancel);
    });
    dlg.DoModal();
    return 0;
}

int Burst()
{
    NetnsLab lab;
    std::string why;
    if (!lab.Enter(why) || !lab.AddVeth("vb0")) {
        std::fprintf(stderr, "window_bench burst: needs a network namespace (root): %s\n", why.c_str());
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "window_bench";
    char* argv[] = {name, nullptr};
    CTrawlixApp app(argc, argv);
    CTrawlixDlg dlg;
    constexpr int kDevices = 600;
    QTimer::singleShot(0, [&] {
        framework::ListControl& list = dlg.List(ids::kDeviceList);
        const auto begin = std::chrono::steady_clock::now();
        std::atomic<bool> sent{false};
        std::thread injector([&] {
            for (int i = 0; i < kDevices; ++i) {
                const std::string ip = "10.1." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1);
                lab.Inject("vb0", ArpFrame(MakerMac(0x200500 + static_cast<std::uint32_t>(i)), ip.c_str(), "10.1.0.254"));
            }
            sent = true;
        });
        // The window's loop keeps turning while the rows come in: the longest
        // gap between ticks of a 5 ms timer is its worst stall.
        auto last = std::chrono::steady_clock::now();
        double worstGapMs = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const auto now = std::chrono::steady_clock::now();
            worstGapMs = std::max(worstGapMs, std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
        });
        ticker.start(5);
        const auto deadline = begin + std::chrono::seconds(20);
        while (list.GetItemCount() < kDevices && std::chrono::steady_clock::now() < deadline) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        const double listedMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        injector.join();
        ticker.stop();
        std::printf("burst: %d of %d devices listed in %.1f ms; longest event-loop stall %.1f ms; RSS %.1f MB\n",
                    list.GetItemCount(), kDevices, listedMs, worstGapMs, static_cast<double>(RssKb()) / 1024);
        dlg.EndDialog(framework::kIdCancel);
    });
    dlg.DoModal();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "startup") == 0) return Startup();
    if (argc == 2 && std::strcmp(argv[1], "burst") == 0) return Burst();
    std::fprintf(stderr, "usage: window_bench startup|burst\n");
    return 2;
}
