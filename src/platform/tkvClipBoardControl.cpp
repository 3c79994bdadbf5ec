#include "tkvClipBoardControl.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "tkvOLEDrag.h"

namespace tkvClipBoardControl {

bool GetClipboardFileList(std::vector<std::string>& ouList, int32_t& ouCount) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (data == nullptr || !data->hasUrls()) {
        return false;
    }
    std::vector<std::string> files;
    if (!tkvOLEDrag::GetFileList(data, files) && !data->urls().isEmpty()) {
        // Web addresses only: not a list of files.
        return false;
    }
    ouCount = static_cast<int32_t>(files.size());
    ouList = std::move(files);
    return true;
}

}  // namespace tkvClipBoardControl
