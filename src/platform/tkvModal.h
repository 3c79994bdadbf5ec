#pragma once

#include <functional>

class QDialog;

// Every modal window of the application runs through here: the file and folder dialogs, the
// message boxes and the question windows. A test installs answerers instead of a person: each
// next modal window goes to the first waiting answerer, which may tick boxes or press buttons
// on it (found by their object names) and answers the window's result; the window is never
// shown and nothing waits.
namespace tkvModal {

using Answerer = std::function<int(QDialog& agDialog)>;

// Shows agDialog modally and answers QDialog::exec's result, or the first waiting answerer's.
int Exec(QDialog& agDialog);

// Queues an answerer for the next modal window.
void PushAnswerer(Answerer agAnswerer);
// Answerers not used yet (a test checks that every expected window came).
int PendingAnswerers();
void ClearAnswerers();

}  // namespace tkvModal
