// The application object: runs the main window as a modal dialog and ends
// with it.
#pragma once

#include "Application.h"

class CTrawlixApp : public framework::Application {
public:
    CTrawlixApp(int& argc, char** argv);

protected:
    bool InitInstance() override;
};
