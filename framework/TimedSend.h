// A timed synchronous send of a window message to the thread that owns a
// window: the counterpart of sending a message with a time limit.
//
// The message and its parameter go to the receiver's thread through its
// event loop, so a nested modal loop there (a message box, a dialog) still
// handles them. The sender waits until the handler has finished or the
// limit has passed; see SendGate for what happens to a send whose time ran
// out.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "SendGate.h"

namespace framework {

class MessageReceiver {
public:
    using Handler = std::function<void(std::uint32_t message, void* param)>;

    // Binds the receiver to the calling thread, whose event loop runs the
    // handler. Needs the application object to exist.
    explicit MessageReceiver(Handler handler);
    MessageReceiver(const MessageReceiver&) = delete;
    MessageReceiver& operator=(const MessageReceiver&) = delete;
    // On the receiver's thread, once no thread can send any more (join the
    // senders first): sends still queued are dropped unrun.
    ~MessageReceiver();

    // From any thread but the receiver's own, where it would wait for a
    // handler that cannot run: there it returns Refused at once.
    SendResult SendTimeout(std::uint32_t message, void* param, std::chrono::milliseconds limit);

    // Receiver thread: see SendGate::Refuse.
    void RefuseSends(bool refuse);

    bool OnReceiverThread() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace framework
