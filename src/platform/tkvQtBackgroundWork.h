#pragma once

#include <memory>

#include "tkvBackgroundWork.h"

// Work on a thread of its own; its completion comes back through Qt's event loop on the thread
// that made this object. A completion that arrives after this object is gone is dropped.
class tkvQtBackgroundWork : public tkvBackgroundWork {
public:
    tkvQtBackgroundWork();
    ~tkvQtBackgroundWork() override;
    tkvQtBackgroundWork(const tkvQtBackgroundWork&) = delete;
    tkvQtBackgroundWork& operator=(const tkvQtBackgroundWork&) = delete;

    void Run(std::function<void()> agWork, std::function<void()> agDone) override;

private:
    struct Receiver;
    std::shared_ptr<Receiver> receiver_;
};
