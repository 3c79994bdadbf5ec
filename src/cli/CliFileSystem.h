#pragma once

#include <string>

// The file-system questions of the command-line tool about the paths it is given, answered with
// the engine's platform units.
class CliFileSystem {
public:
    // The folder agPath is in, as a path that can be opened: "." for a bare name.
    static std::string FolderOf(const std::string& agPath);

    // Whether the two paths are one file: the same device and inode when both exist (links
    // followed), otherwise the same name in the same folder (device and inode of the folder).
    static bool IsSameTarget(const std::string& agPathA, const std::string& agPathB);
};
