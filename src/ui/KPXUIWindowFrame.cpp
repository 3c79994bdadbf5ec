#include "KPXUIWindowFrame.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace KPXUIWindowFrame {

namespace {

QRect AvailableArea(const QWidget& agWidget) {
    const QScreen* screen = agWidget.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

// Places the window's client area with its centre at agCentre, then back inside agArea where
// it would reach past an edge. The client area, not the frame: the frame is not known before
// the window is shown.
void MoveCentre(QWidget& agWindow, const QPoint& agCentre, const QRect& agArea) {
    QRect place(QPoint(0, 0), agWindow.size());
    place.moveCenter(agCentre);
    if (agArea.isValid()) {
        place.moveLeft(
            std::max(agArea.left(), std::min(place.left(), agArea.right() + 1 - place.width())));
        place.moveTop(
            std::max(agArea.top(), std::min(place.top(), agArea.bottom() + 1 - place.height())));
    }
    agWindow.setGeometry(place);
}

}  // namespace

void SetFixedDialogFrame(QWidget& agWindow) {
    agWindow.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

void CenterOverOwner(QWidget& agWindow, const QWidget* agOwner) {
    if (agOwner == nullptr) {
        CenterOnScreen(agWindow);
        return;
    }
    // Client area over client area: both windows carry the same frame, so the outer frames
    // are centred too.
    const QWidget* ownerWindow = agOwner->window();
    MoveCentre(agWindow, ownerWindow->geometry().center(), AvailableArea(*ownerWindow));
}

void CenterOnScreen(QWidget& agWindow) {
    const QRect area = AvailableArea(agWindow);
    MoveCentre(agWindow, area.center(), area);
}

}  // namespace KPXUIWindowFrame
