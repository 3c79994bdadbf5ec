#pragma once

#include <string>

// Where the running program lives and where the user's configuration goes, as the platform
// tells. A Windows build replaces its implementation file only.
namespace tkvProgramFolder {

// The folder of the running program's file; the current folder when it cannot be told.
std::string ProgramFolder();

// The user's folder for this program's configuration: $XDG_CONFIG_HOME/agProgramName, by
// default ~/.config/agProgramName. Not created here.
std::string UserConfigFolder(const std::string& agProgramName);

// True for an existing folder this process may create files in.
bool IsWritableFolder(const std::string& agFolder);

}  // namespace tkvProgramFolder
