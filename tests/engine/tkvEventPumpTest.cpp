#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tkvEventPump.h"

namespace {

class tkvEventPumpTest : public ::testing::Test {
protected:
    void TearDown() override { tkvEventPump::SetProcessEventsHook({}); }
};

TEST_F(tkvEventPumpTest, WithoutAHookProcessingEventsDoesNothing) {
    tkvEventPump::SetProcessEventsHook({});
    tkvEventPump::ProcessEvents();  // must not call an empty function
    int runs = 0;
    tkvEventPump::SetProcessEventsHook([&runs] { ++runs; });
    tkvEventPump::SetProcessEventsHook({});
    tkvEventPump::ProcessEvents();
    EXPECT_EQ(runs, 0);
}

TEST_F(tkvEventPumpTest, EachPollRunsTheHookSetLast) {
    std::string runs;
    tkvEventPump::SetProcessEventsHook([&runs] { runs += 'a'; });
    tkvEventPump::ProcessEvents();
    tkvEventPump::SetProcessEventsHook([&runs] { runs += 'b'; });
    tkvEventPump::ProcessEvents();
    tkvEventPump::ProcessEvents();
    EXPECT_EQ(runs, "abb");
}

// A window test waits for a status, then puts the window's own pump back from inside its hook
// and goes on with what it captured; an event handled by the pump may do the same.
TEST_F(tkvEventPumpTest, AHookThatReplacesItselfKeepsWhatItCapturedUntilItReturns) {
    auto captured = std::make_shared<std::string>("status");
    const std::weak_ptr<std::string> watch = captured;
    std::string seenAfterReplacing;
    int replacementRuns = 0;
    tkvEventPump::SetProcessEventsHook([&, captured = std::move(captured)] {
        // The observers are reached before the replacement: afterwards only captured is read.
        std::string* seen = &seenAfterReplacing;
        const bool released = [&watch, &replacementRuns] {
            tkvEventPump::SetProcessEventsHook([&replacementRuns] { ++replacementRuns; });
            return watch.expired();
        }();
        *seen = released ? "released" : *captured;
    });

    tkvEventPump::ProcessEvents();
    EXPECT_EQ(seenAfterReplacing, "status");
    EXPECT_TRUE(watch.expired()) << "the replaced hook is released once it has returned";
    EXPECT_EQ(replacementRuns, 0);
    tkvEventPump::ProcessEvents();
    EXPECT_EQ(replacementRuns, 1);
}

TEST_F(tkvEventPumpTest, AHookMayRemoveItselfWhileItRuns) {
    int runs = 0;
    tkvEventPump::SetProcessEventsHook([&runs] {
        tkvEventPump::SetProcessEventsHook({});
        ++runs;
    });
    tkvEventPump::ProcessEvents();
    tkvEventPump::ProcessEvents();
    EXPECT_EQ(runs, 1);
}

}  // namespace
