// The bookkeeping of a timed synchronous send, shared by the sending thread
// and the receiving window thread, on std:: primitives only so that it is
// correct whatever queue carries the request.
//
// A send opens a ticket, has some queue run the receiver's side on the
// receiver's thread, and awaits the ticket. If the time runs out before the
// handler has started, the ticket is withdrawn and the handler never runs
// for it, so the handler cannot read the sender's data once the sender has
// gone on. If the handler has already started, the sender waits for it to
// finish.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace framework {

enum class SendResult {
    Handled,    // the handler ran to its end
    TimedOut,   // the limit passed before the handler started; it never will
    Refused,    // the receiver was not taking sends, or withdrew this one
};

class SendGate {
public:
    class Ticket;
    using Clock = std::chrono::steady_clock;

    // Sender: a new ticket, or none when sends are refused.
    std::shared_ptr<Ticket> Open();
    // Sender: waits for the ticket until the deadline, then withdraws it
    // unless its handler has started.
    SendResult Await(Ticket& ticket, Clock::time_point deadline);

    // Receiver thread: true when the handler may run now; false when the
    // ticket was withdrawn (the handler must not run).
    bool Begin(Ticket& ticket);
    // Receiver thread: the handler has finished.
    void Finish(Ticket& ticket);

    // Receiver thread: while refused, tickets not yet begun are withdrawn at
    // once and new ones are refused. For a receiver that is about to block
    // (a join) or go away.
    void Refuse(bool refuse);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t nextSerial_ = 0;
    std::uint64_t withdrawnBelow_ = 0;   // tickets below this serial are withdrawn
    bool refusing_ = false;
};

class SendGate::Ticket {
    friend class SendGate;
    enum class State { Pending, Running, Done, Withdrawn };
    std::uint64_t serial_ = 0;
    State state_ = State::Pending;
};

}  // namespace framework
