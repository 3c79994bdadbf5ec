#include "WindowLook.h"

#include <QAbstractButton>
#include <QLabel>
#include <QStringList>
#include <QWidget>

namespace WindowLook {

namespace {

QString Describe(const QWidget& agControl, const QSize& agNeeded) {
    return QStringLiteral("%1: needs %2 x %3, has %4 x %5")
        .arg(agControl.objectName())
        .arg(agNeeded.width())
        .arg(agNeeded.height())
        .arg(agControl.width())
        .arg(agControl.height());
}

// The room a control's text needs: a wrapped label its height at its width, any other control
// its smallest size that shows the whole text.
QSize Needed(const QWidget& agControl) {
    const auto* label = qobject_cast<const QLabel*>(&agControl);
    if (label != nullptr && label->wordWrap()) {
        return {0, label->heightForWidth(label->width())};
    }
    return agControl.minimumSizeHint().expandedTo(
        qobject_cast<const QAbstractButton*>(&agControl) != nullptr ? agControl.sizeHint()
                                                                    : QSize());
}

}  // namespace

QString ClippedControls(const QWidget& agWindow) {
    QStringList clipped;
    QList<const QWidget*> controls;
    for (const QLabel* label : agWindow.findChildren<const QLabel*>()) {
        controls << label;
    }
    for (const QAbstractButton* button : agWindow.findChildren<const QAbstractButton*>()) {
        controls << button;
    }
    for (const QWidget* control : controls) {
        if (control->isHidden()) {
            continue;
        }
        const QSize needed = Needed(*control);
        if (control->width() < needed.width() || control->height() < needed.height()) {
            clipped << Describe(*control, needed);
        }
    }
    return clipped.join(u'\n');
}

}  // namespace WindowLook
