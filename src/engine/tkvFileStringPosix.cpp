#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tkvFileError.h"
#include "tkvFileString.h"

// The file system's side of the path helpers: what a path names, and the operations on names.
namespace tkvFileString {

const char kSeparator = '/';

bool IsSeparator(char agChar) { return agChar == kSeparator; }

int32_t GetPathKind(const std::string& agPath) {
    struct stat info {};
    if (agPath.empty() || ::stat(agPath.c_str(), &info) != 0) {
        return kMissing;
    }
    if (S_ISDIR(info.st_mode)) {
        return kFolder;
    }
    return S_ISREG(info.st_mode) ? kFile : kMissing;
}

bool DeleteFileForce(const std::string& agPath) {
    struct stat info {};
    if (::lstat(agPath.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        ::chmod(agPath.c_str(), info.st_mode | S_IWUSR);
    }
    return ::unlink(agPath.c_str()) == 0;
}

bool DeleteFile(const std::string& agPath) { return ::unlink(agPath.c_str()) == 0; }

bool GetFileLength(const std::string& agPath, int64_t& ouLength) {
    struct stat info {};
    if (::stat(agPath.c_str(), &info) != 0) {
        return false;
    }
    ouLength = static_cast<int64_t>(info.st_size);
    return true;
}

bool IsSameFile(const std::string& agPathA, const std::string& agPathB) {
    struct stat a {};
    struct stat b {};
    if (::stat(agPathA.c_str(), &a) != 0 || ::stat(agPathB.c_str(), &b) != 0) {
        return false;
    }
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

TargetState InspectTarget(const std::string& agPath, std::string& ouWhat) {
    struct stat entry {};
    if (::lstat(agPath.c_str(), &entry) != 0) {
        return TargetState::kAbsent;
    }
    struct stat target {};
    if (S_ISLNK(entry.st_mode)) {
        if (::stat(agPath.c_str(), &target) != 0) {
            return TargetState::kReplaceable;  // a broken link
        }
        if (S_ISREG(target.st_mode)) {
            return TargetState::kReplaceable;
        }
        ouWhat = S_ISDIR(target.st_mode) ? "ﾌｫﾙﾀﾞへのﾘﾝｸ" : "ﾌｧｲﾙ以外へのﾘﾝｸ";
        return TargetState::kNotAFile;
    }
    if (S_ISREG(entry.st_mode)) {
        return TargetState::kReplaceable;
    }
    if (S_ISDIR(entry.st_mode)) {
        ouWhat = "ﾌｫﾙﾀﾞ";
    } else if (S_ISFIFO(entry.st_mode)) {
        ouWhat = "名前付きﾊﾟｲﾌﾟ";
    } else if (S_ISSOCK(entry.st_mode)) {
        ouWhat = "ｿｹｯﾄ";
    } else {
        ouWhat = "ﾃﾞﾊﾞｲｽ";
    }
    return TargetState::kNotAFile;
}

bool Exists(const std::string& agPath) {
    struct stat entry {};
    return ::lstat(agPath.c_str(), &entry) == 0;
}

std::vector<std::string> FolderEntries(const std::string& agFolder) {
    std::vector<std::string> names;
    DIR* folder = ::opendir(agFolder.empty() ? "." : agFolder.c_str());
    if (folder == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(folder);
    return names;
}

bool RenameFile(const std::string& agFrom, const std::string& agTo, bool agReplace,
                std::string& ouSystemText) {
    if (agReplace) {
        if (::rename(agFrom.c_str(), agTo.c_str()) == 0) {
            return true;
        }
    } else {
        if (::renameat2(AT_FDCWD, agFrom.c_str(), AT_FDCWD, agTo.c_str(), RENAME_NOREPLACE) == 0) {
            return true;
        }
        // File systems without the flag: a hard link also refuses an existing name.
        if ((errno == EINVAL || errno == ENOSYS) && ::link(agFrom.c_str(), agTo.c_str()) == 0) {
            ::unlink(agFrom.c_str());
            return true;
        }
    }
    ouSystemText = tkvFileError::SystemTextOf(errno);
    return false;
}

bool LinkFile(const std::string& agFrom, const std::string& agTo, std::string& ouSystemText) {
    if (::link(agFrom.c_str(), agTo.c_str()) == 0) {
        return true;
    }
    ouSystemText = tkvFileError::SystemTextOf(errno);
    return false;
}

bool SyncFolder(const std::string& agFolder, std::string& ouSystemText) {
    const int fd =
        ::open(agFolder.empty() ? "." : agFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd == -1) {
        ouSystemText = tkvFileError::SystemTextOf(errno);
        return false;
    }
    // Some file systems cannot sync a folder at all (EINVAL): their entries are as durable as
    // they get, which is no failure of the run.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    if (!synced) {
        ouSystemText = tkvFileError::SystemTextOf(errno);
    }
    ::close(fd);
    return synced;
}

int64_t CurrentProcessID() { return static_cast<int64_t>(::getpid()); }

std::string MachineName() {
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
}

bool FollowLinks(const std::string& agPath, std::string& ouPath, std::string& ouSystemText) {
    // As many links as the system itself follows in one path before it gives up.
    constexpr int kMostLinks = 40;
    std::string path = agPath;
    for (int followed = 0; followed <= kMostLinks; ++followed) {
        struct stat entry {};
        if (::lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) {
            ouPath = path;  // no link: a file, a folder, or the missing end of a broken link
            return true;
        }
        std::vector<char> target(static_cast<size_t>(entry.st_size) + 64);
        ssize_t length = 0;
        while ((length = ::readlink(path.c_str(), target.data(), target.size())) ==
               static_cast<ssize_t>(target.size())) {
            target.resize(target.size() * 2);  // the link grew since lstat
        }
        if (length < 0) {
            ouSystemText = tkvFileError::SystemTextOf(errno);
            return false;
        }
        const std::string named(target.data(), static_cast<size_t>(length));
        // A relative target counts from the link's folder, as the system reads it.
        path = !named.empty() && IsSeparator(named.front()) ? named : FolderOf(path) + named;
    }
    ouSystemText = tkvFileError::SystemTextOf(ELOOP);
    return false;
}

bool GetPermissions(const std::string& agPath, uint32_t& ouPermissions) {
    struct stat info {};
    if (::stat(agPath.c_str(), &info) != 0) {
        return false;
    }
    ouPermissions = static_cast<uint32_t>(info.st_mode & 07777);
    return true;
}

bool SetPermissions(const std::string& agPath, uint32_t agPermissions, std::string& ouSystemText) {
    if (::chmod(agPath.c_str(), static_cast<mode_t>(agPermissions)) == 0) {
        return true;
    }
    ouSystemText = tkvFileError::SystemTextOf(errno);
    return false;
}

bool MayWriteFile(const std::string& agPath, std::string& ouSystemText) {
    if (::faccessat(AT_FDCWD, agPath.c_str(), W_OK, AT_EACCESS) != 0) {
        ouSystemText = tkvFileError::SystemTextOf(errno);
        return false;
    }
    // The superuser passes the check above whatever the permissions.
    struct stat info {};
    if (::stat(agPath.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        ouSystemText = tkvFileError::SystemTextOf(EACCES);
        return false;
    }
    return true;
}

}  // namespace tkvFileString
