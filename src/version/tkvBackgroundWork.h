#pragma once

#include <atomic>
#include <functional>

// Work done off the user-interface thread. Run starts agWork on another thread and, once it has
// finished, calls agDone on the user-interface thread. The window layer provides one on top of
// its toolkit; without one, the work is done where it is asked for.
class tkvBackgroundWork {
public:
    // Turns true when the runner goes away: work that may wait long (a network request) checks
    // it and ends early, because the runner waits for its work before it is gone.
    using AbortFlag = std::atomic<bool>;
    using Work = std::function<void(const AbortFlag& agAbort)>;

    virtual ~tkvBackgroundWork() = default;
    // agWork must touch nothing the user-interface thread uses meanwhile.
    virtual void Run(Work agWork, std::function<void()> agDone) = 0;
};
