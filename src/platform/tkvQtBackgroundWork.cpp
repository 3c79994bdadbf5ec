#include "tkvQtBackgroundWork.h"

#include <QObject>
#include <algorithm>
#include <thread>

struct tkvQtBackgroundWork::Worker {
    std::atomic<bool> Finished{false};
    std::thread Thread;
};

tkvQtBackgroundWork::tkvQtBackgroundWork() : receiver_(std::make_unique<QObject>()) {}

tkvQtBackgroundWork::~tkvQtBackgroundWork() {
    abort_ = true;
    for (const auto& worker : workers_) {
        worker->Thread.join();
    }
    receiver_.reset();  // completions still queued die with it
}

void tkvQtBackgroundWork::Run(Work agWork, std::function<void()> agDone) {
    JoinFinished();
    auto worker = std::make_unique<Worker>();
    Worker& started = *worker;
    workers_.push_back(std::move(worker));
    // The receiver lives until every worker has been joined, so posting to it needs no lock.
    started.Thread =
        std::thread([this, &started, work = std::move(agWork), done = std::move(agDone)]() mutable {
            work(abort_);
            QMetaObject::invokeMethod(receiver_.get(), std::move(done), Qt::QueuedConnection);
            started.Finished = true;
        });
}

void tkvQtBackgroundWork::JoinFinished() {
    const auto finished = std::stable_partition(
        workers_.begin(), workers_.end(), [](const auto& agWorker) { return !agWorker->Finished; });
    for (auto it = finished; it != workers_.end(); ++it) {
        (*it)->Thread.join();
    }
    workers_.erase(finished, workers_.end());
}
