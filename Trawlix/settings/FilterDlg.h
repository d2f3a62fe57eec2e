// The filter dialog: edits a working copy of the filter settings.
#pragma once

#include "Dialog.h"
#include "FilterSettings.h"

class CFilterDlg : public framework::Dialog {
public:
    // The dialog edits `working` only; the caller copies it back on OK.
    CFilterDlg(framework::Dialog* parent, FilterSettings& working);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void EnableProtocolBoxes(bool enable);
    FilterSettings& m_working;
};

// The port check of the OK button: at most five characters, and no value
// above 65535 as strtol reads it. An empty text passes.
bool IsAcceptablePort(const char* text);
