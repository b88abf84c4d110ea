// The window's message queue on SDL's event queue: posted, sent and
// translated messages, across threads.
#include "platform/message_queue.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace morvanex {
namespace {

using namespace std::chrono_literals;

// Longest any test waits for another thread before it calls it a failure.
constexpr auto kPatience = 5s;

WindowMessage makeMessage(std::uint32_t id, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
    WindowMessage m;
    m.message = id;
    m.wParam = wParam;
    m.lParam = lParam;
    return m;
}

// A thread whose result can be waited for with a time limit. Should the test
// fail while the thread is still blocked, the thread is let go instead of
// joined, so that a broken queue fails the test rather than hanging it; the
// thread touches nothing but its own shared state once its work returns.
class Worker {
public:
    explicit Worker(std::function<std::intptr_t()> work) {
        auto promise = std::make_shared<std::promise<std::intptr_t>>();
        result_ = promise->get_future();
        thread_ = std::thread([promise, work = std::move(work)] { promise->set_value(work()); });
    }
    ~Worker() {
        if (finished(0ms)) thread_.join();
        else thread_.detach();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    bool finished(std::chrono::milliseconds wait) const {
        return !result_.valid() || result_.wait_for(wait) == std::future_status::ready;  // invalid: result taken
    }
    std::intptr_t result() { return result_.get(); }

private:
    std::future<std::intptr_t> result_;
    std::thread thread_;
};

// How many application-registered events wait in SDL's queue.
int userEventsWaiting() {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT);
}

class MessageQueueTest : public testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_VIDEODRIVER", "offscreen", 0);  // headless even when run by hand
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        sdlUp_ = true;
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        geometry_.clientWidth = 640;
        geometry_.clientHeight = 480;
        geometry_.screenX = 10;
        geometry_.screenY = 20;
        queue_ = std::make_unique<MessageQueue>([this] { return geometry_; });
    }
    void TearDown() override {
        queue_.reset();
        if (!sdlUp_) return;
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_Quit();
    }

    // Peeks until `done` holds or the patience runs out; keeps what came.
    bool pumpUntil(const std::function<bool()>& done, std::vector<WindowMessage>* received = nullptr) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            WindowMessage m;
            if (queue_->peekMessage(m)) {
                if (received != nullptr) received->push_back(m);
            } else {
                std::this_thread::sleep_for(1ms);
            }
        }
        return true;
    }

    // Waits until SDL's queue holds `count` application events (a sender has pushed).
    static bool waitForUserEvents(int count) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (userEventsWaiting() < count) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }

    bool sdlUp_ = false;
    WindowGeometry geometry_;
    std::unique_ptr<MessageQueue> queue_;
};

// --- Posting ---------------------------------------------------------------

TEST_F(MessageQueueTest, EmptyQueueHasNothingToPeek) {
    WindowMessage m = makeMessage(0xBEEF);
    EXPECT_FALSE(queue_->peekMessage(m));
}

TEST_F(MessageQueueTest, PostedMessageComesBackWithItsParameters) {
    WindowMessage posted = makeMessage(wm::WriteTutorial, 0x12345678u, -42);
    posted.extraInfo = kSynthesizedPointerSignature;
    posted.touchPoints = {TouchPoint{100, 200, 3, touch_flags::Down}, TouchPoint{-5, 7, 4, touch_flags::Move}};
    ASSERT_TRUE(queue_->postMessage(posted));

    WindowMessage got;
    ASSERT_TRUE(queue_->peekMessage(got));
    EXPECT_EQ(got.message, wm::WriteTutorial);
    EXPECT_EQ(got.wParam, 0x12345678u);
    EXPECT_EQ(got.lParam, -42);
    EXPECT_EQ(got.extraInfo, kSynthesizedPointerSignature);
    ASSERT_EQ(got.touchPoints.size(), 2u);
    EXPECT_EQ(got.touchPoints[0].x, 100);
    EXPECT_EQ(got.touchPoints[1].x, -5);
    EXPECT_EQ(got.touchPoints[1].id, 4u);
    // Removed once peeked.
    EXPECT_FALSE(queue_->peekMessage(got));
}

