// The main window in-process, on the offscreen platform, capturing for real
// on a veth pair in a network namespace of its own. Modal boxes are answered
// by a timer that finds the active one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "WindowTesting.h"
#include "ResourceIds.h"
#include "TrawlixApp.h"
#include "TrawlixDlg.h"

namespace {

using namespace window_testing;

PacketRecord Record(const char* id, const char* mac, const char* ip, std::uint8_t filtered = 0)
{
    PacketRecord r{};
    std::strcpy(r.ID, id);
    std::strcpy(r.SrcMAC, mac);
    std::strcpy(r.SrcIP, ip);
    r.Filtered = filtered;
    return r;
}

long Deliver(CTrawlixDlg& dlg, const PacketRecord& r)
{
    return dlg.SendMessage(kWmPacketRecord, reinterpret_cast<std::uintptr_t>(&r), 0);
}

class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        if (g_lab == nullptr) GTEST_SKIP() << g_labProblem;
    }
    BoxAnswerer answerer_;
};

TEST_F(MainWindow, InitialisationBuildsTheDescribedWindow)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        EXPECT_EQ(dlg.Caption(), "Ventis v1.0.7");
        // Only the list, Refresh and the note line show.
        EXPECT_TRUE(dlg.IsControlVisible(ids::kDeviceList));
        EXPECT_TRUE(dlg.IsControlVisible(ids::kRefresh));
        EXPECT_EQ(dlg.ControlText(ids::kRefresh), "Refresh");
        for (int hidden : {ids::kAdapterSettings, ids::kStopScanning, ids::kSecondList, ids::kHiddenEdit1,
                           ids::kHiddenEdit2}) {
            EXPECT_FALSE(dlg.IsControlVisible(hidden)) << hidden;
        }
        framework::ListControl& list = dlg.List(ids::kDeviceList);
        EXPECT_EQ(list.GetExtendedStyle(), 0x31u);
        ASSERT_EQ(list.ColumnCount(), 3);
        const struct {
            const char* heading;
            int width;
        } columns[] = {{"MAC Address", 115}, {"Device Type", 150}, {"IP Address", 108}};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(list.ColumnHeading(i), columns[i].heading);
            EXPECT_EQ(list.ColumnWidth(i), columns[i].width);
            EXPECT_EQ(list.ColumnAlignment(i), framework::ColumnAlign::Center);
        }
        // The system menu ends with a separator and the About item.
        const int n = dlg.SystemMenuItemCount();
        ASSERT_GE(n, 4);
        EXPECT_EQ(dlg.SystemMenuItemCommand(0), 0);
        EXPECT_EQ(dlg.SystemMenuItemCommand(1), 16);
        EXPECT_EQ(dlg.SystemMenuItemText(1), "About Ventis");
        EXPECT_EQ(dlg.IconId(true), 128);
        EXPECT_EQ(dlg.IconId(false), 128);

        // Bars: a 20 px toolbar without buttons; a status bar with no height
        // 20 px above the bottom, its panes a fifth and four fifths wide.
        const framework::Rect client = dlg.ClientRect();
        const framework::Rect tool = dlg.ToolBarControl().WindowRect();
        EXPECT_EQ(tool.Height(), 20);
        EXPECT_EQ(tool.Width(), client.Width());
        EXPECT_EQ(dlg.ToolBarControl().ButtonCount(), 0);
        const framework::Rect status = dlg.StatusBarControl().WindowRect();
        EXPECT_EQ(status.Height(), 0);
        EXPECT_EQ(status.top, client.bottom - 20);
        const framework::StatusBar& bar = dlg.StatusBarControl();
        ASSERT_EQ(bar.PaneCount(), 2);
        EXPECT_EQ(bar.PaneWidth(0), client.Width() / 5);
        EXPECT_EQ(bar.PaneWidth(1), client.Width() * 4 / 5);
        EXPECT_EQ(bar.PaneStyle(0), framework::kSbpsStretch);
        EXPECT_EQ(bar.PaneText(1), "");

        // Capturing on the namespace's adapter from the start.
        EXPECT_EQ(dlg.CaptureState(), 1);
        EXPECT_EQ(bar.PaneText(0), "Cap...");
        EXPECT_TRUE(dlg.CaptureThreadRunning());
        EXPECT_TRUE(dlg.Log().IsOpen());
        const FilterSettings& f = dlg.CurrentFilter();
        EXPECT_EQ(std::memcmp(&f, &static_cast<const FilterSettings&>(DefaultFilterSettings()), sizeof f), 0);
    });
    EXPECT_TRUE(answerer_.boxes.empty());
}

TEST(StatusPanes, FifthsOfTheClientWidth)
{
    EXPECT_EQ(StatusPaneWidths(400), std::make_pair(80, 320));
    EXPECT_EQ(StatusPaneWidths(383), std::make_pair(76, 306));
}

