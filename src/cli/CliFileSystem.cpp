#include "CliFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "tkvFileString.h"

namespace {

// Creates a new hidden file beside agPath, readable as the umask allows; -1 on failure.
int CreateHiddenBeside(const std::string& agPath, std::string& ouHidden) {
    std::random_device random;
    const std::string folder = CliFileSystem::FolderOf(agPath);
    const std::string name = tkvFileString::GetFileNamePart(agPath);
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
        ouHidden = tkvFileString::JoinFolderAndName(folder, "." + name + suffix);
        const int descriptor =
            ::open(ouHidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor != -1 || errno != EEXIST) {
            return descriptor;
        }
    }
    return -1;
}

bool WriteAll(int agDescriptor, const std::string& agBytes) {
    size_t done = 0;
    while (done < agBytes.size()) {
        const ssize_t written = ::write(agDescriptor, agBytes.data() + done, agBytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

// Renames without replacing an entry that exists at agTo.
bool RenameNew(const std::string& agFrom, const std::string& agTo) {
    if (::renameat2(AT_FDCWD, agFrom.c_str(), AT_FDCWD, agTo.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without that rename: a hard link fails just as well on an existing name.
    if (::link(agFrom.c_str(), agTo.c_str()) != 0) {
        return false;
    }
    ::unlink(agFrom.c_str());
    return true;
}

}  // namespace

CliFileSystem::Entry CliFileSystem::EntryAt(const std::string& agPath) {
    struct stat entry {};
    if (agPath.empty() || ::lstat(agPath.c_str(), &entry) != 0) {
        return Entry::kNone;
    }
    if (S_ISLNK(entry.st_mode)) {
        struct stat target {};
        if (::stat(agPath.c_str(), &target) != 0) {
            return Entry::kReplaceable;
        }
        entry = target;
    }
    return S_ISREG(entry.st_mode) ? Entry::kReplaceable : Entry::kOther;
}

std::string CliFileSystem::FolderOf(const std::string& agPath) {
    std::string folder;
    if (!tkvFileString::GetParentFolder(agPath, 1, folder)) {
        return ".";
    }
    return folder.empty() ? std::string(1, tkvFileString::kSeparator) : folder;
}

bool CliFileSystem::IsSameTarget(const std::string& agPathA, const std::string& agPathB) {
    struct stat a {};
    struct stat b {};
    const bool aExists = ::stat(agPathA.c_str(), &a) == 0;
    const bool bExists = ::stat(agPathB.c_str(), &b) == 0;
    if (aExists && bExists) {
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    }
    return tkvFileString::GetFileNamePart(agPathA) == tkvFileString::GetFileNamePart(agPathB) &&
           tkvFileString::IsSameFile(FolderOf(agPathA), FolderOf(agPathB));
}

bool CliFileSystem::IsWritableFolder(const std::string& agPath) {
    return tkvFileString::GetPathKind(agPath) == tkvFileString::kFolder &&
           ::access(agPath.c_str(), W_OK | X_OK) == 0;
}

std::vector<std::string> CliFileSystem::NamesIn(const std::string& agFolder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entries(agFolder, error), end;
         !error && entries != end; entries.increment(error)) {
        names.push_back(entries->path().filename().string());
    }
    return names;
}

bool CliFileSystem::WriteByRename(const std::string& agPath, const std::string& agBytes,
                                  bool agReplace, std::string& ouWhy) {
    std::string hidden;
    const int descriptor = CreateHiddenBeside(agPath, hidden);
    if (descriptor == -1) {
        ouWhy = std::strerror(errno);
        return false;
    }
    bool written = WriteAll(descriptor, agBytes) && ::fsync(descriptor) == 0;
    int error = errno;
    if (::close(descriptor) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written) {
        written =
            agReplace ? ::rename(hidden.c_str(), agPath.c_str()) == 0 : RenameNew(hidden, agPath);
        error = errno;
    }
    if (!written) {
        ::unlink(hidden.c_str());
        ouWhy = std::strerror(error);
    }
    return written;
}