TEST_F(MessageQueueTest, PostedMessagesKeepTheirOrder) {
    for (std::uint32_t i = 0; i < 20; ++i) ASSERT_TRUE(queue_->postMessage(makeMessage(wm::EnterFullScreen, i)));
    for (std::uint32_t i = 0; i < 20; ++i) {
        WindowMessage got;
        ASSERT_TRUE(queue_->peekMessage(got)) << "message " << i;
        EXPECT_EQ(got.message, wm::EnterFullScreen);
        EXPECT_EQ(got.wParam, i);
    }
    WindowMessage none;
    EXPECT_FALSE(queue_->peekMessage(none));
}

TEST_F(MessageQueueTest, MessagePostedFromAnotherThreadArrives) {
    std::thread::id poster;
    {
        Worker worker([&] {
            poster = std::this_thread::get_id();
            return queue_->postMessage(makeMessage(wm::TutorialFinished, 7, 8)) ? 1 : 0;
        });
        ASSERT_TRUE(worker.finished(kPatience)) << "posting blocked";
        EXPECT_EQ(worker.result(), 1);
    }
    EXPECT_NE(poster, std::this_thread::get_id());
    WindowMessage got;
    ASSERT_TRUE(queue_->peekMessage(got));
    EXPECT_EQ(got.message, wm::TutorialFinished);
    EXPECT_EQ(got.wParam, 7u);
    EXPECT_EQ(got.lParam, 8);
}

TEST_F(MessageQueueTest, ManyThreadsPostingLoseNothing) {
    constexpr int kThreads = 4;
    constexpr int kEach = 50;
    {
        std::vector<std::unique_ptr<Worker>> workers;
        for (int t = 0; t < kThreads; ++t) {
            workers.push_back(std::make_unique<Worker>([this, t] {
                std::intptr_t accepted = 0;
                for (int i = 0; i < kEach; ++i)
                    accepted += queue_->postMessage(makeMessage(wm::RerunAfterFullScreen, static_cast<std::uintptr_t>(t),
                                                                static_cast<std::intptr_t>(i)));
                return accepted;
            }));
        }
        for (auto& w : workers) {
            ASSERT_TRUE(w->finished(kPatience));
            EXPECT_EQ(w->result(), kEach);
        }
    }
    std::vector<int> next(kThreads, 0);
    int total = 0;
    WindowMessage got;
    while (queue_->peekMessage(got)) {
        ASSERT_EQ(got.message, wm::RerunAfterFullScreen);
        ASSERT_LT(got.wParam, static_cast<std::uintptr_t>(kThreads));
        // Each thread's messages arrive in the order it posted them.
        EXPECT_EQ(got.lParam, next[got.wParam]++);
        ++total;
    }
    EXPECT_EQ(total, kThreads * kEach);
}

// --- SDL input through the queue -------------------------------------------

TEST_F(MessageQueueTest, SdlInputIsTranslatedInOrderWithPostedMessages) {
    ASSERT_TRUE(queue_->postMessage(makeMessage(wm::EnterFullScreen)));
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = -3;
    motion.motion.y = 44;
    ASSERT_EQ(SDL_PushEvent(&motion), 1);
    SDL_Event enter{};
    enter.type = SDL_KEYDOWN;
    enter.key.state = SDL_PRESSED;
    enter.key.keysym.scancode = SDL_SCANCODE_RETURN;
    enter.key.keysym.sym = SDLK_RETURN;
    ASSERT_EQ(SDL_PushEvent(&enter), 1);
    ASSERT_TRUE(queue_->postMessage(makeMessage(wm::TutorialIntroduction)));

    std::vector<WindowMessage> got;
    WindowMessage m;
    while (queue_->peekMessage(m)) got.push_back(m);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].message, wm::EnterFullScreen);
    EXPECT_EQ(got[1].message, wm::MouseMove);
    EXPECT_EQ(pointerX(got[1].lParam), -3);
    EXPECT_EQ(pointerY(got[1].lParam), 44);
    EXPECT_EQ(got[2].message, wm::KeyDown);
    EXPECT_EQ(got[2].wParam, vk::Return);
    EXPECT_EQ(got[3].message, wm::Char);
    EXPECT_EQ(got[3].wParam, 13u);
    EXPECT_EQ(got[4].message, wm::TutorialIntroduction);
}

