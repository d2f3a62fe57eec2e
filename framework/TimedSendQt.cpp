// MessageReceiver on Qt: a queued call to an object living on the
// receiver's thread carries each send. Every state the two threads share is
// in the SendGate, under its own mutex; the queued call only carries the
// ticket.
#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#include "TimedSend.h"

namespace framework {

struct MessageReceiver::Impl {
    Handler handler;
    SendGate gate;
    QThread* thread = QThread::currentThread();
    QObject context;   // lives on the receiver's thread; its queued calls die with it
};

MessageReceiver::MessageReceiver(Handler handler) : impl_(std::make_unique<Impl>())
{
    impl_->handler = std::move(handler);
}

MessageReceiver::~MessageReceiver()
{
    impl_->gate.Refuse(true);
}

bool MessageReceiver::OnReceiverThread() const
{
    return QThread::currentThread() == impl_->thread;
}

SendResult MessageReceiver::SendTimeout(std::uint32_t message, void* param, std::chrono::milliseconds limit)
{
    if (OnReceiverThread()) return SendResult::Refused;
    const auto deadline = SendGate::Clock::now() + limit;
    std::shared_ptr<SendGate::Ticket> ticket = impl_->gate.Open();
    if (!ticket) return SendResult::Refused;
    Impl* impl = impl_.get();
    QMetaObject::invokeMethod(
        &impl->context,
        [impl, ticket, message, param] {
            if (!impl->gate.Begin(*ticket)) return;
            impl->handler(message, param);
            impl->gate.Finish(*ticket);
        },
        Qt::QueuedConnection);
    return impl_->gate.Await(*ticket, deadline);
}

void MessageReceiver::RefuseSends(bool refuse)
{
    impl_->gate.Refuse(refuse);
}

}  // namespace framework
