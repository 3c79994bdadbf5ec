#pragma once

#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "tkvBackgroundWork.h"

// Work off the thread as a test drives it: the work runs on a real thread at once, and its
// completion waits until the test hands it to the "user-interface thread".
class QueuedBackgroundWork : public tkvBackgroundWork {
public:
    void Run(Work agWork, std::function<void()> agDone) override {
        std::thread(std::move(agWork), std::cref(never_)).join();
        Done.push_back(std::move(agDone));
    }
    // Hands every finished work back, as the event loop would.
    void DeliverAll() {
        auto done = std::move(Done);
        Done.clear();
        for (auto& each : done) {
            each();
        }
    }
    std::vector<std::function<void()>> Done;

private:
    const AbortFlag never_{false};  // the work is over before Run returns
};
