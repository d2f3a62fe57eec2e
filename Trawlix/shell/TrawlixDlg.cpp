#include "TrawlixDlg.h"

#include <chrono>
#include <thread>

#include "AboutDlg.h"
#include "Application.h"
#include "DeviceList.h"
#include "FilterDlg.h"
#include "Replay.h"
#include "SelectAdapterDlg.h"
#include "SettingsTexts.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "ShellTexts.h"

using framework::Notification;
using framework::Rect;

namespace {

// The close rule's pause between asking the capture to stop and tearing down.
constexpr auto kCloseWait = std::chrono::milliseconds(380);

}  // namespace

CTrawlixDlg::CTrawlixDlg(framework::Dialog* parent)
    : framework::Dialog(resources::kMainDialog, parent),
      m_mainIcon(ids::kMainIcon),
      m_receiver([this](std::uint32_t message, void* param) {
          SendMessage(message, reinterpret_cast<std::uintptr_t>(param), 0);
      })
{
    framework::CommandTable& t = Commands();
    t.OnCommand(ids::kRefresh, [this] { OnRefresh(); });
    t.OnCommand(ids::kStopScanning, [this] { Stop(); });
    t.OnCommand(ids::kClearRecords, [this] { OnClearRecords(); });
    t.OnCommand(ids::kCopyIpAddress, [this] { OnCopyIpAddress(); });
    t.OnCommand(ids::kFilterSettings, [this] { OnFilterSettings(); });
    t.OnCommand(ids::kAdapterSettings, [this] { OnAdapterSettings(); });
    t.OnCommand(ids::kOpenCaptureFile, [this] { OnOpenCaptureFile(); });
    t.OnMessage(kWmPacketRecord, [this](std::uintptr_t wParam, std::intptr_t) -> long {
        OnPacketRecord(*reinterpret_cast<const PacketRecord*>(wParam));
        return 0;
    });
    t.OnNotify(ids::kDeviceList, framework::kNmRightClick, [this](const Notification& n) -> long {
        OnDeviceListRightClick(n);
        return 0;
    });
    t.OnNotify(ids::kDeviceList, framework::kLvnItemChanged, [](const Notification&) -> long { return 0; });
    t.OnNotify(ids::kSecondList, framework::kLvnItemChanged, [](const Notification&) -> long { return 0; });
}

CTrawlixDlg::~CTrawlixDlg()
{
    // However the window ended, the capture thread ends before the lock,
    // the log or the window it uses go.
    m_capture.StopAndJoin();
}

bool CTrawlixDlg::OnInitDialog()
{
    framework::Dialog::OnInitDialog();
    framework::Application* app = framework::Application::Current();

    // 2. The About item of the system menu.
    if (HasSystemMenu()) {
        const std::string about = app != nullptr ? app->LoadString(ids::kAboutString) : std::string();
        if (!about.empty()) {
            AppendSystemMenuSeparator();
            AppendSystemMenuItem(ids::kSysCommandAbout, about.c_str());
        }
    }
    // 3. Icons.
    SetIcon(m_mainIcon, true);
    SetIcon(m_mainIcon, false);
    // 4. The command menu serves the capture-state display; no menu bar.
    m_commandMenu.Load(app != nullptr ? app->FindMenu(ids::kCommandMenu) : &resources::kCommandMenu);

    // 5. The toolbar along the top, without buttons: there is no toolbar
    // resource to load them from.
    const Rect client = ClientRect();
    m_toolBar.Create(*this, 0, ids::kToolBar);
    m_toolBar.LoadToolBar(ids::kCommandMenu);
    m_toolBar.MoveWindow({client.left, client.top, client.left + client.Width(), client.top + 20});

    // 6. The status bar, 20 px above the bottom with no height, so the note
    // line stays uncovered.
    m_statusBar.Create(*this, 0, ids::kStatusBar);
    m_statusBar.SetPaneCount(2);
    m_statusBar.MoveWindow({client.left, client.bottom - 20, client.left + client.right, client.bottom - 20});
    const auto [pane0, pane1] = StatusPaneWidths(client.Width());
    m_statusBar.SetPaneInfo(0, 0, framework::kSbpsStretch, pane0);
    m_statusBar.SetPaneInfo(1, 0, framework::kSbpsNormal, pane1);
    m_statusBar.SetPaneText(0, "");
    m_statusBar.SetPaneText(1, "");

    // 7, 8. The device list.
    m_deviceList = &List(ids::kDeviceList);
    m_deviceList->SetExtendedStyle(framework::kLvsExGridLines | framework::kLvsExHeaderDragDrop |
                                   framework::kLvsExFullRowSelect);
    m_deviceList->InsertColumn(devices::kColumnMac, texts::kColumnMac, framework::ColumnAlign::Center, 115);
    m_deviceList->InsertColumn(devices::kColumnType, texts::kColumnType, framework::ColumnAlign::Center, 150);
    m_deviceList->InsertColumn(devices::kColumnIp, texts::kColumnIp, framework::ColumnAlign::Center, 108);

    // 9. Ready.
    m_captureState = 0;
    UpdateCaptureStateDisplay();
    // 10, 11. The capture lock, the stop flag and the start event.
    m_captureSignals = std::make_unique<CaptureSignals>();
    // 12. The filter's defaults: every frame passes.
    m_filterSettings = DefaultFilterSettings();
    // 13, 14.
    ShowControl(ids::kSecondList, false);
    m_firstChoice = 1;
    // 15. The event log and its start line.
    m_log.Open();
    // 16. Scanning starts before the window is first shown.
    Start();
    return true;
}

