// The main window: the device list, the Refresh button and the note line.
// It holds the capture control and serves as the capture thread's host.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "Bars.h"
#include "CaptureHost.h"
#include "CaptureRunner.h"
#include "Dialog.h"
#include "EventLog.h"
#include "FilterSettings.h"
#include "ListControl.h"
#include "Menu.h"
#include "TimedSend.h"

// The status bar's panes: a fifth of the client width, stretching, and the
// other four fifths.
inline std::pair<int, int> StatusPaneWidths(int clientWidth)
{
    return {clientWidth / 5, clientWidth * 4 / 5};
}

class CTrawlixDlg : public framework::Dialog, private CaptureHost {
public:
    explicit CTrawlixDlg(framework::Dialog* parent = nullptr);
    ~CTrawlixDlg() override;

    // Capture control, on the window's thread.
    void Start();
    void Stop();
    void UpdateCaptureStateDisplay();

    // For the window's own operations and their tests.
    int CaptureState() const { return m_captureState; }
    void SetCaptureState(int state) { m_captureState = state; }
    const framework::Menu& CommandMenu() const { return m_commandMenu; }
    const framework::ToolBar& ToolBarControl() const { return m_toolBar; }
    const framework::StatusBar& StatusBarControl() const { return m_statusBar; }
    const EventLog& Log() const { return m_log; }
    bool HasCaptureLock() const { return m_captureSignals != nullptr; }
    const FilterSettings& CurrentFilter() const { return m_filterSettings; }
    bool CaptureThreadRunning() const { return m_capture.IsRunning(); }
    const AdapterSlotTable& Slots() const { return m_adapterSlots; }
    const std::string& PreviousAdapterChoice() const { return m_previousAdapterChoice; }

protected:
    bool OnInitDialog() override;
    void OnOK() override {}  // Enter does nothing here
    void OnClose() override;
    void OnSysCommand(int command, long param) override;
    void OnPaintMinimized() override;

private:
    // Command and message handlers.
    void OnRefresh();
    void OnPacketRecord(const PacketRecord& record);
    void OnClearRecords();
    void OnCopyIpAddress();
    void OnDeviceListRightClick(const framework::Notification& n);
    void OnOpenCaptureFile();
    void OnAdapterSettings();
    void OnFilterSettings();

    // CaptureHost: what the capture thread uses.
    AdapterSlotTable& AdapterSlots() override { return m_adapterSlots; }
    const FilterSettings& Filter() override { return m_filterSettings; }
    CaptureSignals& Signals() override { return *m_captureSignals; }
    void WriteLog(const char* text) override { m_log.WriteLog(text); }
    void HandOff(PacketRecord& record) override;
    void RefuseHandOffs(bool refuse) override { m_receiver.RefuseSends(refuse); }
    void ShowMessageBox(const char* text, const char* caption) override;

    // Members, in the order the window has always kept them.
    int m_mainIcon;
    framework::ListControl* m_deviceList = nullptr;
    framework::ToolBar m_toolBar;
    framework::StatusBar m_statusBar;
    int m_captureState = 0;
    framework::Menu m_commandMenu;
    int m_firstChoice = 0;
    AdapterSlotTable m_adapterSlots;
    EventLog m_log;  // the log path and the log stream
    std::string m_previousAdapterChoice;
    std::unique_ptr<CaptureSignals> m_captureSignals;  // capture lock, stop flag, start event
    FilterSettings m_filterSettings{};

    // A close request while Start waits (its message box is up, and the
    // thread waits for that box) is carried out once the start is decided;
    // after the close rule nothing starts or stops any more.
    bool m_starting = false;
    bool m_closePending = false;
    bool m_closed = false;

    framework::MessageReceiver m_receiver;
    CaptureRunner m_capture;  // declared last: its thread ends before anything it uses
};
