// What the window tests share: the namespace the window captures in, a
// modal-box answerer, and running a window modally around a test body.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "NetnsLab.h"
#include "QtWidgets.h"

// Set up by the test program's main: null when no namespace could be made.
extern NetnsLab* g_lab;
extern std::string g_labProblem;

namespace window_testing {

using Steady = std::chrono::steady_clock;

// Answers modal boxes as they come: message boxes with OK, other dialogs
// with the handler given for their caption, or Esc. What it saw is kept.
class BoxAnswerer {
public:
    struct Box {
        std::string caption;
        std::string text;
    };
    using DialogHandler = std::function<void(framework::DialogWidget&)>;

    BoxAnswerer()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start(20);
    }
    void OnDialog(const std::string& caption, DialogHandler handler) { handlers_.push_back({caption, std::move(handler)}); }
    std::vector<Box> boxes;
    // Runs once, just before the next message box is answered.
    std::function<void()> beforeOk;

private:
    void Answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString()});
            if (beforeOk) std::exchange(beforeOk, {})();
            box->button(QMessageBox::Ok)->click();
        } else if (auto* dialog = dynamic_cast<framework::DialogWidget*>(modal)) {
            const std::string caption = dialog->windowTitle().toStdString();
            if (caption == "Ventis v1.0.7" || dialog == busy_) return;
            for (auto it = handlers_.begin(); it != handlers_.end(); ++it) {
                if (it->first == caption) {
                    // Outside this timer's own call, so that boxes the
                    // handler raises are answered by the next tick.
                    busy_ = dialog;
                    QTimer::singleShot(0, [this, dialog, handler = std::move(it->second)] {
                        handler(*dialog);
                        busy_ = nullptr;
                    });
                    handlers_.erase(it);
                    return;
                }
            }
            boxes.push_back({caption, {}});
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    }
    QTimer timer_;
    std::vector<std::pair<std::string, DialogHandler>> handlers_;
    framework::DialogWidget* busy_ = nullptr;
};

// Runs the window modally, runs body once it is up, and ends it with Cancel
// unless body ended it.
template <typename Window>
void RunWindow(Window& dlg, const std::function<void()>& body)
{
    QTimer::singleShot(0, [&] {
        body();
        if (dlg.IsRunning()) dlg.EndDialog(framework::kIdCancel);
    });
    dlg.DoModal();
}

template <typename Predicate>
bool WaitFor(Predicate done, int ms = 3000)
{
    const auto end = Steady::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (Steady::now() > end) return false;
        QTest::qWait(10);
    }
    return true;
}

inline std::string ReadLog()
{
    std::ifstream in("Ventis.log", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace window_testing
