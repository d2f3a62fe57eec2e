// Replay, the adapter dialog and the filter dialog, issued through the main
// window's command table as the window would, with their dialogs answered
// by a timer.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include <cstring>
#include <string>

#include "FilterDlg.h"
#include "ResourceIds.h"
#include "SelectAdapterDlg.h"
#include "SettingsTemplates.h"
#include "TrawlixDlg.h"
#include "WindowTesting.h"

namespace {

using namespace window_testing;

const std::string kData = VENTIS_TEST_DATA;

class SettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (g_lab == nullptr) GTEST_SKIP() << g_labProblem;
    }

    // The next file dialog chooses `path`, or is cancelled when it is empty.
    void ChooseFile(const std::string& path)
    {
        QTimer::singleShot(50, [path] {
            for (int i = 0; i < 100; ++i) {
                if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                    if (path.empty()) {
                        d->reject();
                    } else {
                        // Typed into the file-name box, as a user would.
                        auto* name = d->findChild<QLineEdit*>("fileNameEdit");
                        name->setText(QString::fromStdString(path));
                        QTest::keyClick(name, Qt::Key_Return);
                    }
                    return;
                }
                QTest::qWait(20);
            }
        });
    }

    // Rows of the list, each as its three cells joined by '|'.
    static std::vector<std::string> Rows(CTrawlixDlg& dlg)
    {
        framework::ListControl& list = dlg.List(ids::kDeviceList);
        std::vector<std::string> rows;
        for (int r = 0; r < list.GetItemCount(); ++r) {
            rows.push_back(list.GetItemText(r, 0) + "|" + list.GetItemText(r, 1) + "|" + list.GetItemText(r, 2));
        }
        return rows;
    }

    BoxAnswerer answerer_;
};

TEST_F(SettingsTest, ReplayListsEveryFrameOfTheFile)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        ChooseFile(kData + "/three-frames.pcap");
        dlg.SendCommand(ids::kOpenCaptureFile);
        EXPECT_EQ(Rows(dlg), (std::vector<std::string>{"0|ARP|192.168.1.20", "1|TCP|192.168.1.30",
                                                       "2|Unknown Ethernet|----------"}));

        ChooseFile(kData + "/classes.pcap");
        dlg.SendCommand(ids::kOpenCaptureFile);
        const std::vector<std::string> rows = Rows(dlg);
        ASSERT_EQ(rows.size(), 16u);               // repeats from one sender: a row each
        EXPECT_EQ(rows[0], "0|ARP|192.168.1.20");
        EXPECT_EQ(rows[1], "1|ARP|192.168.1.20");
        EXPECT_EQ(rows[6], "6|unknown IP package|----------");
        EXPECT_EQ(rows[12], "12|ARP|192.168.1.1");  // not the maker's

        ChooseFile(kData + "/truncated.pcap");    // the rows before the cut stay
        dlg.SendCommand(ids::kOpenCaptureFile);
        EXPECT_EQ(Rows(dlg).size(), 2u);

        ChooseFile(kData + "/empty.pcap");
        dlg.SendCommand(ids::kOpenCaptureFile);
        EXPECT_TRUE(Rows(dlg).empty());
    });
    EXPECT_TRUE(answerer_.boxes.empty());
}

TEST_F(SettingsTest, ReplayOfNothingEmptiesTheListAndSaysSo)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        dlg.List(ids::kDeviceList).InsertItem(0, "old");
        ChooseFile("");
        dlg.SendCommand(ids::kOpenCaptureFile);
        EXPECT_TRUE(Rows(dlg).empty());
        ChooseFile(kData + "/TESTLIST");  // not a capture file
        dlg.SendCommand(ids::kOpenCaptureFile);
    });
    ASSERT_EQ(answerer_.boxes.size(), 2u);
    for (const auto& box : answerer_.boxes) {
        EXPECT_EQ(box.text, "Cannot open a record file");
        EXPECT_EQ(box.caption, "settings_dialogs_test");
    }
}