TEST_F(MessageQueueTest, TranslationUsesTheGivenGeometry) {
    SDL_Event size{};
    size.type = SDL_WINDOWEVENT;
    size.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    ASSERT_EQ(SDL_PushEvent(&size), 1);
    WindowMessage m;
    ASSERT_TRUE(queue_->peekMessage(m));
    EXPECT_EQ(m.message, wm::Size);
    EXPECT_EQ(m.lParam, makeLParam(640, 480));
}

// --- Quitting ----------------------------------------------------------------

TEST_F(MessageQueueTest, QuitMessageCarriesTheExitCode) {
    queue_->postQuitMessage(3);
    WindowMessage m;
    ASSERT_TRUE(queue_->peekMessage(m));
    EXPECT_EQ(m.message, 0x0012u);
    EXPECT_EQ(m.message, wm::Quit);
    EXPECT_EQ(static_cast<int>(m.wParam), 3);
    EXPECT_FALSE(queue_->peekMessage(m));

    queue_->postQuitMessage(0);
    ASSERT_TRUE(queue_->peekMessage(m));
    EXPECT_EQ(m.message, wm::Quit);
    EXPECT_EQ(m.wParam, 0u);
}

TEST_F(MessageQueueTest, QuitComesOnlyAfterEveryWaitingMessage) {
    queue_->postQuitMessage(1);
    ASSERT_TRUE(queue_->postMessage(makeMessage(wm::WriteTutorial)));
    ASSERT_TRUE(queue_->postMessage(makeMessage(wm::TutorialFinished)));
    std::vector<std::uint32_t> order;
    WindowMessage m;
    // SDL may answer "nothing" once at its own end-of-poll marker.
    for (int i = 0; i < 8 && order.size() < 3; ++i) {
        if (queue_->peekMessage(m)) order.push_back(m.message);
    }
    EXPECT_EQ(order, (std::vector<std::uint32_t>{wm::WriteTutorial, wm::TutorialFinished, wm::Quit}));
    EXPECT_EQ(m.wParam, 1u);
}

// --- Sending -----------------------------------------------------------------

TEST_F(MessageQueueTest, SendFromTheWindowThreadRunsTheProcedureAtOnce) {
    std::vector<WindowMessage> handled;
    queue_->setProcedure([&](const WindowMessage& m) -> std::intptr_t {
        handled.push_back(m);
        return static_cast<std::intptr_t>(m.wParam) * 2 + m.lParam;
    });
    EXPECT_TRUE(queue_->onWindowThread());
    EXPECT_EQ(queue_->sendMessage(makeMessage(wm::Paint, 20, 1)), 41);
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_EQ(handled[0].message, wm::Paint);
    EXPECT_EQ(handled[0].wParam, 20u);
    // Nothing was queued on the way.
    WindowMessage m;
    EXPECT_FALSE(queue_->peekMessage(m));
    EXPECT_EQ(handled.size(), 1u);
}

TEST_F(MessageQueueTest, SendWithoutProcedureAnswersZero) {
    EXPECT_EQ(queue_->sendMessage(makeMessage(wm::Paint)), 0);
}

TEST_F(MessageQueueTest, SendFromAnotherThreadWaitsForTheWindowThread) {
    const std::thread::id windowThread = std::this_thread::get_id();
    std::atomic<int> calls{0};
    std::thread::id ranOn;
    WindowMessage seen;
    queue_->setProcedure([&](const WindowMessage& m) -> std::intptr_t {
        ranOn = std::this_thread::get_id();
        seen = m;
        ++calls;
        return 0x5EED;
    });

    std::atomic<bool> senderOnWindowThread{true};
    Worker sender([&] {
        senderOnWindowThread = queue_->onWindowThread();
        return queue_->sendMessage(makeMessage(wm::WriteTutorial, 11, -12));
    });
    // The sender waits: nobody has polled the queue yet.
    ASSERT_TRUE(waitForUserEvents(1)) << "the sent message never reached SDL's queue";
    EXPECT_FALSE(sender.finished(50ms)) << "sendMessage returned before the window thread handled it";
    EXPECT_EQ(calls.load(), 0);

    ASSERT_TRUE(pumpUntil([&] { return sender.finished(0ms); })) << "the sender was never answered";
    EXPECT_EQ(sender.result(), 0x5EED);
    EXPECT_FALSE(senderOnWindowThread.load());
    EXPECT_EQ(calls.load(), 1);
    EXPECT_EQ(ranOn, windowThread) << "the procedure must run on the window thread";
    EXPECT_EQ(seen.message, wm::WriteTutorial);
    EXPECT_EQ(seen.wParam, 11u);
    EXPECT_EQ(seen.lParam, -12);
}

