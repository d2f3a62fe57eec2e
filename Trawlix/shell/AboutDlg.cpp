#include "AboutDlg.h"

#include "Resources.h"

CAboutDlg::CAboutDlg() : framework::Dialog(resources::kAboutDialog) {}
