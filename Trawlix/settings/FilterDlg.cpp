#include "FilterDlg.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "Application.h"
#include "SettingsTemplates.h"
#include "SettingsTexts.h"

using namespace settings;

namespace {

template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text)
{
    std::strncpy(field, text.c_str(), N - 1);
    field[N - 1] = '\0';
}

}  // namespace

bool IsAcceptablePort(const char* text)
{
    return std::strlen(text) <= 5 && std::strtol(text, nullptr, 10) <= 65535;
}

CFilterDlg::CFilterDlg(framework::Dialog* parent, FilterSettings& working)
    : framework::Dialog(kFilterDialog, parent), m_working(working)
{
    // Each radio button writes its flag at once and only enables or
    // disables what belongs to it.
    struct RadioRule {
        int button;
        std::uint8_t FilterSettings::*flag;
        bool set;
        int controls[4];  // 0: none
    };
    static constexpr RadioRule kRules[] = {
        {kAllProtocolsYes, &FilterSettings::AllProtocols, true, {kArpBox, kIcmpBox, kUdpBox, kTcpBox}},
        {kAllProtocolsNo, &FilterSettings::AllProtocols, false, {kArpBox, kIcmpBox, kUdpBox, kTcpBox}},
        {kAllIpYes, &FilterSettings::AllIp, true, {kQualifiedIp}},
        {kAllIpNo, &FilterSettings::AllIp, false, {kQualifiedIp}},
        {kAllPortsYes, &FilterSettings::AllPorts, true, {kQualifiedPort}},
        {kAllPortsNo, &FilterSettings::AllPorts, false, {kQualifiedPort}},
    };
    for (const RadioRule& rule : kRules) {
        Commands().OnCommand(rule.button, [this, &rule] {
            m_working.*rule.flag = rule.set ? 1 : 0;
            for (int id : rule.controls) {
                if (id != 0) EnableControl(id, !rule.set);  // "Yes" disables what it makes moot
            }
        });
    }
}

void CFilterDlg::EnableProtocolBoxes(bool enable)
{
    for (int id : {kArpBox, kIcmpBox, kUdpBox, kTcpBox}) EnableControl(id, enable);
}

bool CFilterDlg::OnInitDialog()
{
    framework::Dialog::OnInitDialog();
    if (m_working.AllProtocols != 0) {
        SetCheck(kAllProtocolsYes, true);
        EnableProtocolBoxes(false);  // unchecked, whatever the flags hold
    } else {
        SetCheck(kAllProtocolsNo, true);
        SetCheck(kArpBox, m_working.Arp != 0);
        SetCheck(kIcmpBox, m_working.Icmp != 0);
        SetCheck(kUdpBox, m_working.Udp != 0);
        SetCheck(kTcpBox, m_working.Tcp != 0);
    }
    if (m_working.AllIp != 0) {
        SetCheck(kAllIpYes, true);
        EnableControl(kQualifiedIp, false);
    } else {
        SetCheck(kAllIpNo, true);
        SetAddressText(kQualifiedIp, m_working.QualifiedIp);
    }
    if (m_working.AllPorts != 0) {
        SetCheck(kAllPortsYes, true);
        EnableControl(kQualifiedPort, false);
    } else {
        SetCheck(kAllPortsNo, true);
        SetControlText(kQualifiedPort, m_working.QualifiedPort);
    }
    return true;
}

void CFilterDlg::OnOK()
{
    if (IsChecked(kAllProtocolsYes)) {
        m_working.AllProtocols = 1;
    } else {
        m_working.AllProtocols = 0;
        m_working.Arp = IsChecked(kArpBox) ? 1 : 0;
        m_working.Icmp = IsChecked(kIcmpBox) ? 1 : 0;
        m_working.Udp = IsChecked(kUdpBox) ? 1 : 0;
        m_working.Tcp = IsChecked(kTcpBox) ? 1 : 0;
    }
    if (IsChecked(kAllIpYes)) {
        m_working.AllIp = 1;
    } else {
        m_working.AllIp = 0;
        CopyText(m_working.QualifiedIp, AddressText(kQualifiedIp));
    }
    if (IsChecked(kAllPortsYes)) {
        m_working.AllPorts = 1;
        framework::Dialog::OnOK();
        return;
    }
    m_working.AllPorts = 0;
    const std::string port = ControlText(kQualifiedPort);
    if (!IsAcceptablePort(port.c_str())) {
        framework::MessageBox(this, texts::kPortError);
        return;
    }
    CopyText(m_working.QualifiedPort, port);
    framework::Dialog::OnOK();
}