TEST_F(MessageQueueTest, SentMessagesAreNotReturnedByPeek) {
    queue_->setProcedure([](const WindowMessage&) -> std::intptr_t { return 1; });
    Worker sender([&] { return queue_->sendMessage(makeMessage(wm::WriteTutorial)); });
    ASSERT_TRUE(waitForUserEvents(1));
    std::vector<WindowMessage> received;
    ASSERT_TRUE(pumpUntil([&] { return sender.finished(0ms); }, &received));
    EXPECT_EQ(sender.result(), 1);
    EXPECT_TRUE(received.empty()) << "a sent message went to the procedure, not to the caller of peekMessage";
}

TEST_F(MessageQueueTest, SeveralSendersAreEachAnswered) {
    std::mutex mutex;
    std::vector<std::thread::id> threads;
    queue_->setProcedure([&](const WindowMessage& m) -> std::intptr_t {
        std::lock_guard<std::mutex> lock(mutex);
        threads.push_back(std::this_thread::get_id());
        return static_cast<std::intptr_t>(m.wParam) + 1000;
    });
    std::vector<std::unique_ptr<Worker>> senders;
    for (std::uintptr_t i = 0; i < 3; ++i)
        senders.push_back(std::make_unique<Worker>([this, i] { return queue_->sendMessage(makeMessage(wm::Paint, i)); }));
    ASSERT_TRUE(pumpUntil([&] {
        for (auto& s : senders)
            if (!s->finished(0ms)) return false;
        return true;
    }));
    for (std::size_t i = 0; i < senders.size(); ++i) EXPECT_EQ(senders[i]->result(), static_cast<std::intptr_t>(1000 + i));
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(threads.size(), 3u);
    for (const std::thread::id& id : threads) EXPECT_EQ(id, std::this_thread::get_id());
}

// --- Destroying the queue --------------------------------------------------

TEST_F(MessageQueueTest, DestroyingTheQueueReleasesAWaitingSender) {
    std::atomic<int> calls{0};
    queue_->setProcedure([&](const WindowMessage&) -> std::intptr_t {
        ++calls;
        return 99;
    });
    Worker sender([queue = queue_.get()] { return queue->sendMessage(makeMessage(wm::WriteTutorial)); });
    ASSERT_TRUE(waitForUserEvents(1)) << "the sent message never reached SDL's queue";
    EXPECT_FALSE(sender.finished(20ms));

    queue_.reset();
    ASSERT_TRUE(sender.finished(kPatience)) << "the sender still waits after the queue is gone";
    EXPECT_EQ(sender.result(), 0);
    EXPECT_EQ(calls.load(), 0) << "nobody may handle a message once the queue is gone";
    EXPECT_EQ(userEventsWaiting(), 0);
}

TEST_F(MessageQueueTest, DestroyingTheQueueDropsUnreadPostedMessages) {
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(queue_->postMessage(makeMessage(wm::EnterFullScreen)));
    EXPECT_EQ(userEventsWaiting(), 5);
    queue_.reset();
    // Left behind they would be read as stray events by a later queue (and
    // their messages leaked).
    EXPECT_EQ(userEventsWaiting(), 0);
}

TEST_F(MessageQueueTest, QueuesMadeOneAfterAnotherWorkAlike) {
    ASSERT_TRUE(queue_->postMessage(makeMessage(wm::EnterFullScreen, 1)));
    queue_.reset();
    queue_ = std::make_unique<MessageQueue>([this] { return geometry_; });
    WindowMessage m;
    EXPECT_FALSE(queue_->peekMessage(m)) << "a message of the earlier queue leaked into the new one";
    ASSERT_TRUE(queue_->postMessage(makeMessage(wm::EnterFullScreen, 2)));
    ASSERT_TRUE(queue_->peekMessage(m));
    EXPECT_EQ(m.wParam, 2u);
}

}  // namespace
}  // namespace morvanex
