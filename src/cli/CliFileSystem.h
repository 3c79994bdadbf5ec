#pragma once

#include <string>
#include <vector>

// The few file-system questions and the one write of the command-line tool that the engine's
// path helpers do not cover. POSIX here; a Windows build replaces this unit.
class CliFileSystem {
public:
    // What stands at a path, links not followed.
    enum class Entry {
        kNone,         // nothing
        kReplaceable,  // a regular file, a link to one, or a broken link
        kOther,        // a folder, a link to one, a pipe, a socket or a device
    };
    static Entry EntryAt(const std::string& agPath);

    // The folder agPath is in: "." for a bare name, "/" for an entry of the root.
    static std::string FolderOf(const std::string& agPath);

    // Whether the two paths are one file: the same device and inode when both exist (links
    // followed), otherwise the same name in the same folder (device and inode of the folder).
    static bool IsSameTarget(const std::string& agPathA, const std::string& agPathB);

    // Whether files can be created in the folder agPath.
    static bool IsWritableFolder(const std::string& agPath);

    // The names in a folder, unsorted; empty for a folder that cannot be read.
    static std::vector<std::string> NamesIn(const std::string& agFolder);

    // Writes agBytes to a new hidden file in agPath's folder and renames it to agPath, so
    // agPath holds either its old content or all of the new one. An existing agPath is
    // replaced only with agReplace (one created meanwhile is not). False with ouWhy (the
    // system's text) on failure, the hidden file removed.
    static bool WriteByRename(const std::string& agPath, const std::string& agBytes, bool agReplace,
                              std::string& ouWhy);
};
