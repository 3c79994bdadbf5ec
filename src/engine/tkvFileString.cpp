#include "tkvFileString.h"

#include <sys/stat.h>
#include <unistd.h>

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
    return agName.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
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
