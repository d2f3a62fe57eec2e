#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "Application.h"
#include "Dialog.h"
#include "QtWidgets.h"

namespace framework {

namespace {

Application* g_current = nullptr;
int g_signalPipe[2] = {-1, -1};

void OnTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(g_signalPipe[1], &byte, 1);
}

}  // namespace

// A termination signal (a logout, kill, Ctrl+C) becomes a close request to
// the main window, so that its close rule runs and the log keeps what its
// buffer held, as when the user closes the window.
struct Application::Toolkit {
    Toolkit(int& argc, char** argv) : app(argc, argv)
    {
        if (g_signalPipe[0] < 0 && pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
        notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [] {
            char buffer[16];
            while (read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
            }
            Application* current = Application::Current();
            Dialog* window = current != nullptr ? current->MainWindow() : nullptr;
            if (window != nullptr && window->IsRunning()) window->SendSysCommand(kScClose);
        });
        struct sigaction action{};
        action.sa_handler = OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
    }
    QApplication app;
    std::unique_ptr<QSocketNotifier> notifier;
};

std::string NameWithoutExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot != 0) name.erase(dot);
    return name;
}

Application::Application(int& argc, char** argv) : toolkit_(std::make_unique<Toolkit>(argc, argv))
{
    g_current = this;
    exePath_ = QCoreApplication::applicationFilePath().toStdString();
    if (exePath_.empty() && argc > 0) exePath_ = argv[0];
    appName_ = NameWithoutExtension(exePath_);
    QApplication::setApplicationName(QString::fromStdString(appName_));
    // Dialogs end the program, not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
}

Application::~Application()
{
    if (g_current == this) g_current = nullptr;
}

Application* Application::Current()
{
    return g_current;
}

int Application::Run()
{
    InitInstance();
    return 0;
}

void Application::SetVersion(const char* productName, const char* version)
{
    // Not the display name: that would be added to every window's caption.
    productName_ = productName;
    QApplication::setApplicationVersion(QString::fromUtf8(version));
}

std::string Application::LoadString(int id) const
{
    for (const StringResource& s : resources_.strings) {
        if (s.id == id) return s.text;
    }
    return {};
}

const char* Application::IconPath(int id) const
{
    for (const IconResource& i : resources_.icons) {
        if (i.id == id) return i.path;
    }
    return nullptr;
}

const MenuTemplate* Application::FindMenu(int id) const
{
    for (const MenuTemplate* m : resources_.menus) {
        if (m != nullptr && m->id == id) return m;
    }
    return nullptr;
}

bool Application::WinHelp(const std::string&, unsigned)
{
    // Help files of this kind have no viewer on Linux desktops.
    return false;
}

void Application::OnHelp()
{
    std::string helpFile = exePath_;
    const std::size_t slash = helpFile.find_last_of('/');
    const std::size_t dot = helpFile.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) helpFile.erase(dot);
    helpFile += ".HLP";
    const unsigned topic = kHelpDialogBase + static_cast<unsigned>(mainWindow_ != nullptr ? mainWindow_->Template().id : 0);
    if (!WinHelp(helpFile, topic)) MessageBox(mainWindow_, kFailedToLaunchHelp);
}

void MessageBox(Dialog* owner, const char* text, const char* caption)
{
    Application* app = Application::Current();
    const std::string title = caption != nullptr ? caption : (app != nullptr ? app->AppName() : std::string());
    QMessageBox box(owner != nullptr ? owner->Widget() : nullptr);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromUtf8(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool SetClipboardText(Dialog*, const char* text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    clipboard->setText(QString::fromLatin1(text));
    return true;
}

std::string ClipboardText()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard != nullptr ? clipboard->text().toLatin1().toStdString() : std::string();
}

}  // namespace framework

#include <QFileDialog>

namespace framework {

std::string OpenFileDialog(Dialog* owner, const char* initialName, std::span<const FileFilter> filters)
{
    QFileDialog dialog(owner != nullptr ? owner->Widget() : nullptr);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly, false);
    QStringList captions;
    for (const FileFilter& f : filters) {
        // "*.*" means every file, also those without a dot in their names.
        const QString pattern = std::string_view(f.pattern) == "*.*" ? QString("*") : QString::fromUtf8(f.pattern);
        QString caption = QString::fromUtf8(f.caption);
        captions << (caption.contains('(') ? caption : caption + " (" + pattern + ")");
    }
    dialog.setNameFilters(captions);
    if (initialName != nullptr) dialog.selectFile(QString::fromUtf8(initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace framework
