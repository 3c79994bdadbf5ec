#pragma once

#include <string>

// The few file-system questions of the command-line tool that the engine's path helpers do
// not answer. POSIX here; a Windows build replaces this unit.
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
