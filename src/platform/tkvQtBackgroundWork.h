#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "tkvBackgroundWork.h"

class QObject;

// Work on a thread of its own; its completion comes back through Qt's event loop on the thread
// that made this object. Going away, the runner raises the works' abort flag and waits for
// them, so no work is left running while the program tears down what it uses (libcurl among
// others); completions not delivered by then are dropped.
class tkvQtBackgroundWork : public tkvBackgroundWork {
public:
    tkvQtBackgroundWork();
    ~tkvQtBackgroundWork() override;
    tkvQtBackgroundWork(const tkvQtBackgroundWork&) = delete;
    tkvQtBackgroundWork& operator=(const tkvQtBackgroundWork&) = delete;

    void Run(Work agWork, std::function<void()> agDone) override;

private:
    struct Worker;

    // Joins the workers whose work is over.
    void JoinFinished();

    AbortFlag abort_{false};
    std::unique_ptr<QObject> receiver_;
    std::vector<std::unique_ptr<Worker>> workers_;
};
