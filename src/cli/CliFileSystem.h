#pragma once

#include <string>

// The file-system questions of the command-line tool about the paths it is given, answered with
// the engine's platform units.
class CliFileSystem {
public:
    // The folder agPath is in: "." for a bare name, "/" for an entry of the root.
    static std::string FolderOf(const std::string& agPath);

    // Whether the two paths are one file: the same device and inode when both exist (links
    // followed), otherwise the same name in the same folder (device and inode of the folder).
    static bool IsSameTarget(const std::string& agPathA, const std::string& agPathB);

    // Whether files can be created in the folder agPath.
    static bool IsWritableFolder(const std::string& agPath);
};
