#include "Commands.h"

namespace framework {

void CommandTable::OnCommand(int id, CommandHandler handler)
{
    entries_.push_back({Kind::Command, id, 0, std::move(handler), {}, {}});
}

void CommandTable::OnNotify(int controlId, int code, NotifyHandler handler)
{
    entries_.push_back({Kind::Notify, controlId, code, {}, std::move(handler), {}});
}

void CommandTable::OnMessage(std::uint32_t message, MessageHandler handler)
{
    entries_.push_back({Kind::Message, message, 0, {}, {}, std::move(handler)});
}

bool CommandTable::DispatchCommand(int id) const
{
    for (const Entry& e : entries_) {
        if (e.kind == Kind::Command && e.id == id) {
            e.command();
            return true;
        }
    }
    return false;
}

bool CommandTable::DispatchNotify(const Notification& n) const
{
    for (const Entry& e : entries_) {
        if (e.kind == Kind::Notify && e.id == n.controlId && e.code == n.code) {
            e.notify(n);
            return true;
        }
    }
    return false;
}

bool CommandTable::DispatchMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) const
{
    for (const Entry& e : entries_) {
        if (e.kind == Kind::Message && e.id == message) {
            e.message(wParam, lParam);
            return true;
        }
    }
    return false;
}

}  // namespace framework
