#include "tkvQtBackgroundWork.h"

#include <QCoreApplication>
#include <QObject>
#include <mutex>
#include <thread>

// Where finished work reports: an object of the thread that made the runner. The worker posts
// to it only while it exists; the mutex keeps the runner from going meanwhile.
struct tkvQtBackgroundWork::Receiver {
    std::mutex Lock;
    QObject* Object = nullptr;
};

tkvQtBackgroundWork::tkvQtBackgroundWork() : receiver_(std::make_shared<Receiver>()) {
    receiver_->Object = new QObject;
}

tkvQtBackgroundWork::~tkvQtBackgroundWork() {
    const std::lock_guard<std::mutex> lock(receiver_->Lock);
    delete receiver_->Object;  // queued completions die with it
    receiver_->Object = nullptr;
}

void tkvQtBackgroundWork::Run(std::function<void()> agWork, std::function<void()> agDone) {
    // Detached: a fetch still waiting for the network when the program ends must not hold the
    // end up for its time limits.
    std::thread([receiver = receiver_, work = std::move(agWork), done = std::move(agDone)] {
        work();
        const std::lock_guard<std::mutex> lock(receiver->Lock);
        if (receiver->Object != nullptr) {
            QMetaObject::invokeMethod(receiver->Object, done, Qt::QueuedConnection);
        }
    }).detach();
}
