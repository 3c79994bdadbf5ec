#include "tkvDialogFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "tkvModal.h"
#include "tkvQtString.h"

bool tkvDialogFolder::ShowDialog() {
    QFileDialog dialog(windowHandle_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!windowText_.empty()) {
        dialog.setWindowTitle(tkvQtString::ToQt(windowText_));
    }
    if (!comment_.empty()) {
        // Qt's dialog has no instruction line: the label beside the folder it shows carries it.
        dialog.setLabelText(QFileDialog::LookIn, tkvQtString::ToQt(comment_));
    }
    // The dialog opens in the start folder, so confirming at once answers that folder.
    if (!fileAddressOfStart_.empty()) {
        dialog.setDirectory(tkvQtString::ToQt(fileAddressOfStart_));
    }

    if (tkvModal::Exec(dialog) != QDialog::Accepted) {
        return false;
    }
    const QStringList selected = dialog.selectedFiles();
    if (selected.isEmpty()) {
        return false;
    }
    // Only an existing folder is an answer; anything else counts as not confirmed, so the
    // caller never receives an empty or stale address.
    const QFileInfo folder(selected.front());
    if (!folder.isDir()) {
        return false;
    }
    selectedAddress_ = tkvQtString::FromQt(QDir::toNativeSeparators(folder.absoluteFilePath()));
    return true;
}
