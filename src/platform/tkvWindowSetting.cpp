#include "tkvWindowSetting.h"

#include <QPoint>
#include <QWidget>

namespace tkvWindowSetting {

bool SetWindowOrder(QWidget* agWindow, bool agTopMost) {
    if (agWindow == nullptr) {
        return false;
    }
    if (agWindow->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == agTopMost) {
        return true;
    }
    // Changing a window's flags hides it; it comes back where it was.
    const bool visible = agWindow->isVisible();
    const QPoint position = agWindow->pos();
    agWindow->setWindowFlag(Qt::WindowStaysOnTopHint, agTopMost);
    if (visible) {
        agWindow->move(position);
        agWindow->show();
    }
    return agWindow->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == agTopMost;
}

}  // namespace tkvWindowSetting
