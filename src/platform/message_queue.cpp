#include "platform/message_queue.h"

#include <SDL.h>

#include <future>
#include <memory>
#include <vector>

namespace morvanex {
namespace {

struct SentMessage {
    WindowMessage message;
    std::promise<std::intptr_t> answer;
};

}  // namespace

MessageQueue::MessageQueue(EventTranslator::GeometrySource geometry)
    : translator_(std::move(geometry)), windowThread_(std::this_thread::get_id()) {
    const Uint32 first = SDL_RegisterEvents(2);
    if (first != static_cast<Uint32>(-1)) {
        postedEvent_ = first;
        sentEvent_ = first + 1;
    }
}

MessageQueue::~MessageQueue() { answerWaitingSenders(); }

void MessageQueue::answerWaitingSenders() {
    if (postedEvent_ == 0) return;
    SDL_Event events[32];
    int count = 0;
    while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, postedEvent_, sentEvent_)) > 0) {
        for (int i = 0; i < count; ++i) {
            if (events[i].type == postedEvent_) {
                delete static_cast<WindowMessage*>(events[i].user.data1);
            } else {
                // Nobody will handle it any more: release the waiting sender.
                static_cast<SentMessage*>(events[i].user.data1)->answer.set_value(0);
            }
        }
    }
}

bool MessageQueue::peekMessage(WindowMessage& out) {
    if (pending_.empty()) takeSdlEvents();
    if (pending_.empty() && quitPending_) {
        quitPending_ = false;
        out = WindowMessage{};
        out.message = wm::Quit;
        out.wParam = static_cast<std::uintptr_t>(quitCode_);
        return true;
    }
    if (pending_.empty()) return false;
    out = std::move(pending_.front());
    pending_.pop_front();
    return true;
}

void MessageQueue::takeSdlEvents() {
    std::vector<WindowMessage> translated;
    SDL_Event event;
    while (pending_.empty() && SDL_PollEvent(&event)) {
        if (postedEvent_ != 0 && event.type == postedEvent_) {
            std::unique_ptr<WindowMessage> posted(static_cast<WindowMessage*>(event.user.data1));
            pending_.push_back(std::move(*posted));
        } else if (sentEvent_ != 0 && event.type == sentEvent_) {
            auto* sent = static_cast<SentMessage*>(event.user.data1);
            sent->answer.set_value(procedure_ ? procedure_(sent->message) : 0);
        } else {
            translated.clear();
            translator_.translate(event, translated);
            for (WindowMessage& m : translated) pending_.push_back(std::move(m));
        }
    }
}

bool MessageQueue::postMessage(const WindowMessage& message) {
    if (postedEvent_ == 0) return false;
    SDL_Event event{};
    event.type = postedEvent_;
    event.user.data1 = new WindowMessage(message);
    if (SDL_PushEvent(&event) == 1) return true;
    delete static_cast<WindowMessage*>(event.user.data1);
    return false;
}

void MessageQueue::postQuitMessage(int exitCode) {
    quitPending_ = true;
    quitCode_ = exitCode;
}

std::intptr_t MessageQueue::sendMessage(const WindowMessage& message) {
    if (onWindowThread()) return procedure_ ? procedure_(message) : 0;
    if (sentEvent_ == 0) return 0;
    SentMessage sent{message, {}};
    std::future<std::intptr_t> answer = sent.answer.get_future();
    SDL_Event event{};
    event.type = sentEvent_;
    event.user.data1 = &sent;
    if (SDL_PushEvent(&event) != 1) return 0;
    return answer.get();
}

}  // namespace morvanex
