// Every loop of the game ends when the window is closed: the title menu,
// play, the pause page and the end screen. A loop that does not end within
// the watchdog's time fails the test program at once instead of hanging it.
#include "game/frame_loop.h"
#include "core/menu.h"
#include "game/title_menu.h"
#include "support/game_world.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <ostream>
#include <thread>

namespace {

// Ends the process when `done` is not called within the time.
class Watchdog {
public:
    explicit Watchdog(const char* what)
        : thread_([this, what] {
              std::unique_lock lock(mutex_);
              if (!cv_.wait_for(lock, std::chrono::seconds(20), [this] { return done_; })) {
                  std::fprintf(stderr, "%s did not end on a closed window\n", what);
                  std::_Exit(1);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        cv_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

struct LoopCase {
    const char* name;
    void (*prepare)();
    // Runs the loop; false when it reports that the program should go on.
    bool (*run)(FrameTimers&);
};

const LoopCase loopCases[] = {
    {"TitleMenu", [] { glfwSetKeyCallback(menuKeyHandler); },
     [](FrameTimers&) {
         runTitleMenu();
         return game.quitRequested;   // ends as for Escape
     }},
    {"Play", [] {}, [](FrameTimers& t) { runFrameLoop(t); return true; }},
    {"PausePage", [] { game.paused = true; }, [](FrameTimers& t) { return !runFrame(t); }},
    {"EndScreen", [] { game.lives = 0; }, [](FrameTimers& t) { return !runFrame(t); }},
};

void PrintTo(const LoopCase& c, std::ostream* os) { *os << c.name; }

class ClosedWindow : public ::testing::TestWithParam<LoopCase> {
protected:
    FrameTimers timers;

    void SetUp() override
    {
        if (!openGameWorld())
            GTEST_SKIP() << "no display";
        resetView();
        game.lives = 3;
        game.goalMode = 0;
        game.paused = game.gameStartRequested = game.quitRequested = game.inGoalMenu = false;
        sys::testReleaseAllKeys();   // Escape stays up throughout
        timers.fpsIntervalStart = timers.tickStart = glfwGetTime();
        game.chaserClockLast = static_cast<float>(timers.tickStart);
    }
    void TearDown() override
    {
        sys::testCloseWindow(false);
        glfwSetKeyCallback(nullptr);
        game.paused = game.quitRequested = false;
        game.lives = 3;
        sys::testUseRealKeys();
    }
};

TEST_P(ClosedWindow, LoopEnds)
{
    const LoopCase& c = GetParam();
    c.prepare();
    ASSERT_EQ(glfwGetWindowParam(GLFW_OPENED), 1);
    sys::testCloseWindow();
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
    Watchdog watchdog(c.name);
    EXPECT_TRUE(c.run(timers));
}

INSTANTIATE_TEST_SUITE_P(EveryLoop, ClosedWindow, ::testing::ValuesIn(loopCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