TEST_F(SettingsTest, ReplayDuringARunKeepsTheRunsSeenDevices)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        ASSERT_EQ(dlg.CaptureState(), 1);
        framework::ListControl& list = dlg.List(ids::kDeviceList);
        g_lab->Inject("vw0", ArpFrame(MakerMac(0x451500), "192.168.7.20", "192.168.7.1"));
        ASSERT_TRUE(WaitFor([&] { return list.GetItemCount() == 1; }));

        ChooseFile(kData + "/three-frames.pcap");
        dlg.SendCommand(ids::kOpenCaptureFile);
        ASSERT_EQ(list.GetItemCount(), 3);
        // Already reported in this run: not again. A new device: listed at
        // the position its ID gives, among the replay's rows.
        g_lab->Inject("vw0", ArpFrame(MakerMac(0x451500), "192.168.7.20", "192.168.7.1"));
        g_lab->Inject("vw0", ArpFrame(MakerMac(0x200500), "192.168.7.21", "192.168.7.1"));
        ASSERT_TRUE(WaitFor([&] { return list.GetItemCount() == 4; }));
        QTest::qWait(100);
        EXPECT_EQ(list.GetItemCount(), 4);
        EXPECT_EQ(list.GetItemText(2, 0), "02:5C:E1:20:05:00");  // ID 3, after two replay rows
        EXPECT_EQ(list.GetItemText(2, 2), "192.168.7.21");
    });
}

// Drives the filter dialog: `edit` sets its controls, then OK is clicked;
// when a "Port error" follows, Cancel ends it.
void AnswerFilterDialog(BoxAnswerer& answerer, std::function<void(framework::DialogWidget&)> edit)
{
    answerer.OnDialog("Filter settings", [edit](framework::DialogWidget& d) {
        edit(d);
        dynamic_cast<QPushButton*>(d.Control(framework::kIdOk))->click();
        if (d.owner.IsRunning()) dynamic_cast<QPushButton*>(d.Control(framework::kIdCancel))->click();
    });
}

void Click(framework::DialogWidget& d, int id)
{
    dynamic_cast<QAbstractButton*>(d.Control(id))->click();
}

TEST_F(SettingsTest, FilterDialogPortCheck)
{
    const struct {
        const char* port;
        bool accepted;
    } cases[] = {{"65535", true}, {"0", true}, {"", true}, {"00080", true}, {"65536", false}, {"123456", false}};
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        dlg.SendCommand(ids::kStopScanning);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.port);
            const FilterSettings before = dlg.CurrentFilter();
            answerer_.boxes.clear();
            AnswerFilterDialog(answerer_, [&](framework::DialogWidget& d) {
                Click(d, settings::kAllPortsNo);
                dynamic_cast<QLineEdit*>(d.Control(settings::kQualifiedPort))->setText(c.port);
            });
            dlg.SendCommand(ids::kFilterSettings);
            const FilterSettings& after = dlg.CurrentFilter();
            if (c.accepted) {
                EXPECT_TRUE(answerer_.boxes.empty());
                EXPECT_EQ(after.AllPorts, 0);
                EXPECT_STREQ(after.QualifiedPort, c.port);  // as written, leading zeros too
            } else {
                ASSERT_EQ(answerer_.boxes.size(), 1u);
                EXPECT_EQ(answerer_.boxes[0].text, "Port error");
                EXPECT_EQ(std::memcmp(&after, &before, sizeof before), 0);  // Cancel after the error
            }
        }
    });
}

