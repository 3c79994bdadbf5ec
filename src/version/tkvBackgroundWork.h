#pragma once

#include <functional>

// Work done off the user-interface thread. Run starts agWork on another thread and, once it has
// finished, calls agDone on the user-interface thread. The window layer provides one on top of
// its toolkit; without one, the work is done where it is asked for.
class tkvBackgroundWork {
public:
    virtual ~tkvBackgroundWork() = default;
    // agWork must touch nothing the user-interface thread uses meanwhile.
    virtual void Run(std::function<void()> agWork, std::function<void()> agDone) = 0;
};
