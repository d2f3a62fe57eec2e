// The About box: the version and the publisher's notice.
#pragma once

#include "Dialog.h"

class CAboutDlg : public framework::Dialog {
public:
    CAboutDlg();
};