TEST_F(SettingsTest, FilterDialogKeepsStoredFlagsWhileYesIsChosen)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        // "No" with TCP, then "Yes": TCP stays stored.
        AnswerFilterDialog(answerer_, [](framework::DialogWidget& d) {
            Click(d, settings::kAllProtocolsNo);
            Click(d, settings::kTcpBox);
            Click(d, settings::kAllIpNo);
            d.owner.SetAddressText(settings::kQualifiedIp, "10.0.0.7");
        });
        dlg.SendCommand(ids::kFilterSettings);
        EXPECT_EQ(dlg.CurrentFilter().AllProtocols, 0);
        EXPECT_EQ(dlg.CurrentFilter().Tcp, 1);
        EXPECT_STREQ(dlg.CurrentFilter().QualifiedIp, "10.0.0.7");
        AnswerFilterDialog(answerer_, [](framework::DialogWidget& d) {
            Click(d, settings::kAllProtocolsYes);
            Click(d, settings::kAllIpYes);
        });
        dlg.SendCommand(ids::kFilterSettings);
        EXPECT_EQ(dlg.CurrentFilter().AllProtocols, 1);
        EXPECT_EQ(dlg.CurrentFilter().Tcp, 1);
        EXPECT_EQ(dlg.CurrentFilter().AllIp, 1);
        EXPECT_STREQ(dlg.CurrentFilter().QualifiedIp, "10.0.0.7");

        // Reopened: "Yes" with four unchecked, disabled boxes, a blank and
        // disabled address; "No" and OK clear the flags and store the blank.
        bool shown = false;
        AnswerFilterDialog(answerer_, [&](framework::DialogWidget& d) {
            shown = true;
            EXPECT_TRUE(d.owner.IsChecked(settings::kAllProtocolsYes));
            for (int box : {settings::kArpBox, settings::kIcmpBox, settings::kUdpBox, settings::kTcpBox}) {
                EXPECT_FALSE(d.owner.IsChecked(box));
                EXPECT_FALSE(d.owner.IsControlEnabled(box));
            }
            EXPECT_TRUE(d.owner.IsAddressBlank(settings::kQualifiedIp));
            EXPECT_FALSE(d.owner.IsControlEnabled(settings::kQualifiedIp));
            Click(d, settings::kAllProtocolsNo);
            Click(d, settings::kAllIpNo);
        });
        dlg.SendCommand(ids::kFilterSettings);
        EXPECT_TRUE(shown);
        const FilterSettings& f = dlg.CurrentFilter();
        EXPECT_EQ(f.AllProtocols, 0);
        EXPECT_EQ(f.Arp + f.Icmp + f.Udp + f.Tcp, 0);
        EXPECT_STREQ(f.QualifiedIp, "");
    });
}

TEST_F(SettingsTest, FilterDialogCancelChangesNothing)
{
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        const FilterSettings before = dlg.CurrentFilter();
        answerer_.OnDialog("Filter settings", [](framework::DialogWidget& d) {
            Click(d, settings::kAllProtocolsNo);
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        dlg.SendCommand(ids::kFilterSettings);
        EXPECT_EQ(std::memcmp(&dlg.CurrentFilter(), &before, sizeof before), 0);
    });
}

TEST(PortCheck, StrtolReading)
{
    const struct {
        const char* text;
        bool ok;
    } cases[] = {{"65535", true}, {"65536", false}, {"", true}, {"00080", true}, {"123456", false},
                 {"99999", false}, {"1a", true}, {"-1", true}};
    for (const auto& c : cases) EXPECT_EQ(IsAcceptablePort(c.text), c.ok) << c.text;
}

TEST(AdapterLookup, TheLastAdapterWithTheShownTextWins)
{
    struct Adapters {
        std::vector<std::string> names, descriptions;
        std::size_t Count() const { return names.size(); }
        const char* Name(std::size_t i) const { return names[i].c_str(); }
        const std::string& Description(std::size_t i) const { return descriptions[i]; }
    } adapters{{"eth0", "eth1", "eth2"}, {"Office LAN", "Lab", "Office LAN"}};
    EXPECT_EQ(AdapterNameForShownText("Office LAN", adapters), "eth2");
    EXPECT_EQ(AdapterNameForShownText("Lab", adapters), "eth1");
    EXPECT_EQ(AdapterNameForShownText("lab", adapters), "lab");  // exact, case-sensitive
}

