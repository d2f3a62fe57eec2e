// replay_bench FILE: replays FILE into the real window's device list on the
// offscreen platform, as command 32801 does, and prints the rows, the time
// and the peak RSS.
#include <QCoreApplication>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "Replay.h"
#include "ResourceIds.h"
#include "TrawlixApp.h"
#include "TrawlixDlg.h"

namespace {

// The window without its capture: replay alone is measured.
class ReplayWindow : public CTrawlixDlg {
protected:
    bool OnInitDialog() override { return true; }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: replay_bench FILE\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    CTrawlixApp app(qtArgc, argv);
    const char* path = argv[1];
    ReplayWindow dlg;
    int status = 0;
    QTimer::singleShot(0, [&] {
        framework::ListControl& list = dlg.List(ids::kDeviceList);
        list.InsertColumn(0, "MAC Address", framework::ColumnAlign::Center, 115);
        list.InsertColumn(1, "Device Type", framework::ColumnAlign::Center, 150);
        list.InsertColumn(2, "IP Address", framework::ColumnAlign::Center, 108);
        const auto begin = std::chrono::steady_clock::now();
        list.DeleteAllItems();
        if (!settings::ReplayCaptureFile(path, list)) status = 1;
        QCoreApplication::processEvents();  // the view catches up once, as after the handler
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%d %.3f %.1f\n", list.GetItemCount(), seconds, static_cast<double>(usage.ru_maxrss) / 1024);
        dlg.EndDialog(framework::kIdCancel);
    });
    dlg.DoModal();
    return status;
}
