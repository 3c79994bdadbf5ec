#pragma once

#include <string>
#include <vector>

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;
class QWidget;

// File lists dropped on a control: the local files of a text/uri-list, in its order, as the
// file managers offer them.
namespace tkvOLEDrag {

// The local files that agData carries; false, the list untouched, when it carries none (plain
// text, web links).
bool GetFileList(const QMimeData* agData, std::vector<std::string>& ouList);

// While something is dragged over a control: copying is allowed for file lists only.
void AllowFileDrop(QDragEnterEvent* agEvent);
void AllowFileDrop(QDragMoveEvent* agEvent);

// The dropped files; brings the window of agWindow (the control dropped on, or this program's
// window) to the front. False, the list untouched, when the drop carries no file.
bool GetDroppedFileList(QDropEvent* agEvent, QWidget* agWindow, std::vector<std::string>& ouList);

}  // namespace tkvOLEDrag
