#include "SendGate.h"

namespace framework {

std::shared_ptr<SendGate::Ticket> SendGate::Open()
{
    auto ticket = std::make_shared<Ticket>();
    std::lock_guard lock(mutex_);
    if (refusing_) return nullptr;
    ticket->serial_ = nextSerial_++;
    return ticket;
}

SendResult SendGate::Await(Ticket& ticket, Clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    const auto settled = [&] {
        return ticket.state_ == Ticket::State::Done ||
               (ticket.state_ == Ticket::State::Pending && ticket.serial_ < withdrawnBelow_);
    };
    changed_.wait_until(lock, deadline, settled);
    switch (ticket.state_) {
    case Ticket::State::Done:
        return SendResult::Handled;
    case Ticket::State::Running:
        // Started in time: the handler may be reading the sender's data.
        changed_.wait(lock, [&] { return ticket.state_ == Ticket::State::Done; });
        return SendResult::Handled;
    case Ticket::State::Pending:
    case Ticket::State::Withdrawn:
        break;
    }
    const bool withdrawnByReceiver = ticket.serial_ < withdrawnBelow_;
    ticket.state_ = Ticket::State::Withdrawn;
    return withdrawnByReceiver ? SendResult::Refused : SendResult::TimedOut;
}

bool SendGate::Begin(Ticket& ticket)
{
    std::lock_guard lock(mutex_);
    if (ticket.state_ != Ticket::State::Pending || ticket.serial_ < withdrawnBelow_) {
        ticket.state_ = Ticket::State::Withdrawn;
        return false;
    }
    ticket.state_ = Ticket::State::Running;
    return true;
}

void SendGate::Finish(Ticket& ticket)
{
    std::lock_guard lock(mutex_);
    ticket.state_ = Ticket::State::Done;
    changed_.notify_all();
}

void SendGate::Refuse(bool refuse)
{
    std::lock_guard lock(mutex_);
    refusing_ = refuse;
    if (refuse) {
        withdrawnBelow_ = nextSerial_;
        changed_.notify_all();
    }
}

}  // namespace framework
