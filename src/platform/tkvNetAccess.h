#pragma once

#include <functional>
#include <string>

// Opens a document or a web address with the desktop's default handler (a local path becomes a
// file: address). Failures are silent, as the callers ignore them.
namespace tkvNetAccess {

bool OpenWithShell(const std::string& agAddress);

// Tests: every OpenWithShell goes to agHook instead of the desktop; an empty hook restores it.
void SetOpenHook(std::function<bool(const std::string&)> agHook);

}  // namespace tkvNetAccess
