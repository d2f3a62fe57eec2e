// The adapter dialog: one adapter chosen by what the user recognises it by.
#pragma once

#include <string>

#include "AdapterIo.h"
#include "Dialog.h"

class CSelectAdapterDlg : public framework::Dialog {
public:
    explicit CSelectAdapterDlg(framework::Dialog* parent);
    // Where the OK button puts the chosen adapter's system name.
    void SetChoiceTarget(std::string* choice) { m_choice = choice; }

protected:
    bool OnInitDialog() override;

private:
    void OnAdapterOk();

    AdapterList m_adapters;
    std::string* m_choice = nullptr;
};