TEST(MinimisedIcon, IsCentred)
{
    EXPECT_EQ(framework::CenteredIconPosition({0, 0, 36, 36}, 32, 32).x, 2);
    EXPECT_EQ(framework::CenteredIconPosition({0, 0, 36, 36}, 32, 32).y, 2);
    EXPECT_EQ(framework::CenteredIconPosition({0, 0, 37, 20}, 32, 32).x, 3);
    EXPECT_EQ(framework::CenteredIconPosition({0, 0, 37, 20}, 32, 32).y, -5);  // truncated toward zero
}

TEST_F(MainWindow, CaptureStateDisplayInBothStates)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        const framework::Menu& m = dlg.CommandMenu();
        auto items = [&] {
            return std::vector<bool>{m.IsItemEnabled(1, 0), m.IsItemEnabled(1, 1), m.IsItemEnabled(2, 0),
                                     m.IsItemEnabled(2, 1), m.IsItemEnabled(1, 3), m.IsItemEnabled(0, 0)};
        };
        EXPECT_EQ(items(), (std::vector<bool>{false, true, false, false, true, true}));
        dlg.SendCommand(ids::kStopScanning);
        EXPECT_EQ(dlg.CaptureState(), 0);
        EXPECT_EQ(dlg.StatusBarControl().PaneText(0), "Ready...");
        EXPECT_EQ(items(), (std::vector<bool>{true, false, true, true, true, true}));

        // Any other value is an error and changes nothing.
        dlg.SetCaptureState(2);
        dlg.UpdateCaptureStateDisplay();
        EXPECT_EQ(dlg.StatusBarControl().PaneText(0), "Ready...");
        EXPECT_EQ(items(), (std::vector<bool>{true, false, true, true, true, true}));
        dlg.SetCaptureState(0);
    });
    ASSERT_EQ(answerer_.boxes.size(), 1u);
    EXPECT_EQ(answerer_.boxes[0].text, "Error status variate-value");
    EXPECT_EQ(answerer_.boxes[0].caption, "main_window_test");  // the application's name
}

TEST_F(MainWindow, DeviceRowsFromHandedOverRecords)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        framework::ListControl& list = dlg.List(ids::kDeviceList);
        EXPECT_EQ(Deliver(dlg, Record("1", "02:5C:E1:20:05:00", "192.168.1.20")), 0);
        Deliver(dlg, Record("2", "02:5C:E1:45:15:00", "192.168.1.20"));  // one IP, two devices
        Deliver(dlg, Record("3", "02:5C:E1:66:00:00", "10.0.0.9", 1));   // filtered: dropped
        ASSERT_EQ(list.GetItemCount(), 2);
        EXPECT_EQ(list.GetItemText(0, 0), "02:5C:E1:20:05:00");
        EXPECT_EQ(list.GetItemText(0, 1), "ZV52");
        EXPECT_EQ(list.GetItemText(0, 2), "192.168.1.20");
        EXPECT_EQ(list.GetItemText(1, 1), "KR85E");

        // After a replay-sized list: ID 5 lands at row 5 of 9; with two rows
        // ID 5 goes to the end.
        list.DeleteAllItems();
        for (int i = 0; i < 8; ++i) list.InsertItem(i, std::to_string(i).c_str());
        Deliver(dlg, Record("5", "02:5C:E1:3A:05:00", "192.168.1.5"));
        ASSERT_EQ(list.GetItemCount(), 9);
        EXPECT_EQ(list.GetItemText(4, 0), "02:5C:E1:3A:05:00");
        EXPECT_EQ(list.GetItemText(4, 1), "ZV6G");
        EXPECT_EQ(list.GetItemText(5, 0), "4");
        list.DeleteAllItems();
        list.InsertItem(0, "a");
        list.InsertItem(1, "b");
        Deliver(dlg, Record("5", "02:5C:E1:60:10:00", "192.168.1.6"));
        EXPECT_EQ(list.GetItemText(2, 1), "QS3500|RC650");

        // The clear command empties the list and the two hidden boxes.
        dlg.SetControlText(ids::kHiddenEdit1, "x");
        dlg.SendCommand(ids::kClearRecords);
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_EQ(dlg.ControlText(ids::kHiddenEdit1), "");
    });
}

TEST_F(MainWindow, CopyIpAddressOfTheSelectedRowOnly)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        framework::ListControl& list = dlg.List(ids::kDeviceList);
        Deliver(dlg, Record("1", "02:5C:E1:20:05:00", "192.168.1.20"));
        Deliver(dlg, Record("2", "02:5C:E1:45:15:00", "10.1.2.3"));
        framework::SetClipboardText(&dlg, "before");
        dlg.SendCommand(ids::kCopyIpAddress);  // no selection: untouched
        EXPECT_EQ(framework::ClipboardText(), "before");
        list.SelectRow(1);
        dlg.SendCommand(ids::kCopyIpAddress);
        EXPECT_EQ(framework::ClipboardText(), "10.1.2.3");
    });
}

