#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The clipboard's list of files, as a file manager's copy puts it there.
namespace tkvClipBoardControl {

// The clipboard's file list (its local files, in order) and its length; false, both
// untouched, when the clipboard holds no file list. A file list without entries answers true.
bool GetClipboardFileList(std::vector<std::string>& ouList, int32_t& ouCount);

}  // namespace tkvClipBoardControl
