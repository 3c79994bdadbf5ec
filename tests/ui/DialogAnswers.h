#pragma once

#include <QString>
#include <functional>

#include "tkvModal.h"

class QDialog;

// Answerers for tkvModal: what a person would do in the next modal window. Push them before
// the action that opens the window; the window is never shown.
namespace DialogAnswers {

// Types agPath into a file or folder dialog and confirms, as a person who picks that entry.
tkvModal::Answerer Choose(const QString& agPath);
// Confirms the dialog as it stands (a folder dialog then answers the folder it shows).
tkvModal::Answerer Confirm();
// Leaves the window with Escape or its close box.
tkvModal::Answerer Cancel();
// Clicks the button named agObjectName; the test fails when the window has no such button.
tkvModal::Answerer Click(const QString& agObjectName);
// Lets agLook see the window first (to record what it shows), then answers with agThen.
tkvModal::Answerer Inspect(std::function<void(QDialog&)> agLook, tkvModal::Answerer agThen);

}  // namespace DialogAnswers