TEST_F(MainWindow, RightClickOnARowOffersCopyBelowTheRowsNothing)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        framework::ListControl& list = dlg.List(ids::kDeviceList);
        Deliver(dlg, Record("1", "02:5C:E1:20:05:00", "192.168.1.20"));
        Deliver(dlg, Record("2", "02:5C:E1:45:15:00", "10.1.2.3"));
        auto* view = dynamic_cast<QTableView*>(dlg.Widget()->Control(ids::kDeviceList));
        ASSERT_NE(view, nullptr);
        framework::SetClipboardText(&dlg, "before");

        // On the second row: it is selected, and the menu's one item copies.
        std::vector<std::string> offered;
        QTimer::singleShot(100, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* a : menu->actions()) offered.push_back(a->text().toStdString());
                QTest::keyClick(menu, Qt::Key_Down);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        const QPoint row1 = view->visualRect(view->model()->index(1, 1)).center();
        QTest::mouseClick(view->viewport(), Qt::RightButton, {}, row1);
        EXPECT_EQ(offered, std::vector<std::string>{"复制IP地址"});
        EXPECT_TRUE(list.IsSelected(1));
        EXPECT_EQ(framework::ClipboardText(), "10.1.2.3");

        // Below the last row: no menu.
        bool menuShown = false;
        QTimer::singleShot(100, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuShown = true;
                popup->close();
            }
        });
        QTest::mouseClick(view->viewport(), Qt::RightButton, {}, QPoint(20, view->viewport()->height() - 5));
        QTest::qWait(200);
        EXPECT_FALSE(menuShown);
    });
}

TEST_F(MainWindow, KeysEnterDoesNothingF1AsksForHelp)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        QWidget* list = dlg.Widget()->Control(ids::kDeviceList);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_TRUE(dlg.IsRunning());
        QTest::keyClick(list, Qt::Key_F1);
        EXPECT_TRUE(dlg.IsRunning());
    });
    ASSERT_EQ(answerer_.boxes.size(), 1u);
    EXPECT_EQ(answerer_.boxes[0].text, "Failed to launch help.");
}

TEST_F(MainWindow, SystemCommandsSixteenToThirtyOneOpenTheAboutBox)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        const struct {
            int command;
            bool about;
        } cases[] = {{16, true}, {17, true}, {31, true}, {15, false}, {32, false}};
        for (const auto& c : cases) {
            answerer_.boxes.clear();
            dlg.SendSysCommand(c.command);
            ASSERT_EQ(answerer_.boxes.size(), c.about ? 1u : 0u) << c.command;
            if (c.about) {
                EXPECT_EQ(answerer_.boxes[0].caption, "About Ventis");
            }
            EXPECT_TRUE(dlg.IsRunning());
        }
    });
}

TEST_F(MainWindow, CloseRuleWaitsStopsCaptureAndTearsDown)
{
    CTrawlixDlg dlg;
    Steady::time_point closed{};
    RunWindow(dlg, [&] {
        ASSERT_TRUE(dlg.CaptureThreadRunning());
        closed = Steady::now();
        dlg.Widget()->close();  // the caption's close box
    });
    const auto took = Steady::now() - closed;
    EXPECT_GE(took, std::chrono::milliseconds(380));
    EXPECT_FALSE(dlg.CaptureThreadRunning());
    EXPECT_FALSE(dlg.HasCaptureLock());
    EXPECT_FALSE(dlg.Log().IsOpen());
    EXPECT_EQ(dlg.CaptureState(), 0);
    EXPECT_TRUE(answerer_.boxes.empty());
}

TEST_F(MainWindow, TerminationSignalRunsTheCloseRule)
{
    CTrawlixDlg dlg;
    framework::Application::Current()->SetMainWindow(&dlg);
    RunWindow(dlg, [&] {
        ::raise(SIGTERM);
        WaitFor([&] { return !dlg.IsRunning(); });
    });
    framework::Application::Current()->SetMainWindow(nullptr);
    EXPECT_FALSE(dlg.CaptureThreadRunning());
    EXPECT_FALSE(dlg.Log().IsOpen());  // closed, so what it held is on disk
    EXPECT_NE(ReadLog().find(" Ver 1.0.7 Start\r\n"), std::string::npos);
}

