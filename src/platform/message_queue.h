// The window's message queue: translated SDL input, messages posted to the
// window (from any thread) and messages sent synchronously (from any thread,
// always handled on the window thread).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <thread>

#include "platform/event_translator.h"
#include "platform/window_messages.h"

namespace morvanex {

class MessageQueue {
public:
    using Procedure = std::function<std::intptr_t(const WindowMessage&)>;

    // Must be made on the window thread, after SDL is up.
    explicit MessageQueue(EventTranslator::GeometrySource geometry);
    ~MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    // The window procedure that sent messages are handed to.
    void setProcedure(Procedure procedure) { procedure_ = std::move(procedure); }

    // Removes the next waiting message; false when none waits.
    bool peekMessage(WindowMessage& out);

    // Queues a message for the window; safe from any thread. False when the
    // queue refused it.
    bool postMessage(const WindowMessage& message);
    void postQuitMessage(int exitCode);

    // Runs the window procedure on the window thread and returns its answer;
    // from another thread it waits until the window thread has handled it.
    std::intptr_t sendMessage(const WindowMessage& message);

    bool onWindowThread() const { return std::this_thread::get_id() == windowThread_; }

private:
    void takeSdlEvents();
    void answerWaitingSenders();

    EventTranslator translator_;
    Procedure procedure_;
    std::deque<WindowMessage> pending_;
    // The quit message comes out only once nothing else waits.
    bool quitPending_ = false;
    int quitCode_ = 0;
    std::uint32_t postedEvent_ = 0;
    std::uint32_t sentEvent_ = 0;
    std::thread::id windowThread_;
};

}  // namespace morvanex
