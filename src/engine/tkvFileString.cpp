#include "tkvFileString.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tkvFileString {

namespace {

size_t FindLastSeparator(std::string_view agPath) {
    for (size_t i = agPath.size(); i > 0; --i) {
        if (IsSeparator(agPath[i - 1])) {
            return i - 1;
        }
    }
    return std::string_view::npos;
}

}  // namespace

bool IsSeparator(char agChar) {
#ifdef _WIN32
    return agChar == '\\' || agChar == '/';
#else
    return agChar == kSeparator;
#endif
}

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

std::string GetFileNamePart(std::string_view agPath) {
    const size_t last = FindLastSeparator(agPath);
    if (last == std::string_view::npos) {
        return std::string(agPath);
    }
    return std::string(agPath.substr(last + 1));
}

std::string JoinFolderAndName(std::string_view agFolder, std::string_view agName) {
    std::string joined(agFolder);
    if (agFolder.empty() || !IsSeparator(agFolder.back())) {
        joined += kSeparator;
    }
    joined += agName;
    return joined;
}

std::string RemoveExtension(std::string_view agName) {
    const size_t dot = agName.rfind('.');
    if (dot == std::string_view::npos) {
        return std::string(agName);
    }
    return std::string(agName.substr(0, dot));
}

bool GetParentFolder(std::string_view agPath, int32_t agLevels, std::string& ouPath) {
    if (agLevels < 1) {
        ouPath = std::string(agPath);
        return true;
    }
    size_t end = agPath.size();
    size_t found = std::string_view::npos;
    for (int32_t level = 0; level < agLevels; ++level) {
        found = FindLastSeparator(agPath.substr(0, end));
        if (found == std::string_view::npos) {
            return false;
        }
        end = found;
    }
    ouPath = std::string(agPath.substr(0, found));
    return true;
}

bool IsPlainFileName(std::string_view agName) {
    if (agName.empty() || agName == "." || agName == "..") {
        return false;
    }
    for (const char c : agName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\') {
            return false;
        }
    }
    return true;
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
    ouSystemText = std::strerror(errno);
    return false;
}

void SyncFolder(const std::string& agFolder) {
    const int fd =
        ::open(agFolder.empty() ? "." : agFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd != -1) {
        ::fsync(fd);
        ::close(fd);
    }
}

int64_t CurrentProcessID() { return static_cast<int64_t>(::getpid()); }

bool ProcessIsRunning(int64_t agProcessID) {
    if (agProcessID <= 0 || agProcessID != static_cast<pid_t>(agProcessID)) {
        return false;
    }
    // EPERM: it runs, under another user.
    return ::kill(static_cast<pid_t>(agProcessID), 0) == 0 || errno == EPERM;
}

std::string CompactPathToWidth(const TextMeasure& agMeasure, const std::string& agPath,
                               int32_t agWidth) {
    if (agMeasure(agPath) <= agWidth) {
        return agPath;
    }
    size_t first = std::string::npos;
    for (size_t i = 0; i < agPath.size(); ++i) {
        if (IsSeparator(agPath[i])) {
            first = i;
            break;
        }
    }
    if (first == std::string::npos) {
        return agPath;
    }
    const std::string head = agPath.substr(0, first + 1);
    std::string candidate = agPath;
    for (size_t i = first + 1; i < agPath.size(); ++i) {
        if (!IsSeparator(agPath[i])) {
            continue;
        }
        candidate = head + "..." + kSeparator + agPath.substr(i + 1);
        if (agMeasure(candidate) <= agWidth) {
            return candidate;
        }
    }
    return candidate;
}

}  // namespace tkvFileString
