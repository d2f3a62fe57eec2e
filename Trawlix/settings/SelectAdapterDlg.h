// The adapter dialog: one adapter chosen by what the user recognises it by.
#pragma once

#include <string>

#include "AdapterIo.h"
#include "Dialog.h"

// The system name behind a shown text: the last adapter in enumeration
// order shown with exactly this text, or the text itself when none is.
// Adapters: anything with Count, Name and Description, as AdapterList.
template <typename Adapters>
std::string AdapterNameForShownText(const std::string& shown, const Adapters& adapters)
{
    std::string name = shown;
    for (std::size_t i = 0; i < adapters.Count(); ++i) {
        if (adapters.Description(i) == shown) name = adapters.Name(i);
    }
    return name;
}

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
