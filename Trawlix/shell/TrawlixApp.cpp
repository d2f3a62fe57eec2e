#include "TrawlixApp.h"

#include "ResourceIds.h"
#include "Resources.h"
#include "TrawlixDlg.h"

CTrawlixApp::CTrawlixApp(int& argc, char** argv) : framework::Application(argc, argv)
{
    SetResources(resources::All());
    SetVersion(resources::kProductName, resources::kVersion);
    Commands().OnCommand(ids::kHelp, [this] { OnHelp(); });
}

bool CTrawlixApp::InitInstance()
{
    InitCommonControls();
    CTrawlixDlg dlg;
    SetMainWindow(&dlg);
    dlg.DoModal();
    SetMainWindow(nullptr);
    return false;
}
