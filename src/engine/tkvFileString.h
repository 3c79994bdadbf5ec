#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Path helpers shared by the engine, the assistant, the settings and the windows. Paths
// ("addresses") are texts in the platform's form with its native separator. Stateless.
//
// The text helpers are portable; what asks or changes the file system lives in the platform's
// implementation file, which a Windows build replaces.
namespace tkvFileString {

// The platform's folder separator ("\\" on Windows, where "/" also separates).
extern const char kSeparator;

// What a path names.
enum PathKind : int32_t { kMissing = 0, kFile = 1, kFolder = 2 };

bool IsSeparator(char agChar);

// 2 for an existing folder, 1 for an existing regular file (links followed), 0 otherwise:
// missing, unreadable, or a device, pipe or socket, which the engine must never open as if it
// were a piece or a source.
int32_t GetPathKind(const std::string& agPath);

// The part after the last separator; the whole path without one; empty when it ends in one.
std::string GetFileNamePart(std::string_view agPath);

// folder + name when the folder ends in a separator, otherwise folder + separator + name.
std::string JoinFolderAndName(std::string_view agFolder, std::string_view agName);

// The folder part of a path with its separator ("/out/", "/"), or empty for a bare name.
std::string FolderOf(std::string_view agPath);

// Everything before the last "."; the name unchanged without one.
std::string RemoveExtension(std::string_view agName);

// Goes up agLevels separators from the end. Levels below 1 give the path itself. False, with
// ouPath untouched, when the path has fewer separators.
bool GetParentFolder(std::string_view agPath, int32_t agLevels, std::string& ouPath);

// True for a name that stays inside the folder it is joined to and that every platform can
// create: not empty, not "." or "..", without "/", "\\", and without a control character
// (below U+0020, or U+007F), which also keeps a crafted name from driving a terminal.
bool IsPlainFileName(std::string_view agName);

// Makes the file writable for its owner, then deletes it. False when either step fails.
bool DeleteFileForce(const std::string& agPath);

// Deletes the file as it is (a protected file stays). False on failure.
bool DeleteFile(const std::string& agPath);

// The length in bytes of an existing file; false when it cannot be asked.
bool GetFileLength(const std::string& agPath, int64_t& ouLength);

// True when both paths exist and name the same file, also through links.
bool IsSameFile(const std::string& agPathA, const std::string& agPathB);

// Which file an open file or a path is: equal identities are the same file, whatever the
// paths that lead to it.
struct FileIdentity {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// What the system knows of a file's content: its length and when its data and its entry last
// changed. Equal stamps taken before and after a read mean nobody wrote to it meanwhile.
struct FileStamp {
    int64_t Length = 0;
    int64_t Modified = 0;  // nanoseconds
    int64_t Changed = 0;   // nanoseconds
    bool operator==(const FileStamp&) const = default;
};

// What stands at a path that a run is about to write.
enum class TargetState {
    kAbsent,       // nothing, not even a link
    kReplaceable,  // a regular file, a link to one, or a broken link
    kNotAFile,     // a folder, pipe, socket, device or link to a folder: never replaced
};
// ouWhat names the entry when it is kNotAFile.
TargetState InspectTarget(const std::string& agPath, std::string& ouWhat);
// Whether anything is at the path, a broken link included.
bool Exists(const std::string& agPath);

// The names in a folder, without "." and ".."; empty when it cannot be read.
std::vector<std::string> FolderEntries(const std::string& agFolder);

// Renames agFrom to agTo. With agReplace an entry at agTo is replaced in one step; without it
// the rename fails when anything is at agTo. False with the system's text on failure.
bool RenameFile(const std::string& agFrom, const std::string& agTo, bool agReplace,
                std::string& ouSystemText);

// Gives the entry at agFrom a second name agTo (a hard link); fails when anything is at agTo or
// the file system has no such links. False with the system's text on failure.
bool LinkFile(const std::string& agFrom, const std::string& agTo, std::string& ouSystemText);

// Makes the folder's entries (new names, renames) durable. False with the system's text when
// the system reports that they may not be.
bool SyncFolder(const std::string& agFolder, std::string& ouSystemText);

// This process's identifier, and the name of the machine it runs on.
int64_t CurrentProcessID();
std::string MachineName();

// The width of a text in the caller's units (a window passes its font's measure).
using TextMeasure = std::function<int32_t(const std::string&)>;

// Shortens a path for a label of agWidth by putting "..." in place of its leading folders.
// When even the shortest form does not fit, the shortest form is returned.
std::string CompactPathToWidth(const TextMeasure& agMeasure, const std::string& agPath,
                               int32_t agWidth);

// The path that agPath leads to once the symbolic links at its end are followed: through a
// chain of links, a relative target taken from the folder of the link that holds it. agPath
// itself where no link is; a broken link gives the missing path it names. False, with the
// system's text, on a loop of links or a link that cannot be read.
bool FollowLinks(const std::string& agPath, std::string& ouPath, std::string& ouSystemText);

// The permissions of an existing file (links followed) as the platform keeps them, to be given
// to another file with SetPermissions. False when the file cannot be asked.
bool GetPermissions(const std::string& agPath, uint32_t& ouPermissions);
// False with the system's text on failure.
bool SetPermissions(const std::string& agPath, uint32_t agPermissions, std::string& ouSystemText);

// True when this process may write the existing file at agPath. False, with the system's text,
// when it may not, also when its permissions let nobody write it: a user who protected a file
// means it, whichever user runs the program.
bool MayWriteFile(const std::string& agPath, std::string& ouSystemText);

}  // namespace tkvFileString
