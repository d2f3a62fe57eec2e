// The application object: owns the toolkit, knows the program's name and
// resources, and runs the program's start-up routine.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "Commands.h"
#include "Templates.h"

namespace framework {

class Dialog;

struct StringResource {
    int id;
    const char* text;
};

struct IconResource {
    int id;
    const char* path;  // a file, or a ":/" path among the embedded resources
};

// What the program carries: strings, icons and menus by number.
struct Resources {
    std::span<const StringResource> strings;
    std::span<const IconResource> icons;
    std::span<const MenuTemplate* const> menus;
};

inline constexpr int kIdHelp = 57670;
// Help topics of dialogs are this base plus the dialog's template number.
inline constexpr unsigned kHelpDialogBase = 0x20000;

class Application {
public:
    // Sets up the toolkit; the name is the executable's file name without
    // its extension.
    Application(int& argc, char** argv);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    virtual ~Application();

    static Application* Current();

    // Runs InitInstance; the process's exit code.
    int Run();

    const std::string& AppName() const { return appName_; }
    const std::string& ExePath() const { return exePath_; }
    const std::string& ProductName() const { return productName_; }

    void SetResources(const Resources& resources) { resources_ = resources; }
    // The product name and version the program reports about itself.
    void SetVersion(const char* productName, const char* version);
    // Empty when the string does not exist.
    std::string LoadString(int id) const;
    const char* IconPath(int id) const;
    const MenuTemplate* FindMenu(int id) const;

    // Commands no window handled come here.
    CommandTable& Commands() { return commands_; }

    Dialog* MainWindow() const { return mainWindow_; }
    void SetMainWindow(Dialog* window) { mainWindow_ = window; }

    // The standard help of a dialog: asks the help viewer for the dialog's
    // topic in the help file named after the executable, and says so when
    // no viewer can be started.
    void OnHelp();
    // Asks the help viewer for a topic; false when none could be started.
    virtual bool WinHelp(const std::string& helpFile, unsigned topic);

    // The common-controls step of start-up. Nothing to do on this toolkit,
    // whose controls are always there.
    static void InitCommonControls() {}

protected:
    virtual bool InitInstance() = 0;

private:
    struct Toolkit;
    std::unique_ptr<Toolkit> toolkit_;
    std::string appName_;
    std::string exePath_;
    std::string productName_;
    Resources resources_;
    CommandTable commands_;
    Dialog* mainWindow_ = nullptr;
};

// A modal message box with an OK button only. Without a caption it carries
// the application's name; without an owner it stands alone.
void MessageBox(Dialog* owner, const char* text, const char* caption = nullptr);

// The clipboard as plain 8-bit text. False when it could not be opened.
bool SetClipboardText(Dialog* owner, const char* text);
std::string ClipboardText();

// The application name as message boxes show it: the file name without its
// extension ("temp_Ventis.exe" gives "temp_Ventis").
std::string NameWithoutExtension(const std::string& path);

inline constexpr char kFailedToLaunchHelp[] = "Failed to launch help.";

}  // namespace framework

namespace framework {

struct FileFilter {
    const char* caption;   // shown as it stands, e.g. "CAP File(*.CAP)"
    const char* pattern;   // e.g. "*.CAP"; "*.*" shows every file
};

// The standard open-file dialog, modal, owned by the window: starts with the
// given text in its file-name box. Returns the full path of the chosen file,
// or the empty text when it was cancelled. The read-only box is hidden and
// no default extension is appended.
std::string OpenFileDialog(Dialog* owner, const char* initialName, std::span<const FileFilter> filters);

}  // namespace framework