TEST_F(MainWindow, TerminationSignalWhileAStartMessageIsUpClosesOnceItIsAnswered)
{
    // The starting thread waits for its box; the close must not wait for
    // the thread meanwhile, or neither ever goes on.
    ASSERT_TRUE(g_lab->Run({"link", "set", "vw0", "down"}));
    answerer_.beforeOk = [] {
        ::raise(SIGTERM);
        QTest::qWait(100);
    };
    CTrawlixDlg dlg;
    framework::Application::Current()->SetMainWindow(&dlg);
    const auto begin = Steady::now();
    dlg.DoModal();  // ends without entering its loop: the close came during its start
    framework::Application::Current()->SetMainWindow(nullptr);
    ASSERT_TRUE(g_lab->Run({"link", "set", "vw0", "up"}));
    EXPECT_LT(Steady::now() - begin, std::chrono::seconds(5));
    EXPECT_FALSE(dlg.Log().IsOpen());
    EXPECT_FALSE(dlg.HasCaptureLock());
    ASSERT_EQ(answerer_.boxes.size(), 1u);
    dlg.SendCommand(ids::kRefresh);  // after the close rule nothing starts again
    EXPECT_FALSE(dlg.CaptureThreadRunning());
}

TEST_F(MainWindow, EscEndsAtOnceWithoutTheCloseRule)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] { QTest::keyClick(dlg.Widget(), Qt::Key_Escape); });
    // The close rule did not run: the lock and the log are still there.
    EXPECT_TRUE(dlg.HasCaptureLock());
    EXPECT_TRUE(dlg.Log().IsOpen());
    EXPECT_FALSE(dlg.IsRunning());
}

TEST_F(MainWindow, DevicesOnTheWireAppearOnceAndComeBackAfterRefresh)
{
    std::filesystem::remove("Ventis.log");
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        framework::ListControl& list = dlg.List(ids::kDeviceList);
        ASSERT_EQ(dlg.CaptureState(), 1);
        auto announce = [&] {
            g_lab->Inject("vw0", UdpFrame(MakerMac(0x200500), "0.0.0.0", "255.255.255.255", 68, 67));
            g_lab->Inject("vw0", ArpFrame(MakerMac(0x451500), "192.168.7.20", "192.168.7.1"));
            g_lab->Inject("vw0", ArpFrame(MakerMac(0x451500), "192.168.7.21", "192.168.7.1"));
            g_lab->Inject("vw0", UdpFrame(MakerMac(0x200500), "192.168.7.30", "192.168.7.1", 5000, 5001));
            g_lab->Inject("vw0", ArpFrame(0x3C5282000001ull, "192.168.7.40", "192.168.7.1"));
        };
        announce();
        ASSERT_TRUE(WaitFor([&] { return list.GetItemCount() == 2; })) << list.GetItemCount();
        QTest::qWait(100);
        ASSERT_EQ(list.GetItemCount(), 2);
        EXPECT_EQ(list.GetItemText(0, 0), "02:5C:E1:45:15:00");
        EXPECT_EQ(list.GetItemText(0, 1), "KR85E");
        EXPECT_EQ(list.GetItemText(0, 2), "192.168.7.20");
        EXPECT_EQ(list.GetItemText(1, 0), "02:5C:E1:20:05:00");
        EXPECT_EQ(list.GetItemText(1, 1), "ZV52");
        EXPECT_EQ(list.GetItemText(1, 2), "192.168.7.30");

        dlg.SendCommand(ids::kRefresh);
        EXPECT_EQ(list.GetItemCount(), 0);
        announce();
        ASSERT_TRUE(WaitFor([&] { return list.GetItemCount() == 2; }));
        dlg.Widget()->close();
    });
    const std::string log = ReadLog();
    EXPECT_NE(log.find(" Ver 1.0.7 Start\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" ------------------ Refresh, restart to find ------------------\r\n\r\n"), std::string::npos);
    EXPECT_NE(log.find("Src:02:5C:E1:45:15:00,192.168.7.20:--->Dest:FF:FF:FF:FF:FF:FF,192.168.7.1:--\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("Src:3C:52:82:00:00:01,192.168.7.40:--->"), std::string::npos);
    EXPECT_LT(log.find("Start"), log.find("Refresh"));
}

TEST_F(MainWindow, NoAdapterShowsTheMessageAndStaysReady)
{
    ASSERT_TRUE(g_lab->Run({"link", "set", "vw0", "down"}));
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        EXPECT_EQ(dlg.CaptureState(), 0);
        EXPECT_EQ(dlg.StatusBarControl().PaneText(0), "Ready...");
        EXPECT_EQ(dlg.List(ids::kDeviceList).GetItemCount(), 0);
    });
    ASSERT_TRUE(g_lab->Run({"link", "set", "vw0", "up"}));
    ASSERT_EQ(answerer_.boxes.size(), 1u);
    EXPECT_EQ(answerer_.boxes[0].caption, "Error");
    EXPECT_EQ(answerer_.boxes[0].text,
              "Please check your network devices! If you still can't use Ventis,maybe you uninstalled winpcap "
              "while you were using it.Please install winpcap manually and then restart Ventis");
}

}  // namespace
