#pragma once

#include <QString>

class QWidget;

// What a person would see wrong in a laid-out window.
namespace WindowLook {

// The labels, buttons and check boxes of agWindow whose text does not fit the room the layout
// gave them, one line each ("name: needs W x H, has w x h"); empty when every text shows whole,
// so that QCOMPARE with an empty text prints what is clipped. agWindow must be shown or its
// layout activated.
QString ClippedControls(const QWidget& agWindow);

}  // namespace WindowLook
