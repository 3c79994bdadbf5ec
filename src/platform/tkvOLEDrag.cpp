#include "tkvOLEDrag.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "tkvQtString.h"

namespace tkvOLEDrag {

bool GetFileList(const QMimeData* agData, std::vector<std::string>& ouList) {
    if (agData == nullptr || !agData->hasUrls()) {
        return false;
    }
    std::vector<std::string> files;
    for (const QUrl& url : agData->urls()) {
        if (url.isLocalFile()) {
            files.push_back(tkvQtString::FromQt(QDir::toNativeSeparators(url.toLocalFile())));
        }
    }
    if (files.empty()) {
        return false;
    }
    ouList = std::move(files);
    return true;
}

void AllowFileDrop(QDragEnterEvent* agEvent) {
    AllowFileDrop(static_cast<QDragMoveEvent*>(agEvent));
}

void AllowFileDrop(QDragMoveEvent* agEvent) {
    std::vector<std::string> files;
    if ((agEvent->possibleActions() & Qt::CopyAction) != 0 &&
        GetFileList(agEvent->mimeData(), files)) {
        agEvent->setDropAction(Qt::CopyAction);
        agEvent->accept();
    } else {
        agEvent->ignore();
    }
}

bool GetDroppedFileList(QDropEvent* agEvent, QWidget* agWindow, std::vector<std::string>& ouList) {
    if (!GetFileList(agEvent->mimeData(), ouList)) {
        agEvent->ignore();
        return false;
    }
    agEvent->setDropAction(Qt::CopyAction);
    agEvent->accept();
    // The drop came from another program's window, which keeps the focus otherwise.
    if (agWindow != nullptr) {
        QWidget* window = agWindow->window();
        window->raise();
        window->activateWindow();
    }
    return true;
}

}  // namespace tkvOLEDrag
