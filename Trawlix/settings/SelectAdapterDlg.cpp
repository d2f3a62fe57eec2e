#include "SelectAdapterDlg.h"

#include "Application.h"
#include "SettingsTemplates.h"
#include "SettingsTexts.h"

using namespace settings;

CSelectAdapterDlg::CSelectAdapterDlg(framework::Dialog* parent) : framework::Dialog(kAdapterDialog, parent)
{
    Commands().OnCommand(kAdapterOk, [this] { OnAdapterOk(); });
    Commands().OnCommand(kAdapterCheck, [] {});
}

bool CSelectAdapterDlg::OnInitDialog()
{
    framework::Dialog::OnInitDialog();
    if (!m_adapters.Enumerate()) framework::MessageBox(this, texts::kNoAdapterList);
    for (std::size_t i = 0; i < m_adapters.Count(); ++i) {
        AddComboString(kAdapterList, m_adapters.Description(i).c_str());
    }
    SetComboSelection(kAdapterList, -1);  // nothing preselected
    return true;
}

void CSelectAdapterDlg::OnAdapterOk()
{
    const int selected = ComboSelection(kAdapterList);
    if (selected < 0) return;
    const std::string choice = AdapterNameForShownText(ComboString(kAdapterList, selected), m_adapters);
    if (m_choice != nullptr) *m_choice = choice;
    m_adapters.Release();
    EndDialog(framework::kIdOk);
}