// Drives the adapter dialog: picks the entry beginning with `name`, or
// cancels when it is empty.
void AnswerAdapterDialog(BoxAnswerer& answerer, const std::string& name, std::vector<std::string>* shown = nullptr)
{
    answerer.OnDialog("Please select a network adapter", [name, shown](framework::DialogWidget& d) {
        auto* combo = dynamic_cast<QComboBox*>(d.Control(settings::kAdapterList));
        if (shown != nullptr) {
            for (int i = 0; i < combo->count(); ++i) shown->push_back(combo->itemText(i).toStdString());
        }
        EXPECT_EQ(combo->currentIndex(), -1);  // nothing preselected
        if (name.empty()) {
            QTest::keyClick(&d, Qt::Key_Escape);
            return;
        }
        for (int i = 0; i < combo->count(); ++i) {
            if (combo->itemText(i).toStdString().rfind(name, 0) == 0) combo->setCurrentIndex(i);
        }
        dynamic_cast<QPushButton*>(d.Control(settings::kAdapterOk))->click();
    });
}

TEST_F(SettingsTest, AdapterChoiceStopsOnlyWhenItChanges)
{
    ASSERT_TRUE(g_lab->AddVeth("vw1"));
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        ASSERT_EQ(dlg.CaptureState(), 1);
        // The first use stops nothing, even cancelled.
        std::vector<std::string> shown;
        AnswerAdapterDialog(answerer_, "", &shown);
        dlg.SendCommand(ids::kAdapterSettings);
        EXPECT_EQ(shown, (std::vector<std::string>{"vw0", "vw1"}));  // sorted, by name
        EXPECT_STREQ(dlg.Slots().Name(0), "");
        EXPECT_EQ(dlg.CaptureState(), 1);

        const struct {
            const char* pick;
            bool stops;
        } steps[] = {{"vw1", true}, {"vw1", false}, {"vw0", true}, {"", true}};
        for (const auto& step : steps) {
            SCOPED_TRACE(step.pick);
            dlg.SendCommand(ids::kRefresh);
            ASSERT_EQ(dlg.CaptureState(), 1);
            AnswerAdapterDialog(answerer_, step.pick);
            dlg.SendCommand(ids::kAdapterSettings);
            EXPECT_STREQ(dlg.Slots().Name(0), step.pick);
            EXPECT_EQ(dlg.PreviousAdapterChoice(), step.pick);
            EXPECT_EQ(dlg.CaptureState(), step.stops ? 0 : 1);
        }
        // The next start fills slot 0 from the enumeration again.
        AnswerAdapterDialog(answerer_, "vw1");
        dlg.SendCommand(ids::kAdapterSettings);
        dlg.SendCommand(ids::kRefresh);
        EXPECT_STREQ(dlg.Slots().Name(0), "vw0");
        EXPECT_STREQ(dlg.Slots().Name(1), "vw1");
        EXPECT_EQ(dlg.CaptureState(), 1);
    });
    ASSERT_TRUE(g_lab->Run({"link", "del", "vw1"}));
}

TEST_F(SettingsTest, AdapterDialogWithoutAdaptersHasNothingToChoose)
{
    ASSERT_TRUE(g_lab->Run({"link", "set", "vw0", "down"}));
    CTrawlixDlg dlg;
    RunWindow(dlg, [&] {
        std::vector<std::string> shown;
        answerer_.OnDialog("Please select a network adapter", [&](framework::DialogWidget& d) {
            auto* combo = dynamic_cast<QComboBox*>(d.Control(settings::kAdapterList));
            for (int i = 0; i < combo->count(); ++i) shown.push_back(combo->itemText(i).toStdString());
            dynamic_cast<QPushButton*>(d.Control(settings::kAdapterOk))->click();
            EXPECT_TRUE(d.owner.IsRunning());  // OK with no entry: the dialog stays
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        dlg.SendCommand(ids::kAdapterSettings);
        EXPECT_TRUE(shown.empty());
    });
    ASSERT_TRUE(g_lab->Run({"link", "set", "vw0", "up"}));
}

}  // namespace
