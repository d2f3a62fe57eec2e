// A window's command table: entries map a command number, a control
// notification or a window message to a handler. A command goes to the
// first matching entry only; handlers' results are ignored by callers.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Geometry.h"

namespace framework {

// Notification codes the program uses.
inline constexpr int kNmRightClick = -5;      // a right-click on a list
inline constexpr int kLvnItemChanged = -101;  // a list row changed state
inline constexpr int kBnClicked = 0;          // a push button was pressed

struct Notification {
    int controlId = 0;
    int code = 0;
    int item = -1;       // list row the notification names, -1 for none
    Point screen;        // pointer position of the event, screen pixels
};

class CommandTable {
public:
    using CommandHandler = std::function<void()>;
    using NotifyHandler = std::function<long(const Notification&)>;
    using MessageHandler = std::function<long(std::uintptr_t wParam, std::intptr_t lParam)>;

    void OnCommand(int id, CommandHandler handler);
    void OnNotify(int controlId, int code, NotifyHandler handler);
    void OnMessage(std::uint32_t message, MessageHandler handler);

    // Runs the first matching entry; false when none matches.
    bool DispatchCommand(int id) const;
    bool DispatchNotify(const Notification& n) const;
    bool DispatchMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) const;

private:
    enum class Kind { Command, Notify, Message };
    struct Entry {
        Kind kind;
        std::int64_t id;
        int code;
        CommandHandler command;
        NotifyHandler notify;
        MessageHandler message;
    };
    std::vector<Entry> entries_;
};

}  // namespace framework
