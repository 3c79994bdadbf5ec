#include "tkvModal.h"

#include <QDialog>
#include <deque>

namespace tkvModal {

namespace {

std::deque<Answerer>& Answerers() {
    static std::deque<Answerer> answerers;
    return answerers;
}

}  // namespace

int Exec(QDialog& agDialog) {
    std::deque<Answerer>& answerers = Answerers();
    if (answerers.empty()) {
        return agDialog.exec();
    }
    // Taken off the queue before it runs, so a window that the answerer opens in turn goes to
    // the next one.
    Answerer answerer = std::move(answerers.front());
    answerers.pop_front();
    return answerer(agDialog);
}

void PushAnswerer(Answerer agAnswerer) { Answerers().push_back(std::move(agAnswerer)); }

int PendingAnswerers() { return static_cast<int>(Answerers().size()); }

void ClearAnswerers() { Answerers().clear(); }

}  // namespace tkvModal