void CTrawlixDlg::Start()
{
    if (m_closed) return;
    m_deviceList->DeleteAllItems();
    m_starting = true;
    const bool started = m_capture.Start(*this);
    m_starting = false;
    if (m_closePending) {
        OnClose();
        return;
    }
    if (started) {
        m_captureState = 1;
        SetControlText(ids::kHiddenEdit1, "");
        SetControlText(ids::kHiddenEdit2, "");
        UpdateCaptureStateDisplay();
    }
}

void CTrawlixDlg::Stop()
{
    if (m_closed) return;
    m_capture.Stop();
    m_captureState = 0;
    UpdateCaptureStateDisplay();
}

void CTrawlixDlg::UpdateCaptureStateDisplay()
{
    if (m_captureState != 0 && m_captureState != 1) {
        framework::MessageBox(this, texts::kBadCaptureState);
        return;
    }
    const bool ready = m_captureState == 0;
    m_commandMenu.EnableItemByPosition(1, 0, ready);   // start capture
    m_commandMenu.EnableItemByPosition(1, 1, !ready);  // stop capture
    m_commandMenu.EnableItemByPosition(2, 0, ready);   // filter settings
    m_commandMenu.EnableItemByPosition(2, 1, ready);   // adapter settings
    m_toolBar.EnableButton(ids::kRefresh, ready);
    m_toolBar.EnableButton(ids::kStopScanning, !ready);
    m_toolBar.EnableButton(ids::kFilterSettings, ready);
    m_toolBar.EnableButton(ids::kAdapterSettings, ready);
    m_statusBar.SetPaneText(0, ready ? texts::kStateReady : texts::kStateCapturing);
}

void CTrawlixDlg::OnRefresh()
{
    WriteLog(texts::kRefreshSeparator);
    Start();
}

void CTrawlixDlg::OnClose()
{
    if (m_closed) return;
    if (m_starting) {
        m_closePending = true;
        return;
    }
    m_closed = true;
    m_captureSignals->WriteStopFlag(1);
    m_captureState = 0;
    UpdateCaptureStateDisplay();
    std::this_thread::sleep_for(kCloseWait);
    // The thread may still be finishing a read or a hand-off; it ends here,
    // before the lock and the log it uses are gone.
    m_capture.StopAndJoin();
    m_captureSignals.reset();
    m_log.Close();
    framework::Dialog::OnClose();
}

void CTrawlixDlg::OnSysCommand(int command, long param)
{
    if ((command & 0xFFF0) == ids::kSysCommandAbout) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    framework::Dialog::OnSysCommand(command, param);
}

void CTrawlixDlg::OnPaintMinimized()
{
    SendMessage(0x27, 0, 0);  // the background of the minimised window
    const framework::Point at =
        framework::CenteredIconPosition(ClientRect(), framework::kSystemIconWidth, framework::kSystemIconHeight);
    DrawIcon(m_mainIcon, at);
}

void CTrawlixDlg::OnPacketRecord(const PacketRecord& record)
{
    devices::AddDeviceRow(*m_deviceList, record);
}

void CTrawlixDlg::OnClearRecords()
{
    m_deviceList->DeleteAllItems();
    SetControlText(ids::kHiddenEdit1, "");
    SetControlText(ids::kHiddenEdit2, "");
}

void CTrawlixDlg::OnCopyIpAddress()
{
    devices::CopySelectedIpAddress(*m_deviceList, *this);
}

void CTrawlixDlg::OnDeviceListRightClick(const Notification& n)
{
    if (n.item < 0) return;
    framework::Menu menu;
    framework::Application* app = framework::Application::Current();
    menu.Load(app != nullptr ? app->FindMenu(ids::kCommandMenu) : &resources::kCommandMenu);
    framework::TrackPopupMenu(menu, 0, CurrentMessagePos(), *this);
}

void CTrawlixDlg::HandOff(PacketRecord& record)
{
    m_receiver.SendTimeout(kWmPacketRecord, &record, std::chrono::milliseconds(kHandOffLimitMs));
}

void CTrawlixDlg::ShowMessageBox(const char* text, const char* caption)
{
    framework::MessageBox(nullptr, text, caption);
}

void CTrawlixDlg::OnOpenCaptureFile()
{
    m_deviceList->DeleteAllItems();
    const framework::FileFilter filters[] = {{texts::kCapFilter, "*.CAP"}, {texts::kAllFilter, "*.*"}};
    const std::string path = framework::OpenFileDialog(this, texts::kCaptureFileName, filters);
    // A cancelled dialog gives no path, which cannot be opened either.
    if (!settings::ReplayCaptureFile(path.c_str(), *m_deviceList)) {
        framework::MessageBox(this, texts::kCannotOpenRecordFile);
    }
}

void CTrawlixDlg::OnAdapterSettings()
{
    std::string choice;
    CSelectAdapterDlg dlg(this);
    dlg.SetChoiceTarget(&choice);
    dlg.DoModal();  // a cancelled dialog leaves the choice empty, applied all the same
    m_adapterSlots.Set(0, choice.c_str());
    if (m_firstChoice != 0) {
        m_previousAdapterChoice = choice;
        m_firstChoice = 0;
    }
    if (m_previousAdapterChoice != m_adapterSlots.Name(0)) Stop();
    m_previousAdapterChoice = choice;
}

void CTrawlixDlg::OnFilterSettings()
{
    FilterSettings working = m_filterSettings;
    CFilterDlg dlg(this, working);
    if (dlg.DoModal() == framework::kIdOk) m_filterSettings = working;
}
